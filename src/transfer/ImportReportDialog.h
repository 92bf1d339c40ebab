#pragma once

#include <QDialog>

class QListWidget;

/// The report of an import in the window: one sentence above a scrollable list, one line per item (what the
/// catalogue received, or every problem), and a button to close it.
class ImportReportDialog : public QDialog {
    Q_OBJECT

public:
    ImportReportDialog(bool done, const QString& heading, const QStringList& lines, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list;
};
