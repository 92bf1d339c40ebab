#pragma once

#include "transfer/CatalogueImport.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QMenu;
class QProgressDialog;
class QWidget;
struct Workspace;

/// The menu "Catalogue" entries that take the catalogue in and out: the CSV export, the import into an empty
/// catalogue, and the catalogue's folder opened on the desktop.
class TransferController : public QObject {
    Q_OBJECT

public:
    /// Asks for a folder under the given title; an empty text means the keeper cancelled.
    using FolderChooser = std::function<QString(const QString& title)>;

    TransferController(const Workspace& workspace, QWidget* window, QObject* parent = nullptr);

    /// Adds "Exporter en CSV…", "Importer…" and "Ouvrir le dossier du catalogue" to `menu`.
    void addActions(QMenu& menu);
    /// Replaces the folder dialog (the tests and the benchmark answer with a path).
    void setFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

    void exportCatalogue();
    void importCatalogue();
    void openFolder();

signals:
    /// An import filled the catalogue: the window must show it as after a start.
    void imported();
    /// The import asked from the menu is over, its report on screen.
    void importEnded();

private:
    void finishImport(const CatalogueImport::Checked& checked);

    const Workspace& m_workspace;
    QWidget* m_window;
    FolderChooser m_chooseFolder;
    QPointer<QProgressDialog> m_progress; ///< the box of the import whose files are being checked
};
