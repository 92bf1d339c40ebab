#pragma once

#include "catalogue/ArchiveRecord.h"
#include "catalogue/PuzzleEntry.h"

#include <QString>

class QSqlError;
class QSqlQuery;

// What the parts of the catalogue store share: how the engine's errors are read, and how rows become values.
namespace CatalogueSql {

/// SQLite result codes that mean "someone else holds the file".
bool isLockError(const QSqlError& error);
bool isReadOnlyError(const QSqlError& error);
QString engineText(const QSqlError& error);
/// A null QString binds as SQL NULL, which the NOT NULL fields refuse: an empty text is stored as ''.
QString text(const QString& value);
/// While opening, any failure but a lock means the file is not a catalogue we can read.
[[noreturn]] void throwOpenError(const QString& path, const QSqlError& error);
/// Number order by value: 2 before 10 also in a file whose numbers are stored as integers.
bool numberLess(const QString& a, const QString& b);
/// The current row of a "ref, answer, auteur, url, lien" read.
PuzzleEntry entryAt(const QSqlQuery& query);
/// The current row of a "ref, adresse, fichier, date" read of the kept pictures.
ArchiveRecord recordAt(const QSqlQuery& query);

} // namespace CatalogueSql
