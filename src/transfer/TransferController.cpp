#include "transfer/TransferController.h"

#include "catalogue/CatalogueError.h"
#include "transfer/CatalogueImport.h"
#include "transfer/CsvFolder.h"
#include "transfer/ImportReportDialog.h"
#include "transfer/TransferTexts.h"
#include "ui/DesktopOpener.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QScopeGuard>

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
    ImportOutcome outcome;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        outcome = CatalogueImport::run(CsvFolder::read(folder), [&catalogue]() -> Catalogue& { return catalogue; });
    }
    if (outcome.status == ImportOutcome::Status::Failed) {
        messenger.critical(outcome.heading, outcome.detail);
        return;
    }
    if (outcome.status == ImportOutcome::Status::Done) {
        emit imported(); // the window shows the new catalogue behind the report
    }
    auto* report =
        new ImportReportDialog(outcome.status == ImportOutcome::Status::Done, outcome.heading, outcome.lines, m_window);
    report->setAttribute(Qt::WA_DeleteOnClose);
    report->open();
}

void TransferController::openFolder()
{
    const QString folder = m_workspace.folder.path();
    if (!m_workspace.services.desktop->open(QUrl::fromLocalFile(folder))) {
        m_workspace.messenger().warning(TransferTexts::folderNotOpened().arg(QDir::toNativeSeparators(folder)));
    }
}
