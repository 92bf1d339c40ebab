#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QCollator>
#include <QScopeGuard>
#include <QSqlQuery>

#include <algorithm>

using namespace CatalogueSql;
using Kind = CatalogueError::Kind;

namespace {

const QCollator& frenchCollator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

void sortByText(QList<PuzzleEntry>& entries, QString PuzzleEntry::*field)
{
    const QCollator& collator = frenchCollator();
    QList<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        keys.emplace_back(collator.sortKey(entries[i].*field), i);
    }
    // The input is in number order and the sort is stable, so equal texts keep number order.
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QList<PuzzleEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys) {
        sorted.append(std::move(entries[key.second]));
    }
    entries = std::move(sorted);
}

} // namespace

const QList<PuzzleEntry>& Catalogue::storedEntries(const Category& category) const
{
    refreshCache();
    std::optional<QList<PuzzleEntry>>& cached = m_stored.at(category.index);
    if (cached) {
        return *cached;
    }
    // Without ORDER BY a plain scan of all five fields returns the rows in the order the table stores them.
    QSqlQuery query = prepare(QStringLiteral("SELECT ref, %1, auteur, url, lien FROM %2")
                                  .arg(quoted(category.answerField), quoted(category.table)));
    exec(query);
    QList<PuzzleEntry> result;
    while (next(query)) {
        result.append(entryAt(query));
    }
    cached = std::move(result);
    return *cached;
}

QList<PuzzleEntry> Catalogue::entries(const Category& category, EntryOrder order) const
{
    QList<PuzzleEntry> result = storedEntries(category);
    if (order == EntryOrder::Stored) {
        return result;
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const PuzzleEntry& a, const PuzzleEntry& b) { return numberLess(a.ref, b.ref); });
    if (order == EntryOrder::ByAnswer) {
        sortByText(result, &PuzzleEntry::answer);
    } else if (order == EntryOrder::ByAuthor) {
        sortByText(result, &PuzzleEntry::author);
    }
    return result;
}

std::optional<PuzzleEntry> Catalogue::entry(const Category& category, const QString& ref) const
{
    // The first stored row of that number: the one that `rewrite` changes when a file repeats a number.
    QSqlQuery query = prepare(QStringLiteral("SELECT ref, %1, auteur, url, lien FROM %2 WHERE ref = ? ORDER BY rowid")
                                  .arg(quoted(category.answerField), quoted(category.table)));
    query.addBindValue(ref);
    exec(query);
    if (!next(query)) {
        return std::nullopt;
    }
    return entryAt(query);
}

QStringList Catalogue::repeatedNumbers(const Category& category) const
{
    // In number order a repeated number stands on neighbouring rows; each is listed once.
    const QList<PuzzleEntry> sorted = entries(category, EntryOrder::ByNumber);
    QStringList repeated;
    for (qsizetype i = 1; i < sorted.size(); ++i) {
        const QString& ref = sorted.at(i).ref;
        if (ref == sorted.at(i - 1).ref && (repeated.isEmpty() || repeated.last() != ref)) {
            repeated.append(ref);
        }
    }
    return repeated;
}

int Catalogue::count(const Category& category) const
{
    return int(storedEntries(category).size());
}

Catalogue::AppendResult Catalogue::append(const Category& category, const PuzzleEntry& entry)
{
    ensureCurrentSchema();
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    QSqlQuery taken = prepare(QStringLiteral("SELECT 1 FROM %1 WHERE ref = ?").arg(quoted(category.table)));
    taken.addBindValue(text(entry.ref));
    execWrite(taken);
    const bool exists = taken.next();
    taken.finish();
    if (exists) {
        return AppendResult::AlreadyExists;
    }
    JournalChange change{JournalKind::add(),
                         CatalogueTexts::addDescription().arg(
                             CatalogueTexts::entryName().arg(category.caption, entry.ref)),
                         {{category.index, entry.ref, std::nullopt, entry}},
                         {},
                         {}};
    if (category.registersAuthors && !isAuthorRegistered(entry.author)) {
        QSqlQuery author = prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)"));
        author.addBindValue(text(entry.author));
        execWrite(author);
        change.authorsAdded.append(entry.author);
    }
    QSqlQuery insert = prepare(QStringLiteral("INSERT INTO %1 (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                   .arg(quoted(category.table), quoted(category.answerField)));
    for (const QString& value : {entry.ref, entry.answer, entry.author, entry.url, entry.link}) {
        insert.addBindValue(text(value));
    }
    execWrite(insert);
    insert.finish();
    writeJournal(change);
    rollback.dismiss();
    commitWrite();
    return AppendResult::Added;
}

bool Catalogue::rewrite(const Category& category, const QString& ref, const PuzzleEntry& entry)
{
    ensureCurrentSchema();
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    // Exactly one row: a file made by another tool may hold a number twice, and a correction must not turn
    // both entries into one. SQLite's rowid names the row that `entry` reads.
    QSqlQuery find = prepare(QStringLiteral("SELECT ref, %1, auteur, url, lien, rowid FROM %2 WHERE ref = ? ORDER BY rowid")
                                 .arg(quoted(category.answerField), quoted(category.table)));
    find.addBindValue(text(ref));
    execWrite(find);
    if (!find.next()) {
        return false;
    }
    const PuzzleEntry before = entryAt(find);
    const qlonglong row = find.value(5).toLongLong();
    find.finish();
    QSqlQuery update =
        prepare(QStringLiteral("UPDATE %1 SET ref = ?, %2 = ?, auteur = ?, url = ?, lien = ? WHERE rowid = ?")
                    .arg(quoted(category.table), quoted(category.answerField)));
    for (const QString& value : {entry.ref, entry.answer, entry.author, entry.url, entry.link}) {
        update.addBindValue(text(value));
    }
    update.addBindValue(row);
    execWrite(update);
    update.finish();
    // A correction that changes nothing is no step to take back.
    if (before != entry) {
        writeJournal({JournalKind::update(),
                      CatalogueTexts::updateDescription().arg(CatalogueTexts::entryName().arg(category.caption, ref)),
                      {{category.index, ref, before, entry}},
                      {},
                      {}});
    }
    rollback.dismiss();
    commitWrite();
    return true;
}

bool Catalogue::isEmpty() const
{
    const QList<Category>& categories = Category::all();
    return authors().isEmpty() &&
           std::all_of(categories.begin(), categories.end(), [this](const Category& c) { return count(c) == 0; });
}

bool Catalogue::fillEmpty(const std::array<QList<PuzzleEntry>, 4>& series, const QStringList& authors)
{
    ensureCurrentSchema();
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    // Asked again inside the transaction: another connection may have written since the caller looked.
    QStringList tables{QStringLiteral("auteurs")};
    for (const Category& category : Category::all()) {
        tables.append(category.table);
    }
    for (const QString& table : tables) {
        QSqlQuery any = prepare(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(quoted(table)));
        execWrite(any);
        if (any.next()) {
            return false;
        }
    }
    JournalChange change{JournalKind::import(), CatalogueTexts::importDescription(), {}, authors, {}};
    for (const Category& category : Category::all()) {
        QSqlQuery insert = prepare(QStringLiteral("INSERT INTO %1 (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                       .arg(quoted(category.table), quoted(category.answerField)));
        for (const PuzzleEntry& entry : series.at(category.index)) {
            change.entries.append({category.index, entry.ref, std::nullopt, entry});
            for (const QString& value : {entry.ref, entry.answer, entry.author, entry.url, entry.link}) {
                insert.addBindValue(text(value));
            }
            execWrite(insert);
        }
    }
    QSqlQuery author = prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)"));
    for (const QString& name : authors) {
        author.addBindValue(text(name));
        execWrite(author);
    }
    writeJournal(change);
    rollback.dismiss();
    commitWrite();
    return true;
}
