#pragma once

#include "catalogue/ArchiveRecord.h"
#include "catalogue/CatalogueFolder.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

struct Category;

/// One thumbnail as the cache gives it back.
struct Thumbnail {
    enum class State {
        Made,    ///< made now from the kept copy (and written to the cache unless `problem` says otherwise)
        Cached,  ///< read from the cache: the kept copy has not changed since
        NotKept, ///< no kept copy (no record, no file, or a stored name that is refused)
        Broken,  ///< the kept copy cannot be read as a picture
        TooLarge ///< the kept copy's header announces more pixels than a thumbnail is made from
    };
    State state = State::NotKept;
    QImage image; ///< fits in the size asked, never larger than the picture (Made, Cached); null otherwise
    QString path; ///< the cache file that holds it (Made, Cached); empty when it could not be written
    /// Why there is no picture (Broken, TooLarge, a refused name) or why the cache file could not be written
    /// (Made): a French line for the keeper.
    QString problem;

    bool hasImage() const { return state == State::Made || state == State::Cached; }
};

/// Thumbnails of the kept pictures of the image archive, cached on disk beside it:
/// `<folder>/vignettes/<series table>/<kept file name>.png`, one file per kept copy at the largest size asked so
/// far. Each file carries, in its PNG text, the kept copy's byte size, modification time and recorded date, and
/// the size it was made for; it is made again when one of the three changed or a larger size is asked.
///
/// Every call reads and writes files only, without any state of its own: it may run on any thread, several at
/// once (two threads making the same thumbnail each write a whole file and the last rename wins). Nothing here
/// may run on the window's thread for a whole series: decoding takes milliseconds per picture.
class ThumbnailCache {
public:
    /// Pictures of more pixels than this (8000 × 8000) are refused from their header, before any decoding.
    static constexpr qint64 largestArea = qint64(8000) * 8000;

    explicit ThumbnailCache(CatalogueFolder folder);

    /// The thumbnail of `record`'s kept copy in series `category`, fitting in `size` × `size` pixels. Never throws;
    /// a cache file that cannot be written still gives the picture, with the reason in `problem`.
    Thumbnail thumbnail(const Category& category, const std::optional<ArchiveRecord>& record, int size) const;

    /// The cache file for the kept copy named `storedName`, or nothing when that name is refused.
    std::optional<QString> cacheFile(const Category& category, const QString& storedName) const;
    /// Whether a picture of `pixels` may be decoded for a thumbnail.
    static bool acceptsSize(QSize pixels);

private:
    Thumbnail make(const QString& source, const QString& stamp, const QString& target, int size) const;

    CatalogueFolder m_folder;
};
