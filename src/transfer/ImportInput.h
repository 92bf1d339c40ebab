#pragma once

#include "catalogue/Category.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

/// A problem that stops an import: where (a file, or a table of the old program's file), the line there (0 for the
/// whole source) and why, in French.
struct ImportProblem {
    QString source;
    int line = 0;
    QString reason;
};

/// The text of one table as an import reads it, named for the report.
struct ImportTable {
    QString source;
    QByteArray bytes;
    /// Written by our export: a value that a spreadsheet would run as a formula carries an apostrophe in front.
    bool guardedValues = false;
    /// What the keeper can do when the table's numbers do not follow from 001 (empty: mend the file itself).
    QString renumbering;
};

/// What an import reads: the four series in descriptor order, then the register of authors. A table that is absent
/// is an empty one, named in `absent` as the report words it; `problems` holds what went wrong while gathering them.
struct ImportInput {
    static constexpr int Tables = 5;
    static constexpr int Authors = 4; ///< the register's place in `tables`
    /// A full catalogue makes a few hundred kilobytes: a larger table is refused unread.
    static constexpr qint64 maxTableBytes = 32 * 1024 * 1024;

    /// The table's name in our schema (and in the old program's file): `dravé` … `titres`, `auteurs`.
    static QString tableName(int table)
    {
        return table == Authors ? QStringLiteral("auteurs") : Category::all().at(table).table;
    }
    static QString fileName(int table) { return tableName(table) + QStringLiteral(".csv"); }

    std::array<std::optional<ImportTable>, Tables> tables;
    QStringList absent;
    QList<ImportProblem> problems;
};
