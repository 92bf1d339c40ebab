#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueFolder.h"
#include "ui/Services.h"

#include <QMainWindow>

#include <memory>

class CategoryTab;
class ComparisonLauncher;
class EntryEditController;
class GridBrowser;
class QLineEdit;
class QTabWidget;
class SearchController;
class SearchTab;
class StatisticsTab;

/// The catalogue as it is loaded at start: the open file and the search program's setting.
struct LoadedCatalogue {
    std::unique_ptr<Catalogue> catalogue;
    QString programSetting;
};

/// The main window "Form1": six tabs over one catalogue. It owns the catalogue from `load` to its end and hands
/// the subsystems (editing, browsing, search and statistics, number check) what they act on.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(CatalogueFolder folder, Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Load step: shows the Dravé tab, fills the author lists and the four grids. On a read failure it shows the
    /// out-of-date message with the cause and returns false; the window must then be closed.
    bool load(LoadedCatalogue loaded);

    const CatalogueFolder& folder() const { return m_folder; }
    Catalogue& catalogue() const { return *m_catalogue; }
    const QString& programSetting() const { return m_programSetting; }
    const Services& services() const { return m_services; }
    Messenger& messenger() const { return *m_services.messenger; }

    CategoryTab* categoryTab(const Category& category) const;
    QTabWidget* tabs() const { return m_tabs; }
    SearchTab* searchTab() const { return m_searchTab; }
    StatisticsTab* statisticsTab() const { return m_statisticsTab; }
    /// The hidden box that holds the grid row marked by the last search pick, or "0".
    QLineEdit* lastSelection() const { return m_lastSelection; }

signals:
    /// A change of the current tab, never raised while loading.
    void tabChanged(int index);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CatalogueFolder m_folder;
    Services m_services;
    std::unique_ptr<Catalogue> m_catalogue;
    QString m_programSetting;
    bool m_loading = false;

    QTabWidget* m_tabs;
    QList<CategoryTab*> m_categoryTabs;
    SearchTab* m_searchTab;
    StatisticsTab* m_statisticsTab;
    QLineEdit* m_lastSelection;

    EntryEditController* m_editing = nullptr;
    GridBrowser* m_browsing = nullptr;
    SearchController* m_searching = nullptr;
    ComparisonLauncher* m_checking = nullptr;
};
