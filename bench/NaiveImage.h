#pragma once

#include "catalogue/CatalogueFolder.h"

#include <QUrl>

/// The image display as first designed: download, start the converter without waiting, sleep 3000 ms, load the
/// resized picture. Returns the time of one display in milliseconds, or −1 when no picture came out.
double naiveImageDisplay(const CatalogueFolder& folder, const QUrl& url);
