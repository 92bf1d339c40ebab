#include "consistency/ConsistencyRules.h"

#include "catalogue/Category.h"
#include "catalogue/EntryAddress.h"
#include "consistency/ConsistencyTexts.h"

#include <QHash>
#include <QMap>

#include <algorithm>

namespace ConsistencyRules {

namespace {

using Kind = Finding::Kind;
using Place = Finding::Place;

// Parts of a mark's key are joined by a control character that no typed text holds.
const QChar keySeparator(0x1f);

QString makeKey(const QString& kind, const QStringList& parts)
{
    return kind + keySeparator + parts.join(keySeparator);
}

// Decomposes accented letters (é → e + U+0301), drops the combining marks, folds case.
QString withoutAccentsOrCase(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing) {
            plain.append(c);
        }
    }
    return plain.toCaseFolded();
}

QString number(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

// 001 … 999 as the number it writes; 0 for anything else ("42", "0042", "4a", "000").
int wellFormed(const QString& ref)
{
    if (ref.size() != 3 || !EntryText::isNumeric(ref)) {
        return 0;
    }
    return ref.toInt();
}

QString refs(const QList<Place>& places)
{
    QStringList numbers;
    for (const Place& place : places) {
        numbers.append(place.entry.ref);
    }
    return numbers.join(u", ");
}

QString caption(int category)
{
    return Category::all().at(category).caption;
}

QString table(int category)
{
    return Category::all().at(category).table;
}

// An entry where it lies in the snapshot: copied into a Place only once it is part of a finding.
struct At {
    int category;
    const PuzzleEntry* entry;
};

QList<Place> places(const QList<At>& entries)
{
    QList<Place> places;
    places.reserve(entries.size());
    for (const At& at : entries) {
        places.append({at.category, *at.entry});
    }
    return places;
}

// The entries of `categories` that share their key with another, grouped in the order of their first entry; an empty
// key shares nothing. The keys are worked out once; most are met once, so they are counted before any is grouped.
template <typename KeyOf>
QList<QList<At>> sharing(const CatalogueSnapshot& snapshot, const QList<int>& categories, KeyOf keyOf)
{
    qsizetype total = 0;
    for (int category : categories) {
        total += snapshot.series.at(category).size();
    }
    QList<At> entries;
    QStringList keys;
    QHash<QString, int> count;
    entries.reserve(total);
    keys.reserve(total);
    count.reserve(total);
    for (int category : categories) {
        for (const PuzzleEntry& entry : snapshot.series.at(category)) {
            entries.append({category, &entry});
            keys.append(keyOf(entry));
            if (!keys.last().isEmpty()) {
                ++count[keys.last()];
            }
        }
    }
    QHash<QString, qsizetype> groupOf;
    QList<QList<At>> groups;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (count.value(keys.at(i)) < 2) {
            continue;
        }
        const qsizetype group = groupOf.value(keys.at(i), groups.size());
        if (group == groups.size()) {
            groupOf.insert(keys.at(i), group);
            groups.append(QList<At>());
        }
        groups[group].append(entries.at(i));
    }
    return groups;
}

void numbering(const CatalogueSnapshot& snapshot, QList<Finding>& found)
{
    for (const Category& category : Category::all()) {
        const QList<PuzzleEntry>& entries = snapshot.series.at(category.index);
        QList<bool> present(1000, false);
        int last = 0;
        QList<Finding> malformed;
        for (const PuzzleEntry& entry : entries) {
            const int n = wellFormed(entry.ref);
            present[n] = true;
            last = std::max(last, n);
            if (n == 0) {
                malformed.append({Kind::Numbering,
                                  ConsistencyTexts::malformed().arg(category.caption, entry.ref),
                                  {{category.index, entry}},
                                  {},
                                  makeKey(QStringLiteral("numéro-format"), {category.table, entry.ref})});
            }
        }
        for (int n = 1; n <= last; ++n) {
            if (present.at(n)) {
                continue;
            }
            int end = n;
            while (end + 1 <= last && !present.at(end + 1)) {
                ++end;
            }
            const QString text = end == n ? ConsistencyTexts::hole().arg(category.caption, number(n))
                                          : ConsistencyTexts::holes().arg(category.caption, number(n), number(end));
            found.append({Kind::Numbering,
                          text,
                          {},
                          {},
                          makeKey(QStringLiteral("numéro-absent"), {category.table, number(n), number(end)})});
            n = end;
        }
        const auto byRef = [](const PuzzleEntry& entry) { return entry.ref; };
        for (const QList<At>& repeated : sharing(snapshot, {category.index}, byRef)) {
            const QString ref = repeated.first().entry->ref;
            found.append(
                {Kind::Numbering,
                 ConsistencyTexts::repeated().arg(category.caption, ref).arg(repeated.size()),
                 places(repeated),
                 {},
                 makeKey(QStringLiteral("numéro-répété"), {category.table, ref, QString::number(repeated.size())})});
        }
        found.append(malformed);
    }
}

void sameAnswers(const CatalogueSnapshot& snapshot, QList<Finding>& found)
{
    const auto byAnswer = [](const PuzzleEntry& entry) { return answerKey(entry.answer); };
    for (const Category& category : Category::all()) {
        for (const QList<At>& same : sharing(snapshot, {category.index}, byAnswer)) {
            QStringList parts{category.table};
            for (const At& at : same) {
                parts.append(at.entry->ref + u'=' + at.entry->answer);
            }
            const QList<Place> entries = places(same);
            found.append({Kind::SameAnswer,
                          ConsistencyTexts::answerTwice().arg(category.caption, entries.first().entry.answer.trimmed(),
                                                              refs(entries)),
                          entries,
                          {},
                          makeKey(QStringLiteral("réponse"), parts)});
        }
    }
}

void sharedAddresses(const CatalogueSnapshot& snapshot, Kind kind, QList<Finding>& found)
{
    const auto byAddress = [kind](const PuzzleEntry& entry) {
        return addressKey(kind == Kind::SharedImage ? entry.url : entry.link);
    };
    for (const QList<At>& shared : sharing(snapshot, {0, 1, 2, 3}, byAddress)) {
        const QString address = byAddress(*shared.first().entry);
        QStringList parts{address};
        for (const At& at : shared) {
            parts.append(table(at.category) + u':' + at.entry->ref);
        }
        found.append({kind,
                      ConsistencyTexts::shared().arg(address).arg(shared.size()),
                      places(shared),
                      {},
                      makeKey(kind == Kind::SharedImage ? QStringLiteral("image") : QStringLiteral("message"), parts)});
    }
}

// Every spelling of one person: how many entries and register rows carry each, and the entries.
struct Person {
    QMap<QString, int> entryCount; ///< exact spelling → entries
    QMap<QString, int> registered; ///< exact spelling → register rows
    QList<At> entries;
};

void authors(const CatalogueSnapshot& snapshot, QList<Finding>& found)
{
    QMap<QString, Person> people;
    QHash<QString, QString> keyOf; // a few spellings sign thousands of entries: each is folded once
    for (const Category& category : Category::all()) {
        for (const PuzzleEntry& entry : snapshot.series.at(category.index)) {
            auto known = keyOf.constFind(entry.author);
            if (known == keyOf.cend()) {
                known = keyOf.insert(entry.author, authorKey(entry.author));
            }
            const QString& key = *known;
            if (key.isEmpty()) {
                continue; // no author at all is not a matter of spelling
            }
            Person& person = people[key];
            ++person.entryCount[entry.author];
            person.entries.append({category.index, &entry});
        }
    }
    for (const QString& name : snapshot.authors) {
        const QString key = authorKey(name);
        if (!key.isEmpty()) {
            ++people[key].registered[name];
        }
    }
    QList<Finding> spellings;
    QList<Finding> unused;
    QList<Finding> unregistered;
    for (const Person& person : std::as_const(people)) {
        QStringList names = person.entryCount.keys();
        for (const QString& name : person.registered.keys()) {
            if (!person.entryCount.contains(name)) {
                names.append(name);
            }
        }
        std::sort(names.begin(), names.end());
        if (names.size() > 1) {
            QStringList shown;
            for (const QString& name : names) {
                QString counts = ConsistencyTexts::entries(person.entryCount.value(name));
                if (person.registered.contains(name)) {
                    counts += QStringLiteral(", ") + ConsistencyTexts::registered();
                }
                shown.append(ConsistencyTexts::spelling().arg(name, counts));
            }
            // The entries of the most used spelling are not listed: those of the others are the ones to look at.
            const auto most = std::max_element(person.entryCount.cbegin(), person.entryCount.cend());
            const QString mostUsed = most == person.entryCount.cend() ? QString() : most.key();
            QList<At> others;
            std::copy_if(person.entries.begin(), person.entries.end(), std::back_inserter(others),
                         [&](const At& at) { return at.entry->author != mostUsed; });
            spellings.append({Kind::AuthorSpellings, ConsistencyTexts::spellings().arg(shown.join(u", ")),
                              places(others), names, makeKey(QStringLiteral("auteur-orthographes"), names)});
        }
        if (person.entries.isEmpty()) {
            for (const QString& name : person.registered.keys()) {
                unused.append({Kind::UnusedAuthor,
                               ConsistencyTexts::unused().arg(name),
                               {},
                               {name},
                               makeKey(QStringLiteral("auteur-sans-entrée"), {name})});
            }
        }
        if (person.registered.isEmpty()) {
            const QStringList written = person.entryCount.keys();
            unregistered.append({Kind::UnregisteredAuthor,
                                 ConsistencyTexts::unregistered().arg(written.join(QStringLiteral(" », « ")),
                                                                      ConsistencyTexts::entries(person.entries.size())),
                                 places(person.entries), written,
                                 makeKey(QStringLiteral("auteur-non-inscrit"), written)});
        }
    }
    found.append(spellings);
    found.append(unused);
    found.append(unregistered);
}

void notWeb(const CatalogueSnapshot& snapshot, QList<Finding>& found)
{
    for (const Category& category : Category::all()) {
        for (const PuzzleEntry& entry : snapshot.series.at(category.index)) {
            const std::pair<QString, QString> fields[] = {{ConsistencyTexts::imageField(), entry.url},
                                                          {ConsistencyTexts::postField(), entry.link}};
            for (const auto& [field, address] : fields) {
                if (!isAcceptedAddress(address)) {
                    found.append({Kind::NotWebAddress,
                                  ConsistencyTexts::notWeb().arg(category.caption, entry.ref, field, address),
                                  {{category.index, entry}},
                                  {},
                                  makeKey(QStringLiteral("adresse"), {category.table, entry.ref, field, address})});
                }
            }
        }
    }
}

} // namespace

QString answerKey(const QString& answer)
{
    QString folded = withoutAccentsOrCase(answer);
    for (QChar& c : folded) {
        if (c.isPunct()) {
            c = u' ';
        }
    }
    return folded.simplified();
}

QString authorKey(const QString& author)
{
    return withoutAccentsOrCase(author).trimmed();
}

QString addressKey(const QString& address)
{
    return EntryAddress::isMissing(address) ? QString() : address.trimmed();
}

bool isAcceptedAddress(const QString& address)
{
    return EntryAddress::isMissing(address) || EntryAddress::webUrl(address).isValid();
}

QList<Finding> check(const CatalogueSnapshot& snapshot)
{
    QList<Finding> found;
    numbering(snapshot, found);
    sameAnswers(snapshot, found);
    sharedAddresses(snapshot, Kind::SharedImage, found);
    sharedAddresses(snapshot, Kind::SharedPost, found);
    authors(snapshot, found);
    notWeb(snapshot, found);
    return found;
}

QList<Finding> unmarked(const QList<Finding>& findings, const QSet<QString>& marked)
{
    QList<Finding> kept;
    std::copy_if(findings.begin(), findings.end(), std::back_inserter(kept),
                 [&](const Finding& finding) { return !marked.contains(finding.key); });
    return kept;
}

JournalChange mergeChange(const CatalogueSnapshot& snapshot, const QStringList& spellings, const QString& kept)
{
    QStringList others = spellings;
    others.removeAll(kept);
    QStringList shown;
    for (const QString& name : spellings) {
        shown.append(ConsistencyTexts::quoted().arg(name));
    }
    JournalChange change{
        JournalKind::merge(), ConsistencyTexts::mergeDescription().arg(shown.join(u", "), kept), {}, {}, {}};
    for (const Category& category : Category::all()) {
        for (const PuzzleEntry& entry : snapshot.series.at(category.index)) {
            if (others.contains(entry.author)) {
                PuzzleEntry after = entry;
                after.author = kept;
                change.entries.append({category.index, entry.ref, entry, after});
            }
        }
    }
    // One row out per row the register holds of another spelling.
    for (const QString& name : snapshot.authors) {
        if (others.contains(name)) {
            change.authorsRemoved.append(name);
        }
    }
    if (!change.authorsRemoved.isEmpty() && !snapshot.authors.contains(kept)) {
        change.authorsAdded.append(kept);
    }
    if (change.entries.isEmpty() && change.authorsRemoved.isEmpty()) {
        return {};
    }
    return change;
}

QString kindTitle(Finding::Kind kind)
{
    switch (kind) {
    case Kind::Numbering:
        return ConsistencyTexts::numbering();
    case Kind::SameAnswer:
        return ConsistencyTexts::sameAnswer();
    case Kind::SharedImage:
        return ConsistencyTexts::sharedImage();
    case Kind::SharedPost:
        return ConsistencyTexts::sharedPost();
    case Kind::AuthorSpellings:
        return ConsistencyTexts::authorSpellings();
    case Kind::UnusedAuthor:
        return ConsistencyTexts::unusedAuthor();
    case Kind::UnregisteredAuthor:
        return ConsistencyTexts::unregisteredAuthor();
    case Kind::NotWebAddress:
    case Kind::Count:
        break;
    }
    return ConsistencyTexts::notWebAddress();
}

QStringList report(const QList<Finding>& findings)
{
    QStringList lines;
    for (int kind = 0; kind < int(Kind::Count); ++kind) {
        QList<Finding> group;
        std::copy_if(findings.begin(), findings.end(), std::back_inserter(group),
                     [kind](const Finding& finding) { return int(finding.kind) == kind; });
        if (group.isEmpty()) {
            continue;
        }
        lines.append(ConsistencyTexts::group().arg(kindTitle(Kind(kind))).arg(group.size()));
        for (const Finding& finding : group) {
            lines.append(QStringLiteral("  ") + finding.text);
            for (const Place& place : finding.entries) {
                lines.append(QStringLiteral("    ") +
                             ConsistencyTexts::entryLine().arg(caption(place.category), place.entry.ref,
                                                               place.entry.answer, place.entry.author));
            }
        }
    }
    return lines;
}

} // namespace ConsistencyRules
