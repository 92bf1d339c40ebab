#include "editing/EntryEditController.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "editing/EditingTexts.h"
#include "editing/EntryChecks.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/Workspace.h"

#include <QLineEdit>
#include <QTableView>

EntryEditController::EntryEditController(const Workspace& workspace, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
{
}

void EntryEditController::add(CategoryTab& tab)
{
    const Category& category = tab.category();
    GridModel* model = tab.model();
    const PuzzleEntry typed = tab.panel();
    // The next number is read from the grid, whatever order it shows: header row plus one row per entry.
    if (const auto refusal = EntryChecks::refuseAdd(category, typed, model->gridRowCount())) {
        m_workspace.messenger().warning(*refusal);
        return;
    }
    const PuzzleEntry entry = EntryChecks::withAddressDefaults(typed);

    // The file is written first; the grid follows only once the entry is stored, so they never disagree.
    Catalogue::AppendResult result;
    try {
        result = m_workspace.catalogue->append(category, entry);
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }
    if (result == Catalogue::AppendResult::AlreadyExists) {
        // The refused add still shows the keeper what would have been stored for the missing addresses; a box the
        // keeper typed in keeps its text, and its mark of an edit.
        for (auto [box, address] : {std::pair{tab.urlBox(), entry.url}, std::pair{tab.linkBox(), entry.link}}) {
            if (box->text().isEmpty()) {
                box->setText(address);
            }
        }
        m_workspace.messenger().warning(EditingTexts::alreadyExists(entry.ref));
        return;
    }

    model->setColumnAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    model->appendRow(CategoryTab::gridCells(entry));
    const int newRow = model->rowCount() - 1;
    tab.grid()->setCurrentIndex(model->index(newRow, 0));
    tab.scrollToGridRow(newRow + 1);
    // The author lists stay as they were built at start.
    tab.clearPanel();
    announce(category, entry.ref);
}

void EntryEditController::update(CategoryTab& tab)
{
    const Category& category = tab.category();
    const PuzzleEntry typed = tab.panel();
    if (const auto refusal = EntryChecks::refuseUpdate(category, typed)) {
        m_workspace.messenger().warning(*refusal);
        return;
    }

    Catalogue& catalogue = *m_workspace.catalogue;
    try {
        const std::optional<PuzzleEntry> stored = catalogue.entry(category, typed.ref);
        if (!stored ||
            !catalogue.rewrite(category, typed.ref,
                               EntryChecks::withStoredAddresses(
                                   typed, *stored, {tab.urlBox()->isModified(), tab.linkBox()->isModified()}))) {
            m_workspace.messenger().warning(EditingTexts::unknown(typed.ref));
            return;
        }
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }

    // The row that shows this number, not the current one: the keeper may have selected another row.
    GridModel* model = tab.model();
    const int row = model->findRow(0, typed.ref);
    if (row >= 0) {
        model->setColumnAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
        model->setRow(row, CategoryTab::gridCells(typed));
    }
    tab.clearPanel();
    announce(category, typed.ref);
}

void EntryEditController::announce(const Category& category, const QString& ref) const
{
    if (m_workspace.events) {
        emit m_workspace.events->entryEdited(category, ref);
    }
}
