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
    QStringList lines; ///< what each series and the register received and what to look at, or every problem
    QString detail;    ///< the engine's text of a failure
};

/// The problems of an import as they are found: the first hundred of each source are kept for the report, the rest
/// only counted, so that a file wrong on every one of millions of lines takes no more memory than a short one.
class ImportProblems {
public:
    static constexpr qsizetype listedPerSource = 100;

    void add(ImportProblem problem);
    /// `reason` is asked for only when the problem is listed.
    void add(const QString& source, int line, const std::function<QString()>& reason);
    bool isEmpty() const { return m_total == 0; }
    /// Every problem added, listed or not.
    qsizetype total() const { return m_total; }
    const QList<ImportProblem>& listed() const { return m_listed; }
    /// One line per listed problem, with its source and line, then one line per source that had more.
    QStringList lines() const;

private:
    QList<ImportProblem> m_listed;
    QList<std::pair<QString, qsizetype>> m_perSource; ///< in order of first problem
    qsizetype m_total = 0;
};

/// The import of a whole catalogue: every row checked before anything is written, then one transaction.
namespace CatalogueImport {

struct Checked {
    ImportPlan plan;
    ImportProblems problems;
    QStringList notes; ///< what the keeper should know of a done import: files absent, numbers padded, doubts
};

/// Reads every table of `input` and checks every row. A table is read as UTF-8 when it is, as Windows-1252 when it
/// holds no UTF-8 at all, and refused when it mixes both. Columns are found by name in any order and letter case.
/// A number is one to three digits 0–9, padded to three, not 000, not twice in a file, and a series' numbers run
/// from 001 without a hole (adding to a series takes the next number); an answer and an author are not blank.
/// Authors that entries of a registering series name and the register lacks are added to it, as an add would.
Checked check(const ImportInput& input);

/// The report of a done import: what each series and the register received, then the notes.
QStringList summary(const Checked& checked);

/// The import's write, once `checked` holds no problem: one transaction into the catalogue that `open` gives,
/// which must hold no entry and no author. A store failure that `open` or the write throws is a Failed outcome.
ImportOutcome write(const Checked& checked, const std::function<Catalogue&()>& open);

/// Checks `input`, then writes it. `open` runs only once the input passed its checks, so a refused import creates
/// nothing.
ImportOutcome run(const ImportInput& input, const std::function<Catalogue&()>& open);

} // namespace CatalogueImport
