#include "search/Search.h"

#include "search/SearchTexts.h"

namespace Search {

std::optional<QString> refusal(bool categoryChosen, const QString& criterion)
{
    if (!categoryChosen) {
        return SearchTexts::noCategory();
    }
    if (criterion.trimmed().isEmpty()) {
        return SearchTexts::noCriterion();
    }
    return std::nullopt;
}

QString upperCase(const QString& text)
{
    // QString::toUpper applies the full mapping (ß becomes SS), which would change lengths and find SS in STRAßE.
    QList<uint> codePoints = text.toUcs4();
    for (uint& codePoint : codePoints) {
        codePoint = QChar::toUpper(char32_t(codePoint));
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), codePoints.size());
}

bool matches(const QString& answer, const QString& criterion)
{
    return upperCase(answer).contains(upperCase(criterion));
}

QList<PuzzleEntry> hits(const QList<PuzzleEntry>& entries, const QString& criterion)
{
    QList<PuzzleEntry> found;
    for (const PuzzleEntry& entry : entries) {
        if (matches(entry.answer, criterion)) {
            found.append(entry);
        }
    }
    return found;
}

} // namespace Search
