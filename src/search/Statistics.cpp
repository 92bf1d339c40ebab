#include "search/Statistics.h"

#include <algorithm>

Statistics::Statistics(const QStringList& registered)
{
    m_indexOf.reserve(registered.size());
    for (const QString& name : registered) {
        const QString key = foldedName(name);
        if (!m_indexOf.contains(key)) {
            m_indexOf.insert(key, m_authors.size());
            m_authors.append(name);
        }
    }
}

QString Statistics::foldedName(const QString& name)
{
    // The same per-character folding that QString::compare(…, Qt::CaseInsensitive) applies, so that the hash
    // groups exactly the names that sameAuthor() calls equal.
    QList<uint> codePoints = name.toUcs4();
    for (uint& codePoint : codePoints) {
        codePoint = QChar::toCaseFolded(char32_t(codePoint));
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), codePoints.size());
}

QList<AuthorCount> Statistics::count(const QStringList& entryAuthors) const
{
    QList<AuthorCount> tallies;
    tallies.reserve(m_authors.size());
    for (const QString& name : m_authors) {
        tallies.append({name, 0});
    }
    // Entries repeat a few spellings many times: each spelling is folded once and remembered (−1: unregistered).
    QHash<QString, qsizetype> indexOfSpelling;
    for (const QString& author : entryAuthors) {
        auto known = indexOfSpelling.constFind(author);
        if (known == indexOfSpelling.constEnd()) {
            known = indexOfSpelling.insert(author, m_indexOf.value(foldedName(author), -1));
        }
        if (*known >= 0) {
            AuthorCount& tally = tallies[*known];
            tally.name = author;
            ++tally.count;
        }
    }
    tallies.removeIf([](const AuthorCount& tally) { return tally.count == 0; });
    std::stable_sort(tallies.begin(), tallies.end(),
                     [](const AuthorCount& a, const AuthorCount& b) { return a.count > b.count; });
    return tallies;
}
