#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueSql.h"

#include <QScopeGuard>
#include <QSqlQuery>

using namespace CatalogueSql;

QList<FindingMark> Catalogue::marks() const
{
    QList<FindingMark> marks;
    if (fileSchemaVersion() < marksSchemaVersion) {
        return marks; // a file not yet upgraded, or opened read-only, has none
    }
    QSqlQuery query = prepare(QStringLiteral(R"(SELECT "clé", constat, date FROM marques ORDER BY date, "clé")"));
    exec(query);
    while (next(query)) {
        marks.append({query.value(0).toString(), query.value(1).toString(),
                      QDateTime::fromString(query.value(2).toString(), Qt::ISODate)});
    }
    return marks;
}

void Catalogue::addMark(const FindingMark& mark)
{
    upgradeSchema();
    beginWrite();
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    QSqlQuery insert =
        prepare(QStringLiteral(R"(INSERT OR REPLACE INTO marques ("clé", constat, date) VALUES (?, ?, ?))"));
    for (const QString& value : {mark.key, mark.text, mark.marked.toUTC().toString(Qt::ISODate)}) {
        insert.addBindValue(text(value));
    }
    execWrite(insert);
    insert.finish();
    rollback.dismiss();
    commitWrite();
}

void Catalogue::removeMark(const QString& key)
{
    if (fileSchemaVersion() < marksSchemaVersion) {
        return;
    }
    beginWrite();
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    QSqlQuery remove = prepare(QStringLiteral(R"(DELETE FROM marques WHERE "clé" = ?)"));
    remove.addBindValue(text(key));
    execWrite(remove);
    remove.finish();
    rollback.dismiss();
    commitWrite();
}
