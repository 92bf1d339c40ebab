#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>

using namespace CatalogueSql;
using Kind = CatalogueError::Kind;

namespace {

// 2 → 3: the marks "Pas un problème" of the consistency check. A table of its own, which the series and the
// register never read: a file without it opens as before.
QStringList marksStep()
{
    return {QStringLiteral(R"(CREATE TABLE IF NOT EXISTS marques ("clé" TEXT NOT NULL PRIMARY KEY, )"
                           R"(constat TEXT NOT NULL, date TEXT NOT NULL))")};
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
        // 1 → 2: the journal of changes.
        {QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "journal" (id INTEGER PRIMARY KEY, date TEXT NOT NULL, )"
                        R"(sorte TEXT NOT NULL, description TEXT NOT NULL, "série" TEXT, ref TEXT, )"
                        R"(nombre INTEGER NOT NULL, "état" TEXT, cible INTEGER))"),
         QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "idx_journal_etat" ON "journal" ("état", id))"),
         QStringLiteral(
             R"(CREATE INDEX IF NOT EXISTS "idx_journal_cible" ON "journal" (cible) WHERE cible IS NOT NULL)"),
         QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "journal_entrées" (change INTEGER NOT NULL, )"
                        R"("série" TEXT NOT NULL, ref TEXT NOT NULL, avant TEXT, "après" TEXT))"),
         QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "idx_journal_change" ON "journal_entrées" (change))"),
         QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "idx_journal_entree" ON "journal_entrées" ("série", ref))"),
         QStringLiteral(R"(CREATE TABLE IF NOT EXISTS "journal_auteurs" (change INTEGER NOT NULL, )"
                        R"(nom TEXT NOT NULL, "ajouté" INTEGER NOT NULL))"),
         QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "idx_journal_auteurs" ON "journal_auteurs" (change))")},
        marksStep(),
    };
    return steps;
}

} // namespace

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
    m_schemaCurrent = true;
    return true;
}

void Catalogue::ensureCurrentSchema()
{
    // Journaled writes need the journal: an older file is brought up to date first, after its backup.
    if (!m_schemaCurrent) {
        upgradeSchema();
        m_schemaCurrent = true;
    }
}
