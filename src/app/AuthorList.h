#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QList>
#include <QStringList>

/// The author list of an edit panel: the distinct authors of a category (trimmed, compared exactly), most entries
/// first, equal counts in descending name order without regard to case. Only the first 29 authors met are
/// counted; entries by further authors are ignored.
namespace AuthorList {
inline constexpr int MaxAuthors = 29;
QStringList build(const QList<PuzzleEntry>& entries);
} // namespace AuthorList
