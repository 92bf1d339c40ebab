#include "catalogue/AuthorList.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>

namespace AuthorList {

QStringList build(const QList<PuzzleEntry>& entries)
{
    QList<AuthorCount> tallies;
    QHash<QString, qsizetype> positions; // of each name in `tallies`
    for (const PuzzleEntry& entry : entries) {
        const QString name = entry.author.trimmed();
        if (const auto it = positions.constFind(name); it != positions.constEnd()) {
            ++tallies[*it].count;
        } else if (tallies.size() < MaxAuthors) {
            positions.insert(name, tallies.size());
            tallies.append({name, 1});
        }
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(tallies.size());
    for (qsizetype i = 0; i < tallies.size(); ++i) {
        keys.emplace_back(collator.sortKey(tallies.at(i).name), i);
    }
    std::stable_sort(keys.begin(), keys.end(), [&tallies](const auto& a, const auto& b) {
        const int aCount = tallies.at(a.second).count;
        const int bCount = tallies.at(b.second).count;
        if (aCount != bCount) {
            return aCount > bCount;
        }
        return a.first.compare(b.first) > 0;
    });
    QStringList names;
    names.reserve(tallies.size());
    for (const auto& key : keys) {
        names.append(tallies.at(key.second).name);
    }
    return names;
}

} // namespace AuthorList
