#include "history/BackupRestoreWindow.h"

#include "catalogue/CatalogueError.h"
#include "history/HistoryTexts.h"
#include "ui/Named.h"
#include "ui/WindowPlacement.h"
#include "ui/Workspace.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString shownDate(const BackupCopy& copy)
{
    return copy.made.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace

BackupRestoreWindow::BackupRestoreWindow(const Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_workspace(workspace)
    , m_commit([](QSaveFile& file) { return file.commit(); })
    , m_list(named(new QTableWidget(this), QStringLiteral("sauvegardes_liste")))
    , m_restore(named(new QPushButton(HistoryTexts::restoreButton(), this), QStringLiteral("sauvegardes_restaurer")))
{
    setObjectName(QStringLiteral("sauvegardes"));
    setWindowTitle(HistoryTexts::backupsTitle());
    QStringList headers{HistoryTexts::dateHeader()};
    for (const Category& category : Category::all()) {
        headers.append(category.caption);
    }
    headers.append(HistoryTexts::checkHeader());
    m_list->setColumnCount(int(headers.size()));
    m_list->setHorizontalHeaderLabels(headers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(760, 360);
    WindowPlacement::closeOnEscape(*this);
    connect(m_restore, &QPushButton::clicked, this, &BackupRestoreWindow::restore);
}

void BackupRestoreWindow::reload()
{
    const CatalogueBackup backups(m_workspace.folder.backups());
    m_copies.clear();
    const QStringList paths = backups.copies(*m_workspace.catalogue);
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
        m_copies.append(CatalogueBackup::inspect(*path));
    }
    m_list->setRowCount(int(m_copies.size()));
    for (int row = 0; row < m_copies.size(); ++row) {
        const BackupCopy& copy = m_copies.at(row);
        QStringList cells{shownDate(copy)};
        for (const int count : copy.counts) {
            cells.append(copy.usable ? QString::number(count) : QString());
        }
        cells.append(copy.integrity);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            // A copy that fails the check can be read but not chosen.
            item->setFlags(copy.usable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
            m_list->setItem(row, column, item);
        }
    }
    m_list->resizeColumnsToContents();
}

void BackupRestoreWindow::restore()
{
    Messenger& messenger = m_workspace.messenger();
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_copies.size() || !m_copies.at(row).usable) {
        messenger.warning(m_copies.isEmpty()
                              ? HistoryTexts::noBackups().arg(QDir::toNativeSeparators(m_workspace.folder.backups()))
                              : HistoryTexts::chooseBackup());
        return;
    }
    const BackupCopy copy = m_copies.at(row);
    if (!messenger.ask(HistoryTexts::restoreQuestion().arg(shownDate(copy)))) {
        return;
    }
    try {
        CatalogueBackup(m_workspace.folder.backups()).restore(*m_workspace.catalogue, copy.path, m_commit);
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        reload();
        return;
    }
    if (m_workspace.events) {
        emit m_workspace.events->catalogueReplaced();
    }
    reload();
    messenger.show(
        Messenger::Icon::Information,
        HistoryTexts::restored().arg(shownDate(copy), QDir::toNativeSeparators(m_workspace.folder.backups())));
}
