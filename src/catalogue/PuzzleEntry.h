#pragma once

#include <QString>

#include <algorithm>

/// One row of a category table. Every field is text, stored exactly as the keeper typed it.
struct PuzzleEntry {
    QString ref;    ///< three zero-padded digits: "001", "042"
    QString answer; ///< `nom`, or `lieu` in the Plomé table
    QString author; ///< the forum pseudonym of the poster
    QString url;    ///< image address, or "Non disponible"
    QString link;   ///< forum post address, or "Non disponible"

    friend bool operator==(const PuzzleEntry&, const PuzzleEntry&) = default;
};

/// Rules on the texts of an entry, the same for the keeper's panel and for an imported file.
namespace EntryText {

/// Made of the digits 0–9 and nothing else (no sign, space or point; QChar::isDigit would also take Arabic-Indic
/// and other digits), so every stored number stays plain digits.
inline bool isNumeric(const QString& number)
{
    return !number.isEmpty() &&
           std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

/// Empty once leading and trailing white space is removed.
inline bool isBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

} // namespace EntryText
