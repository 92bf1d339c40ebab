#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <atomic>

namespace {

using Kind = CatalogueError::Kind;

// SQLite result codes that mean "someone else holds the file".
bool isLockError(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == u"5" || code == u"6";
}

// A null QString binds as SQL NULL, which the NOT NULL fields refuse: an empty text is stored as ''.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

bool isReadOnlyError(const QSqlError& error)
{
    return error.nativeErrorCode() == u"8";
}

QString engineText(const QSqlError& error)
{
    return error.text().trimmed();
}

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

// Number order by value: a file made by another tool may store its numbers as integers (1, 2, … 10), whose text
// order would put 10 before 2. Three-digit texts keep their order; equal values, and texts that are no number,
// fall back to the text.
bool numberLess(const QString& a, const QString& b)
{
    bool aNumeric = false;
    bool bNumeric = false;
    const qlonglong aValue = a.trimmed().toLongLong(&aNumeric);
    const qlonglong bValue = b.trimmed().toLongLong(&bNumeric);
    if (aNumeric != bNumeric) {
        return aNumeric;
    }
    if (aNumeric && aValue != bValue) {
        return aValue < bValue;
    }
    return a < b;
}

// While opening, any failure but a lock means the file is not a catalogue we can read.
[[noreturn]] void throwOpenError(const QString& path, const QSqlError& error)
{
    if (isLockError(error)) {
        throw CatalogueError(Kind::Locked, CatalogueTexts::locked().arg(path), engineText(error));
    }
    throw CatalogueError(Kind::NotACatalogue, CatalogueTexts::notACatalogue().arg(path), engineText(error));
}

// What each version of the schema adds to the one before: a file of version N runs the steps from N on. The
// statements match what schema.sql creates for a new catalogue.
const QList<QStringList>& upgradeSteps()
{
    static const QList<QStringList> steps = {
        // 0 → 1: the records of the image archive.
        {QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "images" ("série" TEXT NOT NULL, ref TEXT NOT NULL, )"
                        R"(adresse TEXT NOT NULL, fichier TEXT NOT NULL, date TEXT NOT NULL, )"
                        R"(CONSTRAINT idx_image UNIQUE ("série", ref)))")},
    };
    return steps;
}

// The current row of a "ref, answer, auteur, url, lien" read.
PuzzleEntry entryAt(const QSqlQuery& query)
{
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
            query.value(4).toString()};
}

// The current row of a "ref, adresse, fichier, date" read of the kept pictures.
ArchiveRecord recordAt(const QSqlQuery& query)
{
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
            QDateTime::fromString(query.value(3).toString(), Qt::ISODate)};
}

} // namespace

bool sameAuthor(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

Catalogue::Catalogue(const QString& path)
    : m_path(path)
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("mezor-catalogue-%1").arg(counter++);

    // QSQLITE would create an empty file for a missing path: the keeper must be asked first.
    if (!QFileInfo(path).isFile()) {
        throw CatalogueError(Kind::Missing, CatalogueTexts::missing().arg(path));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
        throw CatalogueError(Kind::NotACatalogue, CatalogueTexts::notACatalogue().arg(path),
                             engineText(db.lastError()));
    }
    try {
        // Rollback journal truncated at commit, synchronous FULL: a commit returns only once the database and the
        // emptied journal (the commit point) are flushed, so an entry the window shows is on the disk; no folder
        // entry changes at commit, and the catalogue stays one file the keeper can copy (no -wal/-shm). Cost and
        // reasons: docs/durability.md and the benchmark.
        QSqlQuery pragma(db);
        for (const char* sql : {"PRAGMA synchronous = FULL", "PRAGMA journal_mode = TRUNCATE"}) {
            if (!pragma.exec(QString::fromLatin1(sql))) {
                throwOpenError(path, pragma.lastError());
            }
        }
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next() || check.value(0).toString() != u"ok") {
            if (check.lastError().isValid()) {
                throwOpenError(path, check.lastError());
            }
            throw CatalogueError(Kind::NotACatalogue, CatalogueTexts::notACatalogue().arg(path),
                                 check.value(0).toString());
        }
        checkTables();
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

Catalogue::~Catalogue()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase Catalogue::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QStringList Catalogue::schemaStatements()
{
    QFile file(QStringLiteral(":/mezor/schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.trimmed().startsWith(u"--")) {
            text += line + u'\n';
        }
    }
    QStringList statements;
    for (const QString& statement : text.split(u';')) {
        if (!statement.trimmed().isEmpty()) {
            statements.append(statement.trimmed());
        }
    }
    return statements;
}

void Catalogue::create(const QString& path)
{
    if (QFileInfo::exists(path)) {
        throw CatalogueError(Kind::Write, CatalogueTexts::createFailed().arg(path), QStringLiteral("file exists"));
    }
    const QString connection = QStringLiteral("mezor-create");
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = engineText(db.lastError());
        } else {
            db.transaction();
            QSqlQuery query(db);
            const QStringList statements = schemaStatements();
            if (statements.isEmpty()) {
                failure = QStringLiteral("schema resource missing");
            }
            for (const QString& statement : statements) {
                if (failure.isEmpty() && !query.exec(statement)) {
                    failure = engineText(query.lastError());
                }
            }
            if (failure.isEmpty() && !db.commit()) {
                failure = engineText(db.lastError());
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty()) {
        QFile::remove(path);
        throw CatalogueError(Kind::Write, CatalogueTexts::createFailed().arg(path), failure);
    }
}

QString Catalogue::quoted(const QString& identifier) const
{
    return database().driver()->escapeIdentifier(identifier, QSqlDriver::TableName);
}

QSqlQuery Catalogue::prepare(const QString& sql) const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        throwReadError(query);
    }
    return query;
}

void Catalogue::exec(QSqlQuery& query) const
{
    if (!query.exec()) {
        throwReadError(query);
    }
}

bool Catalogue::next(QSqlQuery& query) const
{
    if (query.next()) {
        return true;
    }
    if (query.lastError().isValid()) {
        throwReadError(query);
    }
    return false;
}

void Catalogue::throwReadError(const QSqlQuery& query) const
{
    const QSqlError error = query.lastError();
    if (isLockError(error)) {
        throw CatalogueError(Kind::Locked, CatalogueTexts::locked().arg(m_path), engineText(error));
    }
    throw CatalogueError(Kind::Read, CatalogueTexts::readFailed().arg(m_path), engineText(error));
}

void Catalogue::checkTables()
{
    // Every table and field the program reads must be there before anything is shown; `titres` came last, so an
    // older file lacks it.
    auto check = [this](const QString& table, const QStringList& fields, Kind kind) {
        // The table's real columns: a SELECT of a missing "quoted" column would pass, since SQLite then reads the
        // name as a string literal.
        QSqlQuery query(database());
        QStringList missing = fields;
        if (query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"))) {
            query.addBindValue(table);
            if (query.exec()) {
                while (query.next()) {
                    const QString column = query.value(0).toString();
                    missing.removeIf(
                        [&](const QString& field) { return field.compare(column, Qt::CaseInsensitive) == 0; });
                }
            }
        }
        if (query.lastError().isValid()) {
            throwOpenError(m_path, query.lastError());
        }
        if (!missing.isEmpty()) {
            const QString message = kind == Kind::OutOfDate ? CatalogueTexts::outOfDate().arg(m_path)
                                                            : CatalogueTexts::missingTables().arg(m_path, table);
            const QString detail = missing.size() == fields.size()
                                       ? CatalogueTexts::absentTable().arg(table)
                                       : CatalogueTexts::absentFields().arg(table, missing.join(u", "));
            throw CatalogueError(kind, message, detail);
        }
    };
    for (const Category& category : Category::all()) {
        if (category.loadsInStoredOrder) {
            continue; // checked last, as the out-of-date case
        }
        check(category.table, category.fields(), Kind::MissingTables);
    }
    check(QStringLiteral("auteurs"), {QStringLiteral("nom")}, Kind::MissingTables);
    for (const Category& category : Category::all()) {
        if (category.loadsInStoredOrder) {
            check(category.table, category.fields(), Kind::OutOfDate);
        }
    }
}

bool Catalogue::refreshCache() const
{
    // data_version changes when another connection commits: the copies are dropped only then, and after our own
    // writes.
    QSqlQuery query = prepare(QStringLiteral("PRAGMA data_version"));
    exec(query);
    const qint64 version = query.next() ? query.value(0).toLongLong() : -1;
    if (version != m_dataVersion || version < 0) {
        m_dataVersion = version;
        invalidateCache();
        return false;
    }
    return true;
}

void Catalogue::invalidateCache() const
{
    for (auto& stored : m_stored) {
        stored.reset();
    }
    m_authors.reset();
}

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

QStringList Catalogue::authors() const
{
    refreshCache();
    if (m_authors) {
        return *m_authors;
    }
    QSqlQuery query = prepare(QStringLiteral("SELECT nom FROM auteurs"));
    exec(query);
    QStringList names;
    while (next(query)) {
        names.append(query.value(0).toString());
    }
    m_authors = names;
    return names;
}

bool Catalogue::isAuthorRegistered(const QString& name) const
{
    // SQLite folds only ASCII letters, so Léa and LÉA are compared here rather than in SQL.
    const QStringList names = authors();
    return std::any_of(names.begin(), names.end(), [&](const QString& n) { return sameAuthor(n, name); });
}

void Catalogue::beginWrite()
{
    if (!m_wrote) {
        m_wrote = true;
        if (m_beforeFirstWrite) {
            m_beforeFirstWrite();
        }
    }
    QSqlDatabase db = database();
    if (!db.transaction()) {
        throwWriteError(engineText(db.lastError()));
    }
}

void Catalogue::commitWrite()
{
    QSqlDatabase db = database();
    if (!db.commit()) {
        const QString detail = engineText(db.lastError());
        db.rollback();
        throwWriteError(detail);
    }
}

void Catalogue::rollbackWrite()
{
    database().rollback();
}

void Catalogue::throwWriteError(const QString& detail)
{
    const QSqlError error = database().lastError();
    if (detail.contains(u"readonly") || detail.contains(u"read-only") || isReadOnlyError(error)) {
        throw CatalogueError(Kind::Write, CatalogueTexts::readOnly().arg(m_path), detail);
    }
    if (detail.contains(u"locked")) {
        throw CatalogueError(Kind::Locked, CatalogueTexts::locked().arg(m_path), detail);
    }
    throw CatalogueError(Kind::Write, CatalogueTexts::writeFailed().arg(m_path), detail);
}

void Catalogue::execWrite(QSqlQuery& query)
{
    if (!query.exec()) {
        throwWriteError(engineText(query.lastError()));
    }
}

Catalogue::AppendResult Catalogue::append(const Category& category, const PuzzleEntry& entry)
{
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
    if (category.registersAuthors && !isAuthorRegistered(entry.author)) {
        QSqlQuery author = prepare(QStringLiteral("INSERT INTO auteurs (nom) VALUES (?)"));
        author.addBindValue(text(entry.author));
        execWrite(author);
    }
    QSqlQuery insert = prepare(QStringLiteral("INSERT INTO %1 (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                   .arg(quoted(category.table), quoted(category.answerField)));
    for (const QString& value : {entry.ref, entry.answer, entry.author, entry.url, entry.link}) {
        insert.addBindValue(text(value));
    }
    execWrite(insert);
    insert.finish();
    rollback.dismiss();
    commitWrite();
    return AppendResult::Added;
}

bool Catalogue::rewrite(const Category& category, const QString& ref, const PuzzleEntry& entry)
{
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    // Exactly one row: a file made by another tool may hold a number twice, and a correction must not turn
    // both entries into one. SQLite's rowid names the row that `entry` reads.
    QSqlQuery find =
        prepare(QStringLiteral("SELECT rowid FROM %1 WHERE ref = ? ORDER BY rowid").arg(quoted(category.table)));
    find.addBindValue(text(ref));
    execWrite(find);
    if (!find.next()) {
        return false;
    }
    const qlonglong row = find.value(0).toLongLong();
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
    for (const Category& category : Category::all()) {
        QSqlQuery insert = prepare(QStringLiteral("INSERT INTO %1 (ref, %2, auteur, url, lien) VALUES (?, ?, ?, ?, ?)")
                                       .arg(quoted(category.table), quoted(category.answerField)));
        for (const PuzzleEntry& entry : series.at(category.index)) {
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
    rollback.dismiss();
    commitWrite();
    return true;
}

int Catalogue::fileSchemaVersion() const
{
    QSqlQuery query = prepare(QStringLiteral("PRAGMA user_version"));
    exec(query);
    return query.next() ? query.value(0).toInt() : 0;
}

bool Catalogue::upgradeSchema()
{
    Q_ASSERT(upgradeSteps().size() == schemaVersion);
    const int version = fileSchemaVersion();
    if (version >= schemaVersion) {
        return false;
    }
    try {
        beginWrite();
        auto rollback = qScopeGuard([this] { rollbackWrite(); });
        for (qsizetype step = version; step < upgradeSteps().size(); ++step) {
            for (const QString& statement : upgradeSteps().at(step)) {
                QSqlQuery query = prepare(statement);
                execWrite(query);
            }
        }
        // PRAGMA takes no bound value; the number is ours.
        QSqlQuery stamp = prepare(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion));
        execWrite(stamp);
        rollback.dismiss();
        commitWrite();
    } catch (const CatalogueError& error) {
        throw CatalogueError(error.kind(), CatalogueTexts::upgradeFailed().arg(m_path),
                             error.message() + u'\n' + error.detail());
    }
    return true;
}

std::optional<ArchiveRecord> Catalogue::archiveRecord(const Category& category, const QString& ref) const
{
    if (fileSchemaVersion() < 1) {
        return std::nullopt;
    }
    QSqlQuery query =
        prepare(QStringLiteral(R"(SELECT ref, adresse, fichier, date FROM "images" WHERE "série" = ? AND ref = ?)"));
    query.addBindValue(category.table);
    query.addBindValue(text(ref));
    exec(query);
    if (!next(query)) {
        return std::nullopt;
    }
    return recordAt(query);
}

QList<ArchiveRecord> Catalogue::archiveRecords(const Category& category) const
{
    QList<ArchiveRecord> records;
    if (fileSchemaVersion() < 1) {
        return records;
    }
    QSqlQuery query = prepare(QStringLiteral(R"(SELECT ref, adresse, fichier, date FROM "images" WHERE "série" = ?)"));
    query.addBindValue(category.table);
    exec(query);
    while (next(query)) {
        records.append(recordAt(query));
    }
    return records;
}

void Catalogue::recordArchive(const Category& category, const ArchiveRecord& record)
{
    upgradeSchema();
    beginWrite();
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    QSqlQuery forget = prepare(QStringLiteral(R"(DELETE FROM "images" WHERE "série" = ? AND ref = ?)"));
    forget.addBindValue(category.table);
    forget.addBindValue(text(record.ref));
    execWrite(forget);
    QSqlQuery insert = prepare(
        QStringLiteral(R"(INSERT INTO "images" ("série", ref, adresse, fichier, date) VALUES (?, ?, ?, ?, ?))"));
    for (const QString& value :
         {category.table, record.ref, record.address, record.fileName, record.taken.toUTC().toString(Qt::ISODate)}) {
        insert.addBindValue(text(value));
    }
    execWrite(insert);
    insert.finish();
    rollback.dismiss();
    commitWrite();
}
