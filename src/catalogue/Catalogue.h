#pragma once

#include "catalogue/ArchiveRecord.h"
#include "catalogue/Category.h"
#include "catalogue/FindingMark.h"
#include "catalogue/JournalChange.h"
#include "catalogue/PuzzleEntry.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <optional>

class QSaveFile;
class QSqlQuery;

/// Orders in which a category can be read. Text orders follow French collation without regard to case;
/// entries with equal texts keep number order.
enum class EntryOrder { Stored, ByNumber, ByAnswer, ByAuthor };

/// The four series of a catalogue in stored order, as a connection of their own read them.
using SeriesContent = std::array<QList<PuzzleEntry>, 4>;

/// The open catalogue file and every operation the program performs on it.
///
/// Each instance owns a named QtSql connection. Every statement binds its values; table and field names come
/// from the `Category` descriptor only. Failures throw `CatalogueError`; every write is one durable transaction
/// (rollback journal truncated at commit, synchronous FULL), so a failed write leaves the file as it was.
///
/// The class is the one door to the file; its parts live in files of their own: the connection and its
/// transactions (Catalogue.cpp), the schema and its upgrades (CatalogueSchema.cpp), the series' entries
/// (CatalogueEntries.cpp), the author register (CatalogueAuthors.cpp), the records of kept pictures
/// (CataloguePictures.cpp), the journal of changes with undo and redo (CatalogueJournal.cpp) and the restoring of a
/// backup (CatalogueRestore.cpp), with what they share in CatalogueSql.
class Catalogue {
public:
    enum class AppendResult { Added, AlreadyExists };
    /// ReadOnly: every write is refused as for a read-only file (a folder whose lock cannot be written).
    enum class Access { ReadWrite, ReadOnly };

    /// Opens an existing catalogue and checks that its tables and fields are all there.
    /// Throws `CatalogueError` (Missing, NotACatalogue, Locked, OutOfDate, MissingTables); the file is not written.
    explicit Catalogue(const QString& path, Access access = Access::ReadWrite);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    /// Creates a new, empty catalogue file from the project's schema. Throws if the file exists or cannot be made.
    static void create(const QString& path);
    /// The schema that `create` runs, one statement per element.
    static QStringList schemaStatements();

    const QString& path() const { return m_path; }

    /// Every entry of a category in the given order.
    QList<PuzzleEntry> entries(const Category& category, EntryOrder order) const;
    /// The entry whose number is exactly `ref`, if any.
    std::optional<PuzzleEntry> entry(const Category& category, const QString& ref) const;
    int count(const Category& category) const;
    /// The numbers that more than one entry carries, in number order. Our own files cannot have any; a file made
    /// by another tool, without the unique index, may.
    QStringList repeatedNumbers(const Category& category) const;

    /// Reads the four series through a read-only connection of its own, on any thread: the load step reads them on
    /// a worker while the window is built. Nothing when the file cannot be read; the load step then reads and reports.
    static std::optional<SeriesContent> readSeries(const QString& path);
    /// A mark of the file's state, to take before `readSeries` starts.
    qint64 contentMark() const;
    /// Keeps the series that `readSeries` read after `mark` as this instance's copies. Should another connection
    /// have committed since the mark, the next read finds out and reads the file again.
    void adoptSeries(SeriesContent content, qint64 mark);

    /// Appends an entry unless its number is taken. For a category that registers authors, an author that the
    /// register does not hold (compared without regard to case) is registered in the same transaction, which also
    /// writes the change to the journal.
    AppendResult append(const Category& category, const PuzzleEntry& entry);
    /// Rewrites the five fields of the entry numbered `ref` (the first stored one, should the number be repeated).
    /// Returns false when there is no such entry. A rewrite that changes a field is journaled in its transaction.
    bool rewrite(const Category& category, const QString& ref, const PuzzleEntry& entry);

    /// The register of authors, in stored order.
    QStringList authors() const;
    /// Whether the register holds `name`, compared without regard to case (accented letters included).
    bool isAuthorRegistered(const QString& name) const;

    /// Called once, before the first write of this instance (the automatic backup hooks in here).
    void setBeforeFirstWrite(std::function<void()> hook) { m_beforeFirstWrite = std::move(hook); }

    /// The connection, for tools that need raw access (backups, benchmarks). Widgets never use it.
    QSqlDatabase database() const;

    // The catalogue in and out of other files.

    /// Whether the catalogue holds no entry and no author.
    bool isEmpty() const;
    /// Writes whole series (descriptor order) and the register, values exactly as given, in one transaction, into
    /// an empty catalogue, journaled as one change. Returns false, writing nothing, when the catalogue holds an entry
    /// or an author.
    bool fillEmpty(const std::array<QList<PuzzleEntry>, 4>& series, const QStringList& authors);

private:
    QSqlQuery prepare(const QString& sql) const;
    void exec(QSqlQuery& query) const;
    void execWrite(QSqlQuery& query);
    void checkTables();
    void beginWrite();
    void commitWrite();
    void rollbackWrite();
    /// The query's next row: false after the last one, a read error when the engine failed on the way.
    bool next(QSqlQuery& query) const;
    [[noreturn]] void throwReadError(const QSqlQuery& query) const;
    [[noreturn]] void throwWriteError(const QString& detail);
    QString quoted(const QString& identifier) const;
    /// Drops the copies when another connection changed the file. Returns true when they are still good.
    bool refreshCache() const;
    void invalidateCache() const;
    const QList<PuzzleEntry>& storedEntries(const Category& category) const;
    const QList<PuzzleEntry>& numberedEntries(const Category& category) const;

    QString m_path;
    Access m_access;
    QString m_connection;
    bool m_wrote = false;
    std::function<void()> m_beforeFirstWrite;
    // Copies of each series in stored and in number order and of the register, kept until a write or another
    // connection's commit: every grid fill, sort, search and statistics rebuild reads them.
    mutable std::array<std::optional<QList<PuzzleEntry>>, 4> m_stored;
    mutable std::array<std::optional<QList<PuzzleEntry>>, 4> m_numbered; // the same in number order
    mutable std::optional<QStringList> m_authors;
    mutable qint64 m_dataVersion = -1;
    mutable qint64 m_generation = 0; ///< counts the times the copies were dropped

    // The records of the image archive, and the schema upgrade that brought their table.
public:
    /// The version of the schema that `create` writes (PRAGMA user_version); 0 is the first catalogue, without
    /// the table of kept pictures; 1 has it, without the journal of changes; 2 has the journal, without the
    /// marks of the consistency check.
    static constexpr int schemaVersion = 3;
    /// The version the file carries.
    int fileSchemaVersion() const;
    /// Brings an older file to `schemaVersion` in one transaction, after the automatic backup of the first write.
    /// Returns false when the file was current already. Throws `CatalogueError`; a failed upgrade changes nothing.
    bool upgradeSchema();
    /// The record of the kept picture of entry `ref`, if any. A file not yet upgraded has none.
    std::optional<ArchiveRecord> archiveRecord(const Category& category, const QString& ref) const;
    /// Every record of a series.
    QList<ArchiveRecord> archiveRecords(const Category& category) const;
    /// Writes (or replaces) the record of `record.ref`, upgrading the file first if it is older.
    void recordArchive(const Category& category, const ArchiveRecord& record);

    // The journal of changes, undo and redo.
public:
    /// The journal keeps the newest `journalKept` changes: each journaled write drops the older ones in its own
    /// transaction.
    static constexpr int journalKept = 10'000;
    /// Applies `change` and journals it, in one transaction, once every entry still holds its `before` (an entry
    /// it adds: its number is free; one it removes: it is the last of its series) and every name it removes is
    /// registered. Returns the French reason of a refusal, which writes nothing. Throws `CatalogueError`.
    std::optional<QString> applyChange(const JournalChange& change);
    /// The change that `undo` would take back, and the one that `redo` would put back.
    std::optional<JournalRecord> undoable() const;
    std::optional<JournalRecord> redoable() const;
    /// Takes back the newest change still done, once its entries hold what it wrote and an entry it added is the
    /// last of its series; a name it registered leaves the register when no entry names it any more. Journaled.
    UndoOutcome undo();
    /// Puts back the change taken back last, as long as no other change came after that undo. Journaled.
    UndoOutcome redo();
    /// The newest `last` changes (every one when negative), newest first.
    QList<JournalRecord> journal(int last = -1) const;
    /// The changes of one entry, newest first, each with that entry's before and after.
    QList<JournalRecord> journalOf(const Category& category, const QString& ref) const;
    /// The whole of change `id` (empty when the journal has no such change).
    JournalChange journalChange(qint64 id) const;

    // Restoring a backup.
    /// Puts the catalogue file `copy` in place of this one as one atomic step and reopens on it. The copy is first
    /// written beside the catalogue under a temporary name; `beforeSwap` runs then (it may throw to give up);
    /// the connection is closed and `commit` moves the new file over the old (the file's own commit; a test may
    /// make it fail). On failure the catalogue is as it was, open again, and `CatalogueError` says why.
    void replaceFile(const QString& copy, const std::function<void()>& beforeSwap,
                     const std::function<bool(QSaveFile&)>& commit);

private:
    void open();
    void ensureCurrentSchema();
    /// Inside an open transaction: checks `change` then writes it, without its journal row. `done` receives what
    /// was written; with `keepNamed`, a name to remove that an entry still names stays. Returns a refusal's reason.
    std::optional<QString> applyEntries(const JournalChange& change, bool keepNamed, JournalChange& done);
    /// Inside an open transaction: the journal row of `change`. A change of its own (no `target`) goes on the undo
    /// stack and leaves the redo stack behind; an undo or a redo names its target.
    qint64 writeJournal(const JournalChange& change, qint64 target = 0);
    QList<JournalRecord> readJournal(const QString& where, const QVariantList& values, int limit,
                                     bool oldestFirst = false) const;
    UndoOutcome takeBack(bool redo);
    bool m_schemaCurrent = false;

    // The marks "Pas un problème" of the consistency check (CatalogueMarks.cpp).
public:
    /// The version of the schema that brought the table of marks.
    static constexpr int marksSchemaVersion = 3;
    /// Every mark, oldest first. A file not yet upgraded has none.
    QList<FindingMark> marks() const;
    /// Writes (or replaces) the mark of `mark.key`, upgrading the file first if it is older.
    void addMark(const FindingMark& mark);
    /// Removes the mark of `key`, if there is one.
    void removeMark(const QString& key);
};

/// Compares two author names as the register does: without regard to case, accented letters included.
bool sameAuthor(const QString& a, const QString& b);
