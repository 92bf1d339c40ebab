#pragma once

#include "publish/SitePublisher.h"

class Catalogue;
class CatalogueFolder;

/// What one publication of the HTML catalogue takes from the catalogue and its image archive: the four series,
/// and a thumbnail for each entry whose kept picture is that of its current image address. Read on the
/// catalogue's thread; the thumbnails are made later, on worker threads, through the thumbnail cache.
struct PublicationPlan {
    SiteBuilder::Series series;
    QList<SitePublisher::Thumbnail> thumbnails;

    /// Side of the square that a thumbnail fits in, in pixels.
    static constexpr int thumbnailSize = 160;

    /// Throws `CatalogueError`. Without `withThumbnails`, every entry shows the placeholder.
    static PublicationPlan of(const Catalogue& catalogue, const CatalogueFolder& folder, bool withThumbnails = true);
};
