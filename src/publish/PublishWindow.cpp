#include "publish/PublishWindow.h"

#include "publish/PublishTexts.h"
#include "ui/GridStyle.h"
#include "ui/Named.h"
#include "ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

PublishWindow::PublishWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_cancelled(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(QStringLiteral("frm_publication"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(PublishTexts::htmlTitle());
    m_status = named(new QLabel(this), QStringLiteral("lbl_publication"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = named(new QProgressBar(this), QStringLiteral("barre_publication"));
    m_progress->setFormat(PublishTexts::progressFormat());
    m_cancel = named(new QPushButton(PublishTexts::cancel(), this), QStringLiteral("bt_annuler"));
    auto* close = named(new QPushButton(PublishTexts::close(), this), QStringLiteral("bt_fermer"));

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addLayout(progressRow);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(GridStyle::pixels(9000), GridStyle::pixels(2600));
    WindowPlacement::closeOnEscape(*this);

    connect(m_cancel, &QPushButton::clicked, this, [this] { *m_cancelled = true; });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

PublishWindow::~PublishWindow()
{
    // The run stops at the next file; its last reports find no window and are dropped.
    *m_cancelled = true;
    if (m_thread) {
        m_thread->wait();
    }
}

void PublishWindow::start(const QString& folder, PublicationPlan plan)
{
    m_status->setText(PublishTexts::publishing().arg(QDir::toNativeSeparators(folder)));
    m_progress->setRange(0, 0);
    m_cancel->setEnabled(true);
    *m_cancelled = false;
    // The destructor waits for the thread, so `this` outlives every event the thread posts to it.
    SitePublisher::Control control{[cancelled = m_cancelled] { return cancelled->load(); },
                                   [this](int done, int total) {
                                       QMetaObject::invokeMethod(
                                           this, [this, done, total] { progressed(done, total); },
                                           Qt::QueuedConnection);
                                   }};
    m_thread = QThread::create([this, folder, plan = std::move(plan), control] {
        const SitePublisher::Report report = SitePublisher::publish(folder, plan.series, plan.thumbnails, control);
        QMetaObject::invokeMethod(
            this, [this, report] { finished(report); }, Qt::QueuedConnection);
    });
    m_thread->setParent(this);
    m_thread->start();
}

bool PublishWindow::isRunning() const
{
    return m_cancel->isEnabled();
}

void PublishWindow::progressed(int done, int total)
{
    if (!isRunning()) {
        return;
    }
    m_progress->setRange(0, total);
    m_progress->setValue(done);
}

void PublishWindow::finished(const SitePublisher::Report& report)
{
    m_report = report;
    m_status->setText(report.message);
    m_progress->setRange(0, 1);
    m_progress->setValue(report.outcome == SitePublisher::Outcome::Done ? 1 : 0);
    m_cancel->setEnabled(false);
    emit ended(report.outcome);
}

void PublishWindow::closeEvent(QCloseEvent* event)
{
    *m_cancelled = true;
    event->accept();
}
