#include "catalogue/CatalogueSql.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace CatalogueSql {

using Kind = CatalogueError::Kind;

bool isLockError(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == u"5" || code == u"6";
}

bool isReadOnlyError(const QSqlError& error)
{
    return error.nativeErrorCode() == u"8";
}

QString engineText(const QSqlError& error)
{
    // Qt's own words (French once translated) first, the engine's English on a line of its own.
    QStringList lines;
    for (const QString& text : {error.driverText().trimmed(), error.databaseText().trimmed()}) {
        if (!text.isEmpty()) {
            lines.append(text);
        }
    }
    return lines.join(u'\n');
}

QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

void throwOpenError(const QString& path, const QSqlError& error)
{
    if (isLockError(error)) {
        throw CatalogueError(Kind::Locked, CatalogueTexts::locked().arg(path), engineText(error));
    }
    throw CatalogueError(Kind::NotACatalogue, CatalogueTexts::notACatalogue().arg(path), engineText(error));
}

PuzzleEntry entryAt(const QSqlQuery& query)
{
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
            query.value(4).toString()};
}

ArchiveRecord recordAt(const QSqlQuery& query)
{
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
            QDateTime::fromString(query.value(3).toString(), Qt::ISODate)};
}

} // namespace CatalogueSql
