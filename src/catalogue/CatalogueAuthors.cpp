#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QSqlQuery>

#include <algorithm>

using namespace CatalogueSql;
using Kind = CatalogueError::Kind;

bool sameAuthor(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
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
