#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QList>
#include <QString>

#include <optional>

/// The search of a category's answers for a text.
namespace Search {

/// Why a search may not run, or nothing. `categoryChosen` comes first: without a category even an empty
/// criterion gets the category message. `criterion` is the text as typed; only its trimmed form counts.
std::optional<QString> refusal(bool categoryChosen, const QString& criterion);

/// Upper case one character for one (simple case mapping): é becomes É, ß stays ß.
QString upperCase(const QString& text);

/// Whether the answer contains the criterion once both are in upper case. The criterion is used as given.
bool matches(const QString& answer, const QString& criterion);

/// The entries whose answer contains the criterion, in the order given (the table's stored order).
QList<PuzzleEntry> hits(const QList<PuzzleEntry>& entries, const QString& criterion);

} // namespace Search
