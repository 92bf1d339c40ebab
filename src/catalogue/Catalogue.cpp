#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

using namespace CatalogueSql;
using Kind = CatalogueError::Kind;

Catalogue::Catalogue(const QString& path, Access access)
    : m_path(path)
    , m_readOnly(access == Access::ReadOnly)
{
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("mezor-catalogue-%1").arg(counter++);

    open();
}

void Catalogue::open()
{
    const QString& path = m_path;
    // QSQLITE would create an empty file for a missing path: the keeper must be asked first.
    if (!QFileInfo(path).isFile()) {
        throw CatalogueError(Kind::Missing, CatalogueTexts::missing().arg(path));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(m_readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000;QSQLITE_OPEN_READONLY")
                                                    : QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
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
