#pragma once

#include "catalogue/JournalChange.h"

#include <QString>

/// How a change of the journal reads, in the history window and on the command line.
namespace JournalFormat {
/// Local date and time, "2026-12-07 14:03:21".
QString date(const JournalRecord& record);
/// "Dravé 315", or empty for a change of the register only.
QString entryName(const JournalRecord& record);
/// The fields that differ, "Nom : avant → après; Auteur : … → …", "—" for an entry that did not exist; long
/// texts cut. A change of several entries says how many more.
QString detail(const JournalRecord& record);
/// One line: date, entry, the change (marked when undone) and its detail.
QString line(const JournalRecord& record);
} // namespace JournalFormat
