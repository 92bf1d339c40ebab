#pragma once

#include <QString>

/// One row of a category table. Every field is text, stored exactly as the keeper typed it.
struct PuzzleEntry {
    QString ref;    ///< three zero-padded digits: "001", "042"
    QString answer; ///< `nom`, or `lieu` in the Plomé table
    QString author; ///< the forum pseudonym of the poster
    QString url;    ///< image address, or "Non disponible"
    QString link;   ///< forum post address, or "Non disponible"

    friend bool operator==(const PuzzleEntry&, const PuzzleEntry&) = default;
};
