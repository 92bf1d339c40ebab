#include "ui/MainWindow.h"

#include "catalogue/AuthorList.h"
#include "catalogue/CatalogueError.h"
#include "ui/CategoryTab.h"
#include "ui/GridStyle.h"
#include "ui/SearchTab.h"
#include "ui/StatisticsTab.h"
#include "ui/UiTexts.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

MainWindow::MainWindow(CatalogueFolder folder, Services services, QWidget* parent)
    : QMainWindow(parent)
    , m_workspace{std::move(folder), services, nullptr, {}, new CatalogueEvents(this)}
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

    m_catalogueMenu = menuBar()->addMenu(UiTexts::catalogueMenu());
    m_catalogueMenu->setObjectName(QStringLiteral("menu_catalogue"));
    m_editMenu = menuBar()->addMenu(UiTexts::editMenu());
    m_editMenu->setObjectName(QStringLiteral("menu_edition"));

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(GridStyle::pixels(180), GridStyle::pixels(240), GridStyle::pixels(180),
                               GridStyle::pixels(240));
    layout->addWidget(m_tabs);
    resize(GridStyle::pixels(7575), GridStyle::pixels(9510));
    WindowPlacement::centre(*this);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_loading && m_workspace.catalogue) {
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
    m_workspace.catalogue = std::move(loaded.catalogue);
    m_workspace.programSetting = std::move(loaded.programSetting);
    return reload();
}

bool MainWindow::reload()
{
    m_loading = true;
    m_tabs->setCurrentIndex(0);
    try {
        QList<QList<PuzzleEntry>> series;
        for (const Category& category : Category::all()) {
            series.append(
                catalogue().entries(category, category.loadsInStoredOrder ? EntryOrder::Stored : EntryOrder::ByNumber));
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
    m_loading = false;
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Shutdown: the catalogue is closed now and every other window goes with the main one.
    event->accept();
    m_workspace.catalogue.reset();
    QApplication::closeAllWindows();
    QApplication::quit();
}
