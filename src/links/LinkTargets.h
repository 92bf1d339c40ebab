#pragma once

#include "catalogue/PuzzleEntry.h"
#include "links/LinkTarget.h"

#include <QSet>

/// The addresses that a run takes from the four series (given in descriptor order).
namespace LinkTargets {

/// Whether a stored address is meant for the web: it starts with "http://" or "https://", in any case, after any
/// leading spaces. It may still be malformed; the check then says so.
bool isWebAddress(const QString& address);

/// The link check: the image address then the forum address of every entry, series by series, that are web
/// addresses; the others are counted apart.
LinkJob check(const QList<QList<PuzzleEntry>>& series);

/// The archive: the image address of every entry whose number is not among the `fresh` ones of its series.
LinkJob archive(const QList<QList<PuzzleEntry>>& series, const QList<QSet<QString>>& fresh);

} // namespace LinkTargets
