#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QList>
#include <QStringList>

/// An author and the number of entries posted in one category: a row of a statistics grid.
struct AuthorCount {
    QString name;
    int count = 0;

    friend bool operator==(const AuthorCount&, const AuthorCount&) = default;
};

/// The author list of an edit panel: the distinct authors of a category (trimmed, compared exactly), most entries
/// first, equal counts in descending name order without regard to case. Only the first 29 authors met are
/// counted; entries by further authors are ignored.
namespace AuthorList {
inline constexpr int MaxAuthors = 29;
QStringList build(const QList<PuzzleEntry>& entries);
} // namespace AuthorList
