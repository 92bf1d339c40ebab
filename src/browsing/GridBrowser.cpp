#include "browsing/GridBrowser.h"

#include "browsing/BrowsingTexts.h"
#include "browsing/ImageChoice.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/EntryAddress.h"
#include "ui/CategoryTab.h"
#include "ui/DesktopOpener.h"
#include "ui/GridModel.h"
#include "ui/Workspace.h"

namespace {

ImageChoice::Option option(CategoryTab::Display display)
{
    switch (display) {
    case CategoryTab::Display::Web:
        return ImageChoice::Option::Web;
    case CategoryTab::Display::Forum:
        return ImageChoice::Option::Forum;
    case CategoryTab::Display::Window:
        break;
    }
    return ImageChoice::Option::Window;
}

} // namespace

GridBrowser::GridBrowser(const Workspace& workspace, QObject* parent)
    : QObject(parent)
    , m_workspace(workspace)
{
}

void GridBrowser::sort(CategoryTab& tab, int column)
{
    static const EntryOrder orders[] = {EntryOrder::ByNumber, EntryOrder::ByAnswer, EntryOrder::ByAuthor};
    if (column < 0 || column >= int(std::size(orders))) {
        return;
    }
    try {
        tab.fill(m_workspace.catalogue->entries(tab.category(), orders[column]));
    } catch (const CatalogueError& error) {
        // The grid keeps the rows it showed.
        m_workspace.messenger().critical(error.message(), error.detail());
    }
}

std::optional<std::pair<PuzzleEntry, std::optional<PuzzleEntry>>> GridBrowser::takeIntoPanel(CategoryTab& tab,
                                                                                              int gridRow)
{
    const GridModel& model = *tab.model();
    const int row = gridRow - 1;
    if (row < 0 || row >= model.rowCount()) {
        return std::nullopt;
    }
    // The three cells come from the grid whichever was clicked; the addresses only from the stored entry.
    PuzzleEntry shown{model.cell(row, 0), model.cell(row, 1), model.cell(row, 2), {}, {}};
    std::optional<PuzzleEntry> stored;
    try {
        stored = m_workspace.catalogue->entry(tab.category(), shown.ref);
    } catch (const CatalogueError& error) {
        tab.setPanel(shown);
        m_workspace.messenger().critical(error.message(), error.detail());
        return std::nullopt;
    }
    if (stored) {
        shown.url = stored->url;
        shown.link = stored->link;
    }
    tab.setPanel(shown);
    return std::pair(shown, stored);
}

void GridBrowser::follow(CategoryTab& tab, int gridRow)
{
    takeIntoPanel(tab, gridRow);
}

void GridBrowser::select(CategoryTab& tab, int gridRow)
{
    const auto taken = takeIntoPanel(tab, gridRow);
    if (!taken) {
        return;
    }
    const auto& [shown, stored] = *taken;
    const ImageChoice choice =
        ImageChoice::decide(tab.category(), stored, tab.showImageChecked(), option(tab.display()));
    switch (choice.action) {
    case ImageChoice::Action::Nothing:
        break;
    case ImageChoice::Action::Refuse:
        m_workspace.messenger().warning(BrowsingTexts::notWebAddress().arg(choice.address));
        break;
    case ImageChoice::Action::OpenOnDesktop:
        openOnDesktop(choice.address);
        break;
    case ImageChoice::Action::OpenWindow:
        emit imageRequested(tab.category(), shown);
        break;
    }
}

void GridBrowser::openOnDesktop(const QString& address)
{
    if (!m_workspace.services.desktop->open(EntryAddress::webUrl(address))) {
        m_workspace.messenger().warning(BrowsingTexts::desktopFailed().arg(address));
    }
}
