#include "ui/ThumbnailLoader.h"

#include "catalogue/Category.h"

#include <QThread>

ThumbnailLoader::ThumbnailLoader(ThumbnailCache cache, QObject* parent)
    : QObject(parent)
    , m_cache(std::move(cache))
{
    // The window's thread must stay free even on one core; decoding is the work that the other cores take.
    m_pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailLoader::request(const Category& category, const QString& ref, const std::optional<ArchiveRecord>& record,
                              int size)
{
    const Category* series = &category;
    // A higher priority runs first: the newest request is served before older ones still waiting.
    m_pool.start(
        [this, series, ref, record, size] {
            const Thumbnail thumbnail = m_cache.thumbnail(*series, record, size);
            // The loader outlives every started job (its destructor waits), so `this` is valid here; the queued
            // call is dropped if the loader is gone by the time it is delivered.
            QMetaObject::invokeMethod(
                this, [this, series, ref, size, thumbnail] { emit ready(*series, ref, size, thumbnail); },
                Qt::QueuedConnection);
        },
        ++m_order);
}

void ThumbnailLoader::dropPending()
{
    m_pool.clear();
}

bool ThumbnailLoader::waitForDone(int milliseconds)
{
    return m_pool.waitForDone(milliseconds);
}
