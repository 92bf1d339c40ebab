#include "history/JournalFormat.h"

#include "catalogue/Category.h"
#include "history/HistoryTexts.h"

#include <QStringList>

#include <array>

namespace JournalFormat {

namespace {

// Enough to recognise a text in a cell or a line; the whole text is in the entry itself.
constexpr qsizetype shownLength = 80;

QString shown(const std::optional<PuzzleEntry>& entry, QString PuzzleEntry::*field)
{
    if (!entry) {
        return HistoryTexts::none();
    }
    const QString& value = (*entry).*field;
    return value.size() > shownLength ? value.left(shownLength) + u'…' : value;
}

} // namespace

QString date(const JournalRecord& record)
{
    return record.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString entryName(const JournalRecord& record)
{
    if (record.category < 0) {
        return {};
    }
    return Category::all().at(record.category).caption + u' ' + record.ref;
}

QString detail(const JournalRecord& record)
{
    if (record.category < 0) {
        return {};
    }
    // Made for every change the history shows: the labels once per series.
    static const QList<QStringList> labels = [] {
        QList<QStringList> all;
        for (const Category& category : Category::all()) {
            all.append({HistoryTexts::numberHeader(), category.answerLabel, QStringLiteral("Auteur"),
                        QStringLiteral("Lien image"), QStringLiteral("Lien Sorvane")});
        }
        return all;
    }();
    static constexpr std::array<QString PuzzleEntry::*, 5> fields{
        &PuzzleEntry::ref, &PuzzleEntry::answer, &PuzzleEntry::author, &PuzzleEntry::url, &PuzzleEntry::link};
    QString text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QString before = shown(record.before, fields.at(i));
        const QString after = shown(record.after, fields.at(i));
        // The number of an added or removed entry is already in the line.
        if (before != after && (i > 0 || (record.before && record.after))) {
            if (!text.isEmpty()) {
                text += QStringLiteral("; ");
            }
            text += HistoryTexts::fieldChange().arg(labels.at(record.category).at(qsizetype(i)), before, after);
        }
    }
    if (record.entryCount > 1) {
        text += HistoryTexts::moreEntries().arg(record.entryCount - 1);
    }
    return text;
}

QString line(const JournalRecord& record)
{
    const QString change =
        record.description + (record.state == JournalRecord::State::Undone ? HistoryTexts::undoneMark() : QString());
    const QString fields = detail(record);
    return HistoryTexts::line().arg(date(record), entryName(record), change,
                                    fields.isEmpty() ? QString() : HistoryTexts::lineDetail().arg(fields));
}

} // namespace JournalFormat
