#pragma once

#include "publish/SiteBuilder.h"

#include <functional>

/// Writes the HTML catalogue into a folder. Each file is written whole under a temporary name and renamed into
/// place, and only when its content changed; a thumbnail is made again only when its source changed. The folder
/// carries a register of what Mézor wrote there (`markerName()`): a folder that is not empty and has none is
/// refused, and files that Mézor did not write are never touched.
namespace SitePublisher {

/// A thumbnail to put in the folder.
struct Thumbnail {
    QString file; ///< its path in the folder, as SiteBuilder::thumbnailFile gives it
    /// What it is made from; the same stamp as last time means the same picture, none that there is no picture.
    /// Called on the publication's thread.
    std::function<QString()> stamp;
    /// Its JPEG bytes, or nothing when the picture cannot be read. Called on worker threads, several at once.
    std::function<QByteArray()> make;
};

struct Control {
    std::function<bool()> cancelled;
    std::function<void(int done, int total)> progress;
};

enum class Outcome { Done, Cancelled, Failed, Refused };

struct Report {
    Outcome outcome = Outcome::Done;
    QString message; ///< what happened, for the keeper (French)
    int written = 0; ///< files written, pages and thumbnails
    int pagesWritten = 0;
    int unchanged = 0;    ///< pages whose content was already there
    int made = 0;         ///< thumbnails made
    int kept = 0;         ///< thumbnails already there from the same source
    int withoutImage = 0; ///< planned thumbnails whose picture could not be read
};

/// The register's file name in the publication folder.
QString markerName();

/// Publishes `series` into `folder` with `thumbnails` (the entries' `thumbnail` paths name them). Runs on the
/// calling thread, the thumbnails on a pool of its own.
Report publish(const QString& folder, SiteBuilder::Series series, const QList<Thumbnail>& thumbnails,
               const Control& control = {});

} // namespace SitePublisher
