#include "transfer/TransferController.h"

#include "catalogue/CatalogueError.h"
#include "transfer/CatalogueImport.h"
#include "transfer/CsvFolder.h"
#include "transfer/ImportReportDialog.h"
#include "transfer/TransferTexts.h"
#include "ui/DesktopOpener.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QProgressDialog>
#include <QThread>

#include <memory>

TransferController::TransferController(const Workspace& workspace, QWidget* window, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_window(window)
    , m_chooseFolder(
          [window](const QString& title) { return QFileDialog::getExistingDirectory(window, title, QDir::homePath()); })
{
}

void TransferController::addActions(QMenu& menu)
{
    const auto add = [&](const QString& name, const QString& text, void (TransferController::*slot)()) {
        QAction* action = menu.addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
    };
    add(QStringLiteral("mnu_exporter"), TransferTexts::exportAction(), &TransferController::exportCatalogue);
    add(QStringLiteral("mnu_importer"), TransferTexts::importAction(), &TransferController::importCatalogue);
    add(QStringLiteral("mnu_dossier"), TransferTexts::openFolderAction(), &TransferController::openFolder);
}

void TransferController::exportCatalogue()
{
    const QString folder = m_chooseFolder(TransferTexts::chooseExportFolder());
    if (folder.isEmpty()) {
        return;
    }
    Messenger& messenger = m_workspace.messenger();
    try {
        const QStringList names = CsvFolder::write(*m_workspace.catalogue, folder);
        messenger.show(Messenger::Icon::Information, TransferTexts::exported().arg(QDir::toNativeSeparators(folder),
                                                                                   names.join(QStringLiteral(", "))));
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
    }
}

void TransferController::importCatalogue()
{
    if (m_progress && !m_progress->wasCanceled()) {
        return; // an import's files are being checked, its box about to show
    }
    Messenger& messenger = m_workspace.messenger();
    Catalogue& catalogue = *m_workspace.catalogue;
    // Refused before the keeper looks for files; asked again in the import's own transaction.
    try {
        if (!catalogue.isEmpty()) {
            messenger.warning(TransferTexts::notEmpty());
            return;
        }
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return;
    }
    const QString folder = m_chooseFolder(TransferTexts::chooseImportFolder());
    if (folder.isEmpty()) {
        return;
    }
    // Reading and checking the files takes seconds for a large wrong file: they run on a thread of their own while
    // the window waits behind a progress box. Only the write, one transaction, runs here, once the check is over;
    // the catalogue's connection belongs to this thread.
    auto checked = std::make_shared<CatalogueImport::Checked>();
    QThread* worker =
        QThread::create([folder, checked] { *checked = CatalogueImport::check(CsvFolder::read(folder)); });
    // A cancelled check runs on to its end, and its result is dropped: nothing has been written.
    QPointer<QProgressDialog> progress =
        new QProgressDialog(TransferTexts::importing(), TransferTexts::cancel(), 0, 0, m_window);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(500);
    m_progress = progress;
    // The thread is its own owner: should the window close first, it ends and goes without it.
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [this, checked, progress] {
        const bool wanted = progress && !progress->wasCanceled();
        delete progress;
        if (wanted) {
            finishImport(*checked);
        }
    });
    worker->start();
}

void TransferController::finishImport(const CatalogueImport::Checked& checked)
{
    Catalogue& catalogue = *m_workspace.catalogue;
    const ImportOutcome outcome = CatalogueImport::write(checked, [&catalogue]() -> Catalogue& { return catalogue; });
    if (outcome.status == ImportOutcome::Status::Failed) {
        m_workspace.messenger().critical(outcome.heading, outcome.detail);
        emit importEnded();
        return;
    }
    if (outcome.status == ImportOutcome::Status::Done) {
        emit imported(); // the window shows the new catalogue behind the report
    }
    auto* report =
        new ImportReportDialog(outcome.status == ImportOutcome::Status::Done, outcome.heading, outcome.lines, m_window);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->open();
    emit importEnded();
}

void TransferController::openFolder()
{
    const QString folder = m_workspace.folder.path();
    if (!m_workspace.services.desktop->open(QUrl::fromLocalFile(folder))) {
        m_workspace.messenger().warning(TransferTexts::folderNotOpened().arg(QDir::toNativeSeparators(folder)));
    }
}
