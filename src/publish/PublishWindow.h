#pragma once

#include "publish/PublicationPlan.h"

#include <QWidget>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

/// The window "frm_publication" of one publication of the HTML catalogue: what is being done, a progress bar
/// "n / total" with "Annuler", then the report. The files are written on a thread of their own, so the window
/// stays responsive; closing it cancels the run, which stops between two files.
class PublishWindow : public QWidget {
    Q_OBJECT

public:
    explicit PublishWindow(QWidget* parent = nullptr);
    ~PublishWindow() override;

    /// Publishes `plan` into `folder`.
    void start(const QString& folder, PublicationPlan plan);
    bool isRunning() const;
    const SitePublisher::Report& report() const { return m_report; }

signals:
    void ended(SitePublisher::Outcome outcome);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void progressed(int done, int total);
    void finished(const SitePublisher::Report& report);

    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    SitePublisher::Report m_report;
};
