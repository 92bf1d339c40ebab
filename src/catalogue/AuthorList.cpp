#include "catalogue/AuthorList.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace AuthorList {

QStringList build(const QList<PuzzleEntry>& entries)
{
    QList<AuthorCount> tallies;
    for (const PuzzleEntry& entry : entries) {
        const QString name = entry.author.trimmed();
        auto it = std::find_if(tallies.begin(), tallies.end(), [&](const AuthorCount& t) { return t.name == name; });
        if (it != tallies.end()) {
            ++it->count;
        } else if (tallies.size() < MaxAuthors) {
            tallies.append({name, 1});
        }
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(tallies.begin(), tallies.end(), [&](const AuthorCount& a, const AuthorCount& b) {
        if (a.count != b.count) {
            return a.count > b.count;
        }
        return collator.compare(a.name, b.name) > 0;
    });
    QStringList names;
    names.reserve(tallies.size());
    for (const AuthorCount& tally : tallies) {
        names.append(tally.name);
    }
    return names;
}

} // namespace AuthorList
