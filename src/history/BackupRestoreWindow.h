#pragma once

#include "catalogue/CatalogueBackup.h"

#include <QWidget>

#include <functional>

class QPushButton;
class QSaveFile;
class QTableWidget;
struct Workspace;

/// The window "sauvegardes": the copies of the backups folder, newest first, each with its date, its entries per
/// series and the engine's integrity check. A copy that fails the check cannot be chosen; "Restaurer" puts the
/// chosen one in place of the catalogue after a copy of the current one, and the window shows it.
class BackupRestoreWindow : public QWidget {
    Q_OBJECT

public:
    BackupRestoreWindow(const Workspace& workspace, QWidget* parent = nullptr);

    /// Reads the folder again.
    void reload();
    /// The step that moves the new file over the catalogue; QSaveFile::commit unless a test stands in.
    void setCommit(std::function<bool(QSaveFile&)> commit) { m_commit = std::move(commit); }

private:
    void restore();

    const Workspace& m_workspace;
    QList<BackupCopy> m_copies;
    std::function<bool(QSaveFile&)> m_commit;
    QTableWidget* m_list;
    QPushButton* m_restore;
};
