#pragma once

#include <QString>

/// Names made from the keeper's texts for files and for comparisons.
namespace Slug {
/// `text` without accents, case folded: "Dravé" and "DRAVE" give "drave".
QString folded(const QString& text);
/// A file-name part of plain a–z, 0–9 and single hyphens, at most 40 characters, never empty: "Léa B." → "lea-b".
QString of(const QString& text);
/// The first `length` hexadecimal digits of the SHA-1 of `text` (UTF-8), lower case.
QString hash(const QString& text, int length = 10);
} // namespace Slug
