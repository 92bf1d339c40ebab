#pragma once

#include "transfer/ImportInput.h"

#include <QStringList>

#include <functional>

class Catalogue;

/// A folder of five CSV files, one per table: `dravé.csv`, `plomé.csv`, `tusqué.csv`, `titres.csv`, `auteurs.csv`.
namespace CsvFolder {

/// Gives a file a name that no file holds; returns false with the reason in `error`. The export renames through
/// it (tests make it fail).
using Rename = std::function<bool(const QString& from, const QString& to, QString& error)>;
/// QFile::rename.
bool rename(const QString& from, const QString& to, QString& error);

/// Writes the catalogue's five files into `folder` (made if missing): entries in number order, authors in the
/// register's stored order, the table's field names on the first line, every value as stored (a value that a
/// spreadsheet would run as a formula is guarded, see Csv::guarded). The five files replace an earlier export
/// together or not at all: the new ones are written beside it, the earlier ones set aside, the new ones put in
/// place, and the earlier ones put back should one of those steps fail. Returns their names. Throws
/// `CatalogueError` (Read while reading the catalogue, Write when the files cannot be written: the message says
/// which files the folder then holds; folders made for the export are removed).
QStringList write(const Catalogue& catalogue, const QString& folder, const Rename& rename = &CsvFolder::rename);

/// The files of `folder` for an import: an absent file is an empty table, named in `absent`; a folder without any
/// of the five, or a file that is too large or cannot be read, is a problem.
ImportInput read(const QString& folder);

} // namespace CsvFolder
