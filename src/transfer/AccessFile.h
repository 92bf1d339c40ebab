#pragma once

#include "transfer/ImportInput.h"

class CatalogueFolder;

/// The old program's catalogue, an Access file, read through mdbtools: `mdb-tables` lists its tables and
/// `mdb-export` prints each one as CSV (header line, comma, texts quoted with '"', quotes doubled). Both programs are
/// looked up on the PATH when they are needed and run with an argument list, without a shell.
namespace AccessFile {

/// The old program's file in a catalogue folder: "Mézor.mdb".
QString inFolder(const CatalogueFolder& folder);

/// The five tables of the file at `path` for an import, their names matched without regard to case. A table that
/// the file lacks is an empty one; a missing program (the message names the Debian package), a failed run or a
/// file without any of the five tables is a problem.
ImportInput read(const QString& path);

} // namespace AccessFile
