#include "links/LinkCheckWindow.h"

#include "links/LinkResultModel.h"
#include "links/LinksTexts.h"
#include "ui/GridStyle.h"
#include "ui/Messenger.h"
#include "ui/Named.h"
#include "ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString askExportFile(QWidget* parent)
{
    return QFileDialog::getSaveFileName(parent, LinksTexts::exportTitle(),
                                        QDir::home().filePath(LinksTexts::exportName()), LinksTexts::exportFilter());
}

} // namespace

LinkCheckWindow::LinkCheckWindow(Messenger& messenger, Tools tools, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_messenger(messenger)
    , m_tools(std::move(tools))
    , m_network(new QNetworkAccessManager(this))
    , m_run(new LinkRun(*m_network, m_tools.settings, this))
    , m_model(new LinkResultModel(this))
    , m_sorted(new QSortFilterProxyModel(this))
{
    setObjectName(QStringLiteral("frm_liens"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (!m_tools.chooseExportFile) {
        m_tools.chooseExportFile = askExportFile;
    }

    m_status = named(new QLabel(this), QStringLiteral("lbl_liens"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = named(new QProgressBar(this), QStringLiteral("barre_liens"));
    m_progress->setFormat(LinksTexts::progressFormat());
    m_cancel = named(new QPushButton(LinksTexts::cancel(), this), QStringLiteral("bt_annuler"));

    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(LinkResultModel::sortRole);
    m_sorted->setSortLocaleAware(true);
    m_table = named(new QTableView(this), QStringLiteral("liste_liens"));
    m_table->setModel(m_sorted);
    GridStyle::configure(m_table, {900, 500, 1400, 3800, 1500, 3000, 1800});
    // The address takes the room a wider window gives: the final address is empty but for redirects.
    m_table->horizontalHeader()->setStretchLastSection(false);
    m_table->horizontalHeader()->setSectionResizeMode(LinkResultModel::Address, QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(LinkResultModel::Series, Qt::AscendingOrder);

    m_export = named(new QPushButton(LinksTexts::exportList(), this), QStringLiteral("bt_exporter"));
    m_export->setEnabled(false);
    auto* close = named(new QPushButton(LinksTexts::close(), this), QStringLiteral("bt_fermer"));

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_export);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addLayout(progressRow);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(GridStyle::pixels(16000), GridStyle::pixels(8000));
    WindowPlacement::closeOnEscape(*this);

    connect(m_cancel, &QPushButton::clicked, m_run, &LinkRun::cancel);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_export, &QPushButton::clicked, this, &LinkCheckWindow::exportList);
    connect(m_run, &LinkRun::progressed, this, [this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
    });
    connect(m_run, &LinkRun::resultReady, this, [this](const LinkResult& result) {
        if (LinkRules::isListed(m_run->job().mode, result.verdict.linkClass)) {
            m_model->append(result);
        }
    });
    connect(m_run, &LinkRun::finished, this, &LinkCheckWindow::ended);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const LinkTarget& target = m_model->result(m_sorted->mapToSource(index).row()).target;
        emit entryChosen(target.category, target.ref);
    });
}

LinkCheckWindow::~LinkCheckWindow() = default;

void LinkCheckWindow::start(const LinkJob& job, LinkRun::Keeper keep)
{
    const bool archive = job.mode == LinkMode::Archive;
    setWindowTitle(archive ? LinksTexts::archiveTitle() : LinksTexts::checkTitle());
    m_status->setText(archive ? LinksTexts::archiving() : LinksTexts::checking());
    m_model->clear();
    m_progress->setRange(0, int(job.targets.size()));
    m_progress->setValue(0);
    m_progress->show();
    m_cancel->setEnabled(true);
    m_export->setEnabled(false);
    m_run->start(job, std::move(keep));
}

bool LinkCheckWindow::isRunning() const
{
    return m_run->isRunning();
}

void LinkCheckWindow::ended(bool cancelled)
{
    const LinkTally& tally = m_run->tally();
    QString status = LinkRules::summary(m_run->job().mode, tally);
    if (cancelled) {
        const QString total = LinksTexts::counted(tally.total, LinksTexts::address(), LinksTexts::addresses());
        status.prepend(LinksTexts::cancelled().arg(tally.done).arg(total) + u' ');
    }
    if (m_model->rowCount() > 0) {
        status += u'\n' + LinksTexts::doubleClickHint();
    }
    m_status->setText(status);
    m_progress->setVisible(tally.total > 0);
    m_progress->setValue(tally.done);
    m_cancel->setEnabled(false);
    m_export->setEnabled(m_model->rowCount() > 0);
    emit runEnded(cancelled);
}

void LinkCheckWindow::exportList()
{
    const QString path = m_tools.chooseExportFile(this);
    if (path.isEmpty()) {
        return;
    }
    // The rows in the order the keeper sorted them.
    QList<QStringList> records{LinkResultModel::headers()};
    for (int row = 0; row < m_sorted->rowCount(); ++row) {
        records.append(m_model->cells(m_sorted->mapToSource(m_sorted->index(row, 0)).row()));
    }
    QSaveFile file(path);
    const QByteArray bytes = m_tools.csv(records);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_messenger.critical(LinksTexts::exportFailed().arg(QDir::toNativeSeparators(path)), file.errorString());
        return;
    }
    m_status->setText(m_status->text() + u'\n' + LinksTexts::exported().arg(QDir::toNativeSeparators(path)));
}

void LinkCheckWindow::closeEvent(QCloseEvent* event)
{
    m_run->cancel();
    event->accept();
}
