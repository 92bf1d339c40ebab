#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QString>

/// What one display of the image window shows.
struct ImageRequest {
    QString ref;       ///< the entry's number, under the picture
    QString answer;    ///< the entry's answer, under the picture
    QString address;   ///< the image address, checked, downloaded and shown in `txt_lien`
    QString shownLink; ///< the forum address shown in `txt_lien_sor`; empty for categories that do not show it
    QString referer;   ///< the forum address sent with the download, when it is a web address

    /// The display of a stored entry of `category`.
    static ImageRequest of(const Category& category, const PuzzleEntry& entry);
};
