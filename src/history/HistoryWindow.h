#pragma once

#include <QWidget>

#include <optional>

class HistoryModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
struct Category;
struct Workspace;

/// The window "historique": the journal newest first, filtered by series and by text, or the changes of one entry;
/// "Restaurer cette version" puts back the version of the entry that the chosen change replaced, as a change of its
/// own. It reads the journal
/// again after every change the views are told of.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    HistoryWindow(const Workspace& workspace, QWidget* parent = nullptr);

    /// Every change, or only those of entry `ref` of `category`.
    void showAll();
    void showEntry(const Category& category, const QString& ref);
    void reload();

    HistoryModel* model() const { return m_model; }

private:
    void filter();
    void restoreVersion();

    const Workspace& m_workspace;
    std::optional<std::pair<int, QString>> m_entry;
    HistoryModel* m_model;
    QLabel* m_title;
    QComboBox* m_series;
    QLineEdit* m_text;
    QTableView* m_table;
    QPushButton* m_all;
    QPushButton* m_restore;
};
