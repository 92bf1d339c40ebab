#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSql.h"
#include "catalogue/CatalogueTexts.h"

#include <QScopeGuard>
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

std::array<int, 4> Catalogue::mergeAuthors(const QStringList& spellings, const QString& kept)
{
    std::array<int, 4> rewritten{};
    QStringList others = spellings;
    others.removeAll(kept);
    if (others.isEmpty() || EntryText::isBlank(kept)) {
        return rewritten;
    }
    const QString placeholders = QStringList(others.size(), QStringLiteral("?")).join(u", ");
    beginWrite();
    const auto forget = qScopeGuard([this] { invalidateCache(); });
    auto rollback = qScopeGuard([this] { rollbackWrite(); });
    for (const Category& category : Category::all()) {
        QSqlQuery update = prepare(
            QStringLiteral("UPDATE %1 SET auteur = ? WHERE auteur IN (%2)").arg(quoted(category.table), placeholders));
        update.addBindValue(text(kept));
        for (const QString& name : std::as_const(others)) {
            update.addBindValue(text(name));
        }
        execWrite(update);
        rewritten[category.index] = update.numRowsAffected();
        update.finish();
    }
    // The register keeps the chosen spelling alone, if it held any of them.
    QSqlQuery forgetOthers = prepare(QStringLiteral("DELETE FROM auteurs WHERE nom IN (%1)").arg(placeholders));
    for (const QString& name : std::as_const(others)) {
        forgetOthers.addBindValue(text(name));
    }
    execWrite(forgetOthers);
    const bool wasRegistered = forgetOthers.numRowsAffected() > 0;
    forgetOthers.finish();
    QSqlQuery keep = prepare(QStringLiteral("INSERT INTO auteurs (nom) SELECT ? WHERE ? AND NOT EXISTS "
                                            "(SELECT 1 FROM auteurs WHERE nom = ?)"));
    keep.addBindValue(text(kept));
    keep.addBindValue(wasRegistered);
    keep.addBindValue(text(kept));
    execWrite(keep);
    keep.finish();
    rollback.dismiss();
    commitWrite();
    return rewritten;
}
