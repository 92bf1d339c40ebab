#pragma once

#include "catalogue/PuzzleEntry.h"
#include "transfer/ImportInput.h"

#include <QStringList>

#include <array>
#include <functional>

class Catalogue;

/// What a checked import writes: the entries of each series (descriptor order) and the register, exactly as read.
struct ImportPlan {
    std::array<QList<PuzzleEntry>, 4> series;
    QStringList authors;
};

/// How an import ended, for the window and the command line.
struct ImportOutcome {
    enum class Status { Done, Refused, Failed };
    Status status = Status::Refused;
    QString heading;   ///< one sentence
    QStringList lines; ///< what each series and the register received and the holes, or every problem
    QString detail;    ///< the engine's text of a failure
};

/// The import of a whole catalogue: every row checked before anything is written, then one transaction.
namespace CatalogueImport {

struct Checked {
    ImportPlan plan;
    QList<ImportProblem> problems;
};

/// Reads every table of `input` (UTF-8 with or without byte-order mark, else Windows-1252; columns found by name in
/// any order and letter case) and checks every row: a number of exactly three digits 0–9, not twice in a file; an
/// answer and an author that are not blank. Holes in the numbering are allowed.
Checked check(const ImportInput& input);

/// The report of a done import: what each series and the register received, an empty line, then the holes of each
/// series.
QStringList summary(const ImportPlan& plan);
/// One line per problem, with its source and line; beyond `perSource` problems of one source, one line counts the
/// rest.
QStringList problemLines(const QList<ImportProblem>& problems, int perSource = 100);

/// Checks `input`, then writes it in one transaction into the catalogue that `open` gives, which must hold no entry
/// and no author. `open` runs only once the input passed its checks, so a refused import creates nothing; a store
/// failure it throws becomes a Failed outcome.
ImportOutcome run(const ImportInput& input, const std::function<Catalogue&()>& open);

} // namespace CatalogueImport
