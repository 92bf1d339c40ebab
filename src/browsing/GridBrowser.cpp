#include "browsing/GridBrowser.h"

#include "browsing/BrowsingTexts.h"
#include "browsing/DesktopOpener.h"
#include "browsing/ImageChoice.h"
#include "catalogue/CatalogueError.h"
#include "image/ImageAddress.h"
#include "image/ImageWindow.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"
#include "ui/Messenger.h"

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

GridBrowser::GridBrowser(MainWindow& window)
    : QObject(&window)
    , m_window(window)
{
    for (const Category& category : Category::all()) {
        CategoryTab* tab = window.categoryTab(category);
        connect(tab, &CategoryTab::headerClicked, this, [this, tab](int column) { sort(*tab, column); });
        connect(tab, &CategoryTab::rowClicked, this, [this, tab](int gridRow) { select(*tab, gridRow); });
    }
}

void GridBrowser::sort(CategoryTab& tab, int column)
{
    static const EntryOrder orders[] = {EntryOrder::ByNumber, EntryOrder::ByAnswer, EntryOrder::ByAuthor};
    if (column < 0 || column >= int(std::size(orders))) {
        return;
    }
    try {
        tab.fill(m_window.catalogue().entries(tab.category(), orders[column]));
    } catch (const CatalogueError& error) {
        // The grid keeps the rows it showed.
        m_window.messenger().critical(error.message(), error.detail());
    }
}

void GridBrowser::select(CategoryTab& tab, int gridRow)
{
    const GridModel& model = *tab.model();
    const int row = gridRow - 1;
    if (row < 0 || row >= model.rowCount()) {
        return;
    }
    // The three cells come from the grid whichever was clicked; the addresses only from the stored entry.
    PuzzleEntry shown{model.cell(row, 0), model.cell(row, 1), model.cell(row, 2), {}, {}};
    std::optional<PuzzleEntry> stored;
    try {
        stored = m_window.catalogue().entry(tab.category(), shown.ref);
    } catch (const CatalogueError& error) {
        tab.setPanel(shown);
        m_window.messenger().critical(error.message(), error.detail());
        return;
    }
    if (stored) {
        shown.url = stored->url;
        shown.link = stored->link;
    }
    tab.setPanel(shown);

    const ImageChoice choice =
        ImageChoice::decide(tab.category(), stored, tab.showImageChecked(), option(tab.display()));
    switch (choice.action) {
    case ImageChoice::Action::Nothing:
        break;
    case ImageChoice::Action::Refuse:
        m_window.messenger().warning(BrowsingTexts::notWebAddress().arg(choice.address));
        break;
    case ImageChoice::Action::OpenOnDesktop:
        openOnDesktop(choice.address);
        break;
    case ImageChoice::Action::OpenWindow:
        openImageWindow(tab, shown);
        break;
    }
}

void GridBrowser::openOnDesktop(const QString& address)
{
    if (!m_window.services().desktop->open(ImageAddress::webUrl(address))) {
        m_window.messenger().warning(BrowsingTexts::desktopFailed().arg(address));
    }
}

void GridBrowser::openImageWindow(const CategoryTab& tab, const PuzzleEntry& entry)
{
    const Category& category = tab.category();
    const ImageRequest request{entry.ref, entry.answer, entry.url,
                               category.imageWindowShowsLink ? entry.link : QString(), entry.link};
    auto* image = new ImageWindow(m_window.folder(), m_window.messenger(), ImagePreviewSettings{}, &m_window);
    image->show();
    image->raise();
    image->activateWindow();
    // The main window comes back when the image window closes.
    m_window.hide();
    image->display(request);
}
