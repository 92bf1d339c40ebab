#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class Catalogue;
class CatalogueError;
class QSaveFile;

/// What a copy in the backups folder holds, read without writing to it.
struct BackupCopy {
    QString path;
    QDateTime made;             ///< from its name, else the file's date
    std::array<int, 4> counts{}; ///< entries per series, descriptor order
    QString integrity;          ///< the result of `PRAGMA integrity_check`: "ok", or what is wrong
    bool usable = false;        ///< a sound catalogue that may be put in place
};

/// Dated copies of the open catalogue, kept in one folder (the "sauvegardes" folder beside the catalogue).
///
/// A copy is named after the catalogue file and the local date and time, "Mézor-2026-12-06_18-45-03.db"; a second
/// copy in the same second gets "_02", "_03" … so that name order is the order in which copies were made. Only the
/// newest `kept` copies stay; files of other names in the folder are never touched.
class CatalogueBackup {
public:
    static constexpr int kept = 10;

    explicit CatalogueBackup(QString folder);

    /// Copies `catalogue` (a consistent snapshot, with `VACUUM INTO`) into the folder, creating the folder if needed,
    /// then deletes the oldest copies beyond `kept`. Returns the new copy's path. Throws `CatalogueError` when the copy
    /// cannot be made; a half-written copy is removed.
    QString take(const Catalogue& catalogue, const QDateTime& when = QDateTime::currentDateTime()) const;

    /// The copies of `catalogue` in the folder, oldest first.
    QStringList copies(const Catalogue& catalogue) const;

    /// Reads a copy: its date, its entries per series and the engine's integrity check.
    static BackupCopy inspect(const QString& path);

    /// Puts `copy` in place of the open catalogue, once it passed its check and a copy of the current catalogue
    /// was taken into the folder; the catalogue is then open on it. `commit` is the file's own commit (a test may make
    /// it fail). Throws `CatalogueError`; on failure the catalogue is as it was.
    void restore(Catalogue& catalogue, const QString& copy, const std::function<bool(QSaveFile&)>& commit) const;

    /// Makes `catalogue` take a copy into `folder` before its first write. A failure goes to `failed` and the write
    /// goes on: the write itself is still atomic, and refusing it would stop the keeper's work for a missing copy.
    static void install(Catalogue& catalogue, const QString& folder, std::function<void(const CatalogueError&)> failed);

private:
    QString freeName(const QString& baseName, const QDateTime& when) const;
    void rotate(const Catalogue& catalogue, const QString& newest) const;

    QString m_folder;
};
