#pragma once

#include <QString>

// French texts of the gallery.
// One text per line reads best here.
// clang-format off
namespace GalleryTexts {
inline QString action() { return QStringLiteral("Galerie…"); }
inline QString title() { return QStringLiteral("Galerie — %1"); }
inline QString filterLabel() { return QStringLiteral("Filtrer :"); }
inline QString filterHint() { return QStringLiteral("réponse ou auteur"); }
inline QString sizeLabel() { return QStringLiteral("Taille :"); }
inline QString archive() { return QStringLiteral("Archiver les images…"); }
inline QString notKeptCount() { return QStringLiteral("%1 entrée(s) sans image gardée."); }
inline QString unreadable()
{
    return QStringLiteral("%1 image(s) gardée(s) inutilisable(s) (illisible, trop grande ou nom refusé) : %2.");
}
inline QString readFailed() { return QStringLiteral("La galerie ne peut pas lire le catalogue."); }

// What a thumbnail's place shows when there is no picture.
inline QString notKept() { return QStringLiteral("Pas d'image gardée"); }
inline QString broken() { return QStringLiteral("Image illisible"); }
inline QString tooLarge() { return QStringLiteral("Image trop grande"); }
inline QString tip() { return QStringLiteral("%1 — %2\n%3"); }
} // namespace GalleryTexts
// clang-format on
