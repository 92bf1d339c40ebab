#pragma once

#include "transfer/ImportInput.h"

#include <QStringList>

class Catalogue;

/// A folder of five CSV files, one per table: `dravé.csv`, `plomé.csv`, `tusqué.csv`, `titres.csv`, `auteurs.csv`.
namespace CsvFolder {

/// Writes the catalogue's five files into `folder` (made if missing): entries in number order, authors in the
/// register's stored order, the table's field names on the first line, every value exactly as stored. The files
/// replace earlier ones only once all five are written. Returns their names. Throws `CatalogueError` (Read while
/// reading the catalogue, Write when a file cannot be written: an earlier export is then left whole).
QStringList write(const Catalogue& catalogue, const QString& folder);

/// The files of `folder` for an import: an absent file is an empty table; a folder without any of the five, or a
/// file that is too large or cannot be read, is a problem.
ImportInput read(const QString& folder);

} // namespace CsvFolder
