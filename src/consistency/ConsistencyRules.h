#pragma once

#include "catalogue/JournalChange.h"
#include "consistency/Finding.h"

#include <QSet>

/// The consistency check of a catalogue, as pure functions: what counts as the same answer, the same author and
/// the same address, and the pass over a snapshot that lists every finding.
namespace ConsistencyRules {

/// Answers are compared without case, accents (Unicode decomposition, combining marks dropped), punctuation and
/// the spaces around words: "Le Père Goriot" and " le pere goriot !" are the same.
QString answerKey(const QString& answer);
/// Pseudonyms are compared without case, accents and the spaces around them: "Léa", "lea " and "LÉA" are one
/// person; "Zoé" and "Zoé 2" are not.
QString authorKey(const QString& author);
/// An address as it is compared with the others: trimmed, exact; empty for "Non disponible" or nothing.
QString addressKey(const QString& address);
/// An address that is http(s), "Non disponible" or empty.
bool isAcceptedAddress(const QString& address);

/// Every finding, grouped by kind in `Finding::Kind` order, then by series and number.
QList<Finding> check(const CatalogueSnapshot& snapshot);
/// The findings whose key is not in `marked`.
QList<Finding> unmarked(const QList<Finding>& findings, const QSet<QString>& marked);

/// The one change that gives every entry signed by one of `spellings` the spelling `kept`, and leaves `kept` alone
/// in the register (registered if any of the spellings was). Empty when there is nothing to change.
JournalChange mergeChange(const CatalogueSnapshot& snapshot, const QStringList& spellings, const QString& kept);

/// The title of a group of the list.
QString kindTitle(Finding::Kind kind);
/// The findings as the command prints them: a title line per group, a line per finding, its entries indented.
QStringList report(const QList<Finding>& findings);

} // namespace ConsistencyRules
