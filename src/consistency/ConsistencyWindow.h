#pragma once

#include <QWidget>

class FindingModel;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;
class QTreeWidget;
struct Workspace;

/// The window "frm_controle": the findings of the consistency check grouped by kind, each with its entries; a
/// double click on an entry asks for it. "Pas un problème" marks the current finding in the catalogue, "Fusionner…"
/// merges the spellings of an author finding (the keeper picks the one to keep in the dialog "dlg_fusion"), and the
/// second tab lists the marks, each removable. The list follows every committed change of the catalogue.
class ConsistencyWindow : public QWidget {
    Q_OBJECT

public:
    explicit ConsistencyWindow(const Workspace& workspace, QWidget* parent = nullptr);
    ~ConsistencyWindow() override;

    /// Checks the catalogue again and shows the result.
    void refresh();

signals:
    /// An entry row was double-clicked: show entry `ref` of series `category` (descriptor index).
    void entryChosen(int category, const QString& ref);

private:
    void currentChanged();
    void markCurrent();
    void unmarkCurrent();
    void mergeCurrent();

    const Workspace& m_workspace;
    FindingModel* m_model;
    QLabel* m_status;
    QTabWidget* m_tabs;
    QTreeView* m_findings;
    QTreeWidget* m_marks;
    QPushButton* m_notAProblem;
    QPushButton* m_merge;
    QPushButton* m_unmark;
    QString m_lastMerge;
};
