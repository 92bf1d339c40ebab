#include "app/AuthorList.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace AuthorList {

QStringList build(const QList<PuzzleEntry>& entries)
{
    struct Tally {
        QString name;
        int count;
    };
    QList<Tally> tallies;
    for (const PuzzleEntry& entry : entries) {
        const QString name = entry.author.trimmed();
        auto it = std::find_if(tallies.begin(), tallies.end(), [&](const Tally& t) { return t.name == name; });
        if (it != tallies.end()) {
            ++it->count;
        } else if (tallies.size() < MaxAuthors) {
            tallies.append({name, 1});
        }
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(tallies.begin(), tallies.end(), [&](const Tally& a, const Tally& b) {
        if (a.count != b.count) {
            return a.count > b.count;
        }
        return collator.compare(a.name, b.name) > 0;
    });
    QStringList names;
    names.reserve(tallies.size());
    for (const Tally& tally : tallies) {
        names.append(tally.name);
    }
    return names;
}

} // namespace AuthorList
