#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QScopeGuard>
#include <QSqlQuery>

using namespace CatalogueSql;
using Kind = CatalogueError::Kind;

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
