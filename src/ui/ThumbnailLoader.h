#pragma once

#include "ui/ThumbnailCache.h"

#include <QObject>
#include <QThreadPool>

/// Makes thumbnails on worker threads for a window: each request is answered by `ready` on the loader's own
/// thread, the latest request first (what the keeper scrolled to last is what he looks at).
class ThumbnailLoader : public QObject {
    Q_OBJECT

public:
    explicit ThumbnailLoader(ThumbnailCache cache, QObject* parent = nullptr);
    /// Drops the requests not yet started and waits for those at work.
    ~ThumbnailLoader() override;

    /// Asks for the thumbnail of entry `ref` of `category` (a descriptor of `Category::all()`), from `record`.
    void request(const Category& category, const QString& ref, const std::optional<ArchiveRecord>& record, int size);
    /// Forgets the requests not yet started: nothing will answer them.
    void dropPending();
    /// Waits until every request started is answered (for tests and the benchmark).
    bool waitForDone(int milliseconds);

signals:
    void ready(const Category& category, const QString& ref, int size, const Thumbnail& thumbnail);

private:
    ThumbnailCache m_cache;
    QThreadPool m_pool;
    int m_order = 0;
};
