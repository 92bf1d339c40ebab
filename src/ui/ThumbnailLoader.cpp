#include "ui/ThumbnailLoader.h"

#include "catalogue/Category.h"

#include <QThread>

#include <limits>

ThumbnailLoader::ThumbnailLoader(ThumbnailCache cache, QObject* parent)
    : QObject(parent)
    , m_cache(std::move(cache))
{
    // The window's thread keeps a core of its own where there are two or more, and wins over the workers when
    // they compete: decoding may take a little longer, the window never waits.
    m_pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount() - 1));
    m_pool.setThreadPriority(QThread::LowPriority);
}

ThumbnailLoader::~ThumbnailLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

quint64 ThumbnailLoader::request(const Category& category, const QString& ref,
                                 const std::optional<ArchiveRecord>& record, int size)
{
    const Category* series = &category;
    const quint64 ticket = ++m_tickets;
    // A higher priority runs first: the newest request is served before older ones still waiting.
    m_pool.start(
        [this, series, ref, record, size, ticket] {
            const Thumbnail thumbnail = m_cache.thumbnail(*series, record, size);
            // The loader outlives every started job (its destructor waits), so `this` is valid here; the queued
            // call is dropped if the loader is gone by the time it is delivered.
            QMetaObject::invokeMethod(
                this,
                [this, series, ref, size, thumbnail, ticket] { emit ready(*series, ref, size, thumbnail, ticket); },
                Qt::QueuedConnection);
        },
        // Priorities are ints; after two billion requests the order only stops being newest-first.
        int(qMin<quint64>(ticket, std::numeric_limits<int>::max())));
    return ticket;
}

void ThumbnailLoader::dropPending()
{
    m_pool.clear();
}

bool ThumbnailLoader::waitForDone(int milliseconds)
{
    return m_pool.waitForDone(milliseconds);
}
