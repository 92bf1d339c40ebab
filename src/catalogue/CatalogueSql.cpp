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
    return error.text().trimmed();
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
