#pragma once

#include "links/LinkRun.h"

class Catalogue;
class CatalogueFolder;
class ImageArchive;
class Messenger;

/// The link check and the image archive put together from the catalogue, the archive and the image window's
/// signature check, for the menu "Catalogue" and for the commands --check-links and --archive-images.
namespace LinkJobs {

/// The bounds of a run, with the image window's signature check.
LinkRun::Settings settings();
/// Every web address of the four series. Throws `CatalogueError`.
LinkJob check(const Catalogue& catalogue);
/// Every web image address without a fresh copy in `archive`. Throws `CatalogueError`.
LinkJob archive(const Catalogue& catalogue, const ImageArchive& archive);
/// Keeps each downloaded image in `archive`.
LinkRun::Keeper keeper(ImageArchive& archive);

/// `mezor --check-links`: lists the web addresses that are not ok, then the counts; 0 when every one is ok.
int checkLinksCommand(const CatalogueFolder& folder, Messenger& messenger);
/// `mezor --archive-images`: fetches the images without a fresh copy; 0 when every one has one now.
int archiveImagesCommand(const CatalogueFolder& folder, Messenger& messenger);

} // namespace LinkJobs
