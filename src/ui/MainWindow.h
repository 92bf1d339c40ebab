#pragma once

#include "ui/Workspace.h"

#include <QMainWindow>

class CategoryTab;
class QLineEdit;
class QMenu;
class QTabWidget;
class SearchTab;
class StatisticsTab;

/// The catalogue as it is loaded at start: the open file and the search program's setting.
struct LoadedCatalogue {
    std::unique_ptr<Catalogue> catalogue;
    QString programSetting;
};

/// The main window "Form1": six tabs over one catalogue. It owns the workspace (the catalogue from `load` to its
/// end) and its views; what the views do is wired in by the program's start-up, not here.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(CatalogueFolder folder, Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Load step: shows the Dravé tab, fills the author lists and the four grids. On a read failure it shows the
    /// out-of-date message with the cause and returns false; the window must then be closed.
    bool load(LoadedCatalogue loaded);
    /// The load step again on the open catalogue, after something replaced its content (an import).
    bool reload();

    const Workspace& workspace() const { return m_workspace; }
    /// The search program's setting, once the keeper chose another.
    void setProgramSetting(const QString& setting) { m_workspace.programSetting = setting; }
    const CatalogueFolder& folder() const { return m_workspace.folder; }
    Catalogue& catalogue() const { return *m_workspace.catalogue; }
    Messenger& messenger() const { return m_workspace.messenger(); }

    /// The four category tabs in descriptor order (Dravé, Plomé, Tusqué, Vantorel).
    const QList<CategoryTab*>& categoryTabs() const { return m_categoryTabs; }
    CategoryTab* categoryTab(const Category& category) const;
    QTabWidget* tabs() const { return m_tabs; }
    SearchTab* searchTab() const { return m_searchTab; }
    StatisticsTab* statisticsTab() const { return m_statisticsTab; }
    /// The hidden box that holds the grid row marked by the last search pick, or "0".
    QLineEdit* lastSelection() const { return m_lastSelection; }
    /// The menu "Catalogue" of the menu bar: what the keeper does with the catalogue as a whole.
    QMenu* catalogueMenu() const { return m_catalogueMenu; }
    /// The menu "Édition": taking back the keeper's changes.
    QMenu* editMenu() const { return m_editMenu; }
    /// Announces committed changes to the views.
    CatalogueEvents& events() const { return *m_workspace.events; }

signals:
    /// A change of the current tab, never raised while loading.
    void tabChanged(int index);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Workspace m_workspace;
    bool m_loading = false;

    QTabWidget* m_tabs;
    QList<CategoryTab*> m_categoryTabs;
    SearchTab* m_searchTab;
    StatisticsTab* m_statisticsTab;
    QLineEdit* m_lastSelection;
    QMenu* m_catalogueMenu;
    QMenu* m_editMenu;
};
