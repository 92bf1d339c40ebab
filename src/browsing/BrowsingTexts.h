#pragma once

#include <QString>

// French texts of the category grids' clicks.
// clang-format off: one text a line.
namespace BrowsingTexts {
inline QString notWebAddress()
{
    return QStringLiteral("Seules les adresses http:// et https:// sont ouvertes : « %1 » ne l'a pas été.");
}
inline QString desktopFailed()
{
    return QStringLiteral("Le bureau n'a pas pu ouvrir « %1 ».");
}
} // namespace BrowsingTexts
// clang-format on
