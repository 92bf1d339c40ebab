#include "ui/MainWindow.h"

#include "app/AuthorList.h"
#include "browsing/GridBrowser.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "check/ComparisonLauncher.h"
#include "editing/EntryEditController.h"
#include "search/SearchController.h"
#include "search/SearchTab.h"
#include "search/StatisticsTab.h"
#include "ui/CategoryTab.h"
#include "ui/GridStyle.h"
#include "ui/Messenger.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

MainWindow::MainWindow(CatalogueFolder folder, Services services, QWidget* parent)
    : QMainWindow(parent)
    , m_folder(std::move(folder))
    , m_services(services)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(UiTexts::mainWindowTitle());
    setWindowIcon(QIcon(QStringLiteral(":/mezor/mezor.png")));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centre"));
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xC0));
    central->setPalette(palette);
    setCentralWidget(central);

    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("onglet"));
    for (int tab = 0; tab < Tabs::Count; ++tab) {
        if (const Category* category = Category::byTab(tab)) {
            auto* page = new CategoryTab(*category, m_tabs);
            m_categoryTabs.append(page);
            m_tabs->addTab(page, category->caption);
        } else if (tab == Tabs::Search) {
            m_searchTab = new SearchTab(m_tabs);
            m_tabs->addTab(m_searchTab, QStringLiteral("Recherche"));
        } else {
            m_statisticsTab = new StatisticsTab(m_tabs);
            m_tabs->addTab(m_statisticsTab, QStringLiteral("Stats"));
        }
    }
    // Category tabs were appended in tab order, so the list is Dravé, Plomé, Tusqué, Vantorel.

    m_lastSelection = new QLineEdit(QStringLiteral("0"), central);
    m_lastSelection->setObjectName(QStringLiteral("last_sel"));
    m_lastSelection->hide();

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(GridStyle::pixels(180), GridStyle::pixels(240), GridStyle::pixels(180),
                               GridStyle::pixels(240));
    layout->addWidget(m_tabs);
    resize(GridStyle::pixels(7575), GridStyle::pixels(9510));

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_loading && m_catalogue) {
            emit tabChanged(index);
        }
    });
}

MainWindow::~MainWindow() = default;

CategoryTab* MainWindow::categoryTab(const Category& category) const
{
    return m_categoryTabs.at(category.index);
}

bool MainWindow::load(LoadedCatalogue loaded)
{
    m_loading = true;
    m_tabs->setCurrentIndex(0);
    m_catalogue = std::move(loaded.catalogue);
    m_programSetting = std::move(loaded.programSetting);
    try {
        QList<QList<PuzzleEntry>> series;
        for (const Category& category : Category::all()) {
            series.append(m_catalogue->entries(category, category.loadsInStoredOrder ? EntryOrder::Stored
                                                                                     : EntryOrder::ByNumber));
        }
        for (const Category& category : Category::all()) {
            CategoryTab* tab = categoryTab(category);
            tab->setAuthorList(AuthorList::build(series.at(category.index)));
            tab->fill(series.at(category.index));
        }
    } catch (const CatalogueError& error) {
        m_loading = false;
        messenger().critical(UiTexts::outOfDate(), error.message() + u'\n' + error.detail());
        return false;
    }
    m_editing = new EntryEditController(*this);
    m_browsing = new GridBrowser(*this);
    m_searching = new SearchController(*this);
    m_checking = new ComparisonLauncher(*this);
    m_loading = false;
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Shutdown: the catalogue is closed now and every other window goes with the main one.
    event->accept();
    m_catalogue.reset();
    QApplication::closeAllWindows();
    QApplication::quit();
}
