#pragma once

#include "links/LinkRun.h"

#include <QWidget>

#include <functional>

class LinkResultModel;
class Messenger;
class QLabel;
class QNetworkAccessManager;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

/// The window "frm_liens" of one run: a progress bar "n / total" with "Annuler", then the sortable list of the
/// addresses that are not ok (or the images not kept), the summary, and "Exporter la liste…". A double click on a
/// row asks for that entry. Closing the window cancels the run.
class LinkCheckWindow : public QWidget {
    Q_OBJECT

public:
    struct Tools {
        LinkRun::Settings settings;
        /// The bytes of a CSV file of these records.
        std::function<QByteArray(const QList<QStringList>& records)> csv;
        /// Asks where to export; empty when the keeper gives up. A save dialog when not set.
        std::function<QString(QWidget* parent)> chooseExportFile;
    };

    LinkCheckWindow(Messenger& messenger, Tools tools, QWidget* parent = nullptr);
    ~LinkCheckWindow() override;

    /// Starts `job`; `keep` takes the images of an archive run.
    void start(const LinkJob& job, LinkRun::Keeper keep = {});
    bool isRunning() const;

signals:
    /// A row was double-clicked: show entry `ref` of series `category` (descriptor index).
    void entryChosen(int category, const QString& ref);
    void runEnded(bool cancelled);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ended(bool cancelled);
    void exportList();

    Messenger& m_messenger;
    Tools m_tools;
    QNetworkAccessManager* m_network;
    LinkRun* m_run;
    LinkResultModel* m_model;
    QSortFilterProxyModel* m_sorted;
    QLabel* m_status;
    QProgressBar* m_progress;
    QTableView* m_table;
    QPushButton* m_cancel;
    QPushButton* m_export;
};
