#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QSet>
#include <QSqlQuery>

using namespace CatalogueSql;
using Kind = CatalogueError::Kind;

namespace {

const QString done = QStringLiteral("fait");
const QString undone = QStringLiteral("annulé");

QString nameOf(int category, const QString& ref)
{
    return CatalogueTexts::entryName().arg(Category::all().at(category).caption, ref);
}

int categoryOfTable(const QString& table)
{
    for (const Category& category : Category::all()) {
        if (category.table == table) {
            return category.index;
        }
    }
    return -1;
}

// An entry as the journal stores it: its five fields as a JSON array, or NULL for none.
QVariant encoded(const std::optional<PuzzleEntry>& entry)
{
    if (!entry) {
        return QVariant(QMetaType::fromType<QString>());
    }
    const QJsonArray fields{entry->ref, entry->answer, entry->author, entry->url, entry->link};
    return QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact));
}

// The journal is read back from a file that anyone may have edited: anything but five texts is refused.
std::optional<PuzzleEntry> decoded(const QVariant& value, qint64 change)
{
    if (value.isNull()) {
        return std::nullopt;
    }
    const QJsonArray fields = QJsonDocument::fromJson(value.toString().toUtf8()).array();
    if (fields.size() != 5 || !std::all_of(fields.begin(), fields.end(), [](const auto& f) { return f.isString(); })) {
        throw CatalogueError(Kind::Read, CatalogueTexts::journalUnreadable().arg(change));
    }
    return PuzzleEntry{fields[0].toString(), fields[1].toString(), fields[2].toString(), fields[3].toString(),
                       fields[4].toString()};
}

JournalRecord::State stateOf(const QVariant& value)
{
    if (value.toString() == done) {
        return JournalRecord::State::Done;
    }
    return value.toString() == undone ? JournalRecord::State::Undone : JournalRecord::State::Settled;
}

// The change that takes `change` back: each entry from after to before, the names the other way round.
JournalChange inverse(const JournalChange& change)
{
    JournalChange back{change.kind, change.description, {}, change.authorsRemoved, change.authorsAdded};
    for (const EntryChange& entry : change.entries) {
        back.entries.append({entry.category, entry.ref, entry.after, entry.before});
    }
    return back;
}

} // namespace

std::optional<QString> Catalogue::applyEntries(const JournalChange& change, bool keepNamed, JournalChange& written)
{
    written = {change.kind, change.description, {}, change.authorsAdded, {}};
    // Every check reads before anything is written: the cached series stay true until the first write.
    struct Step {
        const EntryChange* change;
        qlonglong row = 0;
    };
    QList<Step> steps;
    std::array<QSet<QString>, 4> removed;
    std::array<QSet<QString>, 4> touched;
    for (const EntryChange& entry : change.entries) {
        if (entry.category < 0 || entry.category >= Category::all().size() || (!entry.before && !entry.after)) {
            return CatalogueTexts::emptyChange();
        }
        const Category& category = Category::all().at(entry.category);
        const QString ref = entry.before ? entry.before->ref : entry.after->ref;
        QSqlQuery find = prepare(QStringLiteral("SELECT ref, %1, auteur, url, lien, rowid FROM %2 WHERE ref = ? "
                                                "ORDER BY rowid LIMIT 1")
                                     .arg(quoted(category.answerField), quoted(category.table)));
        find.addBindValue(text(ref));
        exec(find);
        const bool exists = next(find);
        if (!entry.before && exists) {
            return CatalogueTexts::numberTaken().arg(nameOf(entry.category, ref));
        }
        if (entry.before && !exists) {
            return CatalogueTexts::entryGone().arg(nameOf(entry.category, ref));
        }
        if (entry.before && entryAt(find) != *entry.before) {
            return CatalogueTexts::entryModified().arg(nameOf(entry.category, ref));
        }
        steps.append({&entry, exists ? find.value(5).toLongLong() : 0});
        touched.at(entry.category).insert(ref);
        if (!entry.after) {
            removed.at(entry.category).insert(ref);
        }
    }
    // An entry leaves only from the end of its series, so that numbers still run without gaps.
    QStringList named;
    const bool naming = keepNamed && !change.authorsRemoved.isEmpty();
    for (const Category& category : Category::all()) {
        const QSet<QString>& leaving = removed.at(category.index);
        if (leaving.isEmpty() && !naming) {
            continue;
        }
        std::optional<QString> highestKept;
        for (const PuzzleEntry& entry : storedEntries(category)) {
            if (!touched.at(category.index).contains(entry.ref)) {
                named.append(entry.author);
            }
            if (!leaving.contains(entry.ref) && (!highestKept || numberLess(*highestKept, entry.ref))) {
                highestKept = entry.ref;
            }
        }
        for (const QString& ref : leaving) {
            if (highestKept && !numberLess(*highestKept, ref)) {
                return CatalogueTexts::notLast().arg(nameOf(category.index, ref));
            }
        }
    }
    for (const EntryChange& entry : change.entries) {
        if (entry.after) {
            named.append(entry.after->author);
        }
    }

    for (const Step& step : steps) {
        const EntryChange& entry = *step.change;
        const Category& category = Category::all().at(entry.category);
        QSqlQuery write(database());
        if (!entry.before) {
            write = prepare(QStringLiteral("INSERT INTO %1 (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                .arg(quoted(category.table), quoted(category.answerField)));
        } else if (!entry.after) {
            write = prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(category.table)));
        } else {
            write = prepare(QStringLiteral("UPDATE %1 SET ref = ?, %2 = ?, auteur = ?, url = ?, lien = ? WHERE rowid = ?")
                                .arg(quoted(category.table), quoted(category.answerField)));
        }
        if (entry.after) {
            for (const QString& value : {entry.after->ref, entry.after->answer, entry.after->author, entry.after->url,
                                         entry.after->link}) {
                write.addBindValue(text(value));
            }
        }
        if (entry.before) {
            write.addBindValue(step.row);
        }
        execWrite(write);
        written.entries.append(entry);
    }
    for (const QString& name : change.authorsRemoved) {
        if (keepNamed && std::any_of(named.begin(), named.end(), [&](const QString& n) { return sameAuthor(n, name); })) {
            continue;
        }
        // One row of exactly that name, the newest: a register may hold a name twice.
        QSqlQuery find = prepare(QStringLiteral("SELECT rowid FROM auteurs WHERE nom = ? ORDER BY rowid DESC LIMIT 1"));
        find.addBindValue(text(name));
        execWrite(find);
        if (!find.next()) {
            if (keepNamed) {
                continue; // already gone: nothing to take back
            }
            return CatalogueTexts::authorAbsent().arg(name);
        }
        QSqlQuery remove = prepare(QStringLiteral("DELETE FROM auteurs WHERE rowid = ?"));
        remove.addBindValue(find.value(0));
        find.finish();
        execWrite(remove);
        written.authorsRemoved.append(name);
    }
    QSqlQuery add = prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)"));
    for (const QString& name : change.authorsAdded) {
        add.addBindValue(text(name));
        execWrite(add);
    }
    return std::nullopt;
}

qint64 Catalogue::writeJournal(const JournalChange& change, qint64 target)
{
    if (target == 0) {
        // A change of its own: what was undone before it can no longer be put back.
        QSqlQuery settle = prepare(QStringLiteral(R"(UPDATE "journal" SET "état" = NULL WHERE "état" = ?)"));
        settle.addBindValue(undone);
        execWrite(settle);
    }
    const EntryChange* first = change.entries.isEmpty() ? nullptr : &change.entries.first();
    QSqlQuery row = prepare(QStringLiteral(R"(INSERT INTO "journal" (date, sorte, description, "série", ref, )"
                                           R"(nombre, "état", cible) VALUES (?, ?, ?, ?, ?, ?, ?, ?))"));
    row.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    row.addBindValue(text(change.kind));
    row.addBindValue(text(change.description));
    row.addBindValue(first ? QVariant(Category::all().at(first->category).table) : QVariant());
    row.addBindValue(first ? QVariant(text(first->ref)) : QVariant());
    row.addBindValue(change.entries.size());
    row.addBindValue(target == 0 ? QVariant(done) : QVariant());
    row.addBindValue(target == 0 ? QVariant() : QVariant(target));
    execWrite(row);
    const qint64 id = row.lastInsertId().toLongLong();

    QSqlQuery entries = prepare(
        QStringLiteral(R"(INSERT INTO "journal_entrées" (change, "série", ref, avant, "après") VALUES (?, ?, ?, ?, ?))"));
    for (const EntryChange& entry : change.entries) {
        for (const QVariant& value : {QVariant(id), QVariant(Category::all().at(entry.category).table),
                                      QVariant(text(entry.ref)), encoded(entry.before), encoded(entry.after)}) {
            entries.addBindValue(value);
        }
        execWrite(entries);
    }
    QSqlQuery names = prepare(QStringLiteral(R"(INSERT INTO "journal_auteurs" (change, nom, "ajouté") VALUES (?, ?, ?))"));
    for (const auto& [list, added] : {std::pair(&change.authorsAdded, 1), std::pair(&change.authorsRemoved, 0)}) {
        for (const QString& name : *list) {
            names.addBindValue(id);
            names.addBindValue(text(name));
            names.addBindValue(added);
            execWrite(names);
        }
    }
    // The size rule: ids grow by one per change, so the newest `journalKept` changes are those above this one.
    if (id > journalKept) {
        for (const char* sql : {R"(DELETE FROM "journal_entrées" WHERE change <= ?)",
                                R"(DELETE FROM "journal_auteurs" WHERE change <= ?)",
                                R"(DELETE FROM "journal" WHERE id <= ?)"}) {
            QSqlQuery prune = prepare(QString::fromUtf8(sql));
            prune.addBindValue(id - journalKept);
            execWrite(prune);
        }
    }
    return id;
}

std::optional<QString> Catalogue::applyChange(const JournalChange& change)
{
    ensureCurrentSchema();
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    JournalChange written;
    if (const auto reason = applyEntries(change, false, written)) {
        return CatalogueTexts::changeRefused().arg(change.description, *reason);
    }
    writeJournal(written);
    rollback.dismiss();
    commitWrite();
    return std::nullopt;
}

QList<JournalRecord> Catalogue::readJournal(const QString& where, const QVariantList& values, int limit,
                                            bool oldestFirst) const
{
    QList<JournalRecord> records;
    if (fileSchemaVersion() < 2) {
        return records; // a file from before the journal
    }
    // The first entry of each change (or, for an entry's history, that entry) gives its before and after.
    const QString from =
        where.contains(u"e.ref")
            ? QStringLiteral(R"("journal_entrées" e JOIN "journal" j ON j.id = e.change)")
            : QStringLiteral(R"("journal" j LEFT JOIN "journal_entrées" e ON e.rowid = )"
                             R"((SELECT MIN(rowid) FROM "journal_entrées" WHERE change = j.id))");
    QSqlQuery query = prepare(QStringLiteral(R"(SELECT j.id, j.date, j.sorte, j.description, j."état", j.cible, )"
                                             R"(COALESCE(e."série", j."série"), COALESCE(e.ref, j.ref), j.nombre, )"
                                             R"(e.avant, e."après" FROM %1 %2 ORDER BY j.id %3 LIMIT ?)")
                                  .arg(from, where, oldestFirst ? QStringLiteral("ASC") : QStringLiteral("DESC")));
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    query.addBindValue(limit);
    exec(query);
    while (next(query)) {
        JournalRecord record;
        record.id = query.value(0).toLongLong();
        record.when = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
        record.kind = query.value(2).toString();
        record.description = query.value(3).toString();
        record.state = stateOf(query.value(4));
        record.target = query.value(5).toLongLong();
        record.category = categoryOfTable(query.value(6).toString());
        record.ref = query.value(7).toString();
        record.entryCount = query.value(8).toInt();
        record.before = decoded(query.value(9), record.id);
        record.after = decoded(query.value(10), record.id);
        records.append(record);
    }
    return records;
}

QList<JournalRecord> Catalogue::journal(int last) const
{
    return readJournal({}, {}, last);
}

QList<JournalRecord> Catalogue::journalOf(const Category& category, const QString& ref) const
{
    return readJournal(QStringLiteral(R"(WHERE e."série" = ? AND e.ref = ?)"), {category.table, ref}, -1);
}

std::optional<JournalRecord> Catalogue::undoable() const
{
    const QList<JournalRecord> top = readJournal(QStringLiteral(R"(WHERE j."état" = ?)"), {done}, 1);
    return top.isEmpty() ? std::nullopt : std::optional(top.first());
}

std::optional<JournalRecord> Catalogue::redoable() const
{
    // Undone changes are put back in the order they were made: the oldest first.
    const QList<JournalRecord> next = readJournal(QStringLiteral(R"(WHERE j."état" = ?)"), {undone}, 1, true);
    return next.isEmpty() ? std::nullopt : std::optional(next.first());
}

JournalChange Catalogue::journalChange(qint64 id) const
{
    JournalChange change;
    if (fileSchemaVersion() < 2) {
        return change;
    }
    QSqlQuery row = prepare(QStringLiteral(R"(SELECT sorte, description FROM "journal" WHERE id = ?)"));
    row.addBindValue(id);
    exec(row);
    if (!next(row)) {
        return change;
    }
    change.kind = row.value(0).toString();
    change.description = row.value(1).toString();
    QSqlQuery entries = prepare(QStringLiteral(
        R"(SELECT "série", ref, avant, "après" FROM "journal_entrées" WHERE change = ? ORDER BY rowid)"));
    entries.addBindValue(id);
    exec(entries);
    while (next(entries)) {
        const int category = categoryOfTable(entries.value(0).toString());
        if (category < 0) {
            throw CatalogueError(Kind::Read, CatalogueTexts::journalUnreadable().arg(id));
        }
        change.entries.append({category, entries.value(1).toString(), decoded(entries.value(2), id),
                               decoded(entries.value(3), id)});
    }
    QSqlQuery names =
        prepare(QStringLiteral(R"(SELECT nom, "ajouté" FROM "journal_auteurs" WHERE change = ? ORDER BY rowid)"));
    names.addBindValue(id);
    exec(names);
    while (next(names)) {
        (names.value(1).toInt() != 0 ? change.authorsAdded : change.authorsRemoved).append(names.value(0).toString());
    }
    return change;
}

UndoOutcome Catalogue::undo()
{
    return takeBack(false);
}

UndoOutcome Catalogue::redo()
{
    return takeBack(true);
}

UndoOutcome Catalogue::takeBack(bool redo)
{
    UndoOutcome outcome;
    // Asked before the transaction too, so that nothing to do takes no backup and no lock.
    if (!(redo ? redoable() : undoable())) {
        outcome.refusal = redo ? CatalogueTexts::nothingToRedo() : CatalogueTexts::nothingToUndo();
        return outcome;
    }
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    const std::optional<JournalRecord> target = redo ? redoable() : undoable();
    if (!target) {
        outcome.refusal = redo ? CatalogueTexts::nothingToRedo() : CatalogueTexts::nothingToUndo();
        return outcome;
    }
    outcome.change = *target;
    JournalChange step;
    if (redo) {
        // The undo itself says exactly what it did (which names left the register): its inverse puts it back.
        QSqlQuery last = prepare(QStringLiteral(R"(SELECT MAX(id) FROM "journal" WHERE cible = ?)"));
        last.addBindValue(target->id);
        exec(last);
        step = inverse(journalChange(next(last) ? last.value(0).toLongLong() : 0));
    } else {
        step = inverse(journalChange(target->id));
    }
    JournalChange written;
    if (const auto reason = applyEntries(step, !redo, written)) {
        outcome.refusal =
            (redo ? CatalogueTexts::redoRefused() : CatalogueTexts::undoRefused()).arg(target->description, *reason);
        return outcome;
    }
    written.kind = redo ? JournalKind::redo() : JournalKind::undo();
    written.description =
        (redo ? CatalogueTexts::redoDescription() : CatalogueTexts::undoDescription()).arg(target->description);
    writeJournal(written, target->id);
    QSqlQuery mark = prepare(QStringLiteral(R"(UPDATE "journal" SET "état" = ? WHERE id = ?)"));
    mark.addBindValue(redo ? done : undone);
    mark.addBindValue(target->id);
    execWrite(mark);
    rollback.dismiss();
    commitWrite();
    for (const EntryChange& entry : written.entries) {
        if (!outcome.series.contains(entry.category)) {
            outcome.series.append(entry.category);
        }
    }
    return outcome;
}
