#pragma once

#include "catalogue/PuzzleEntry.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// The kinds of change the journal knows, as stored in its `sorte` column. Writers of other changes may add kinds
/// of their own (a short French word); the journal treats every kind alike.
namespace JournalKind {
inline QString add() { return QStringLiteral("ajout"); }
inline QString update() { return QStringLiteral("maj"); }
inline QString import() { return QStringLiteral("import"); }
inline QString version() { return QStringLiteral("version"); }
inline QString merge() { return QStringLiteral("fusion"); }
inline QString undo() { return QStringLiteral("annulation"); }
inline QString redo() { return QStringLiteral("rétablissement"); }
} // namespace JournalKind

/// One entry of a change: what entry `ref` of series `category` (descriptor index) was before and after. No
/// `before` is an entry the change adds; no `after`, one it removes (only ever the last of its series).
struct EntryChange {
    int category = 0;
    QString ref;
    std::optional<PuzzleEntry> before;
    std::optional<PuzzleEntry> after;

    friend bool operator==(const EntryChange&, const EntryChange&) = default;
};

/// One change of the catalogue, one step of undo: its entries and the names it adds to or removes from the register
/// of authors, with its kind and its French description as a noun phrase ("l'ajout de Dravé 315"), which the menus
/// complete into "Annuler l'ajout de Dravé 315".
struct JournalChange {
    QString kind;
    QString description;
    QList<EntryChange> entries;
    QStringList authorsAdded;   ///< inserted exactly as given, one row each
    QStringList authorsRemoved; ///< one row of exactly that name removed for each

    friend bool operator==(const JournalChange&, const JournalChange&) = default;
};

/// One change as the journal keeps it, for the history and the menus.
struct JournalRecord {
    enum class State {
        Done,     ///< on the undo stack
        Undone,   ///< on the redo stack
        Settled,  ///< an undone change that a later change left behind, or an undo or a redo itself
    };
    qint64 id = 0;
    QDateTime when; ///< UTC
    QString kind;
    QString description;
    /// The series and number of the change's first entry (for an entry's history: of that entry); -1 and empty
    /// for a change of the register only.
    int category = -1;
    QString ref;
    int entryCount = 0;
    std::optional<PuzzleEntry> before;
    std::optional<PuzzleEntry> after;
    State state = State::Settled;
    qint64 target = 0; ///< for an undo or a redo: the change it took back or put back
};

/// What undo or redo did: nothing with a French reason, or the change taken back or put back and the series that
/// changed (descriptor indexes).
struct UndoOutcome {
    std::optional<QString> refusal;
    JournalRecord change;
    QList<int> series;
};
