#pragma once

#include "catalogue/AuthorList.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// Posts per registered author, counted over the register once indexed.
///
/// Names match as `sameAuthor` compares them: without regard to case, accented letters included. A name registered
/// twice in different cases is one author.
class Statistics {
public:
    explicit Statistics(const QStringList& registered);

    /// Counts the entries of each registered author, given the `auteur` of every entry of one category in stored
    /// order. Unregistered names count nowhere and authors without an entry are left out; each name is spelt as in
    /// its last entry. Sorted by count, largest first; equal counts keep the register's order.
    QList<AuthorCount> count(const QStringList& entryAuthors) const;

    /// The key under which names that `sameAuthor` holds equal meet: simple case folding, one character at a time.
    static QString foldedName(const QString& name);

private:
    QStringList m_authors;               ///< the first registered spelling of each distinct author
    QHash<QString, qsizetype> m_indexOf; ///< folded name → index in m_authors
};
