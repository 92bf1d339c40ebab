#pragma once

#include <QString>

class CatalogueFolder;
class Messenger;

/// `--history [--last N]` and `--undo`: the journal of changes from the command line.
namespace HistoryCommands {
/// Prints the newest `last` changes (20 when empty), one per line, newest first. 2 for a bad count.
int printHistory(const QString& last, const CatalogueFolder& folder, Messenger& messenger);
/// Undoes the newest change and says which; 1 with the reason when it cannot.
int undoLast(const CatalogueFolder& folder, Messenger& messenger);
} // namespace HistoryCommands
