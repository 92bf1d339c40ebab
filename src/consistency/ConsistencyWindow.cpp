#include "consistency/ConsistencyWindow.h"

#include "catalogue/CatalogueError.h"
#include "consistency/ConsistencyCheck.h"
#include "consistency/ConsistencyRules.h"
#include "consistency/ConsistencyTexts.h"
#include "consistency/FindingModel.h"
#include "ui/GridStyle.h"
#include "ui/Named.h"
#include "ui/WindowPlacement.h"
#include "ui/Workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The spelling to keep; empty when the keeper gives up.
QString askSpelling(QWidget* parent, const QStringList& spellings)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlg_fusion"));
    dialog.setWindowTitle(ConsistencyTexts::chooseTitle());
    dialog.setLabelText(ConsistencyTexts::chooseLabel());
    dialog.setComboBoxItems(spellings);
    dialog.setComboBoxEditable(false);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

constexpr int keyRole = Qt::UserRole;

} // namespace

ConsistencyWindow::ConsistencyWindow(const Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_workspace(workspace)
    , m_model(new FindingModel(this))
{
    setObjectName(QStringLiteral("frm_controle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ConsistencyTexts::title());

    m_status = named(new QLabel(this), QStringLiteral("lbl_controle"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_findings = named(new QTreeView(this), QStringLiteral("liste_constats"));
    m_findings->setModel(m_model);
    m_findings->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_findings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_findings->setUniformRowHeights(true);
    m_findings->header()->setStretchLastSection(false);
    m_findings->header()->setSectionResizeMode(FindingModel::Answer, QHeaderView::Stretch);
    const QList<int> widths{3600, 900, 3800, 2200};
    for (int column = 0; column < widths.size(); ++column) {
        m_findings->setColumnWidth(column, GridStyle::pixels(widths.at(column)));
    }

    m_marks = named(new QTreeWidget(this), QStringLiteral("liste_marques"));
    m_marks->setHeaderLabels({ConsistencyTexts::findingHeader(), ConsistencyTexts::markedHeader()});
    m_marks->setRootIsDecorated(false);
    m_marks->header()->setStretchLastSection(false);
    m_marks->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_marks->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    m_tabs = named(new QTabWidget(this), QStringLiteral("onglets_controle"));
    m_tabs->addTab(m_findings, ConsistencyTexts::findingsTab());
    m_tabs->addTab(m_marks, ConsistencyTexts::marksTab().arg(0));

    m_notAProblem = named(new QPushButton(ConsistencyTexts::notAProblem(), this), QStringLiteral("bt_pas_probleme"));
    m_merge = named(new QPushButton(ConsistencyTexts::merge(), this), QStringLiteral("bt_fusionner"));
    m_unmark = named(new QPushButton(ConsistencyTexts::unmark(), this), QStringLiteral("bt_retirer"));
    auto* close = named(new QPushButton(ConsistencyTexts::close(), this), QStringLiteral("bt_fermer"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_notAProblem);
    buttons->addWidget(m_merge);
    buttons->addWidget(m_unmark);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
    resize(GridStyle::pixels(15000), GridStyle::pixels(9000));
    WindowPlacement::closeOnEscape(*this);

    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_notAProblem, &QPushButton::clicked, this, &ConsistencyWindow::markCurrent);
    connect(m_unmark, &QPushButton::clicked, this, &ConsistencyWindow::unmarkCurrent);
    connect(m_merge, &QPushButton::clicked, this, &ConsistencyWindow::mergeCurrent);
    connect(m_tabs, &QTabWidget::currentChanged, this, &ConsistencyWindow::currentChanged);
    connect(m_marks, &QTreeWidget::currentItemChanged, this, &ConsistencyWindow::currentChanged);
    connect(m_findings->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ConsistencyWindow::currentChanged);
    connect(m_findings, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const Finding::Place* place = m_model->place(index)) {
            emit entryChosen(place->category, place->entry.ref);
        }
    });
    // Whatever another window commits shows here too.
    CatalogueEvents* events = m_workspace.events;
    connect(events, &CatalogueEvents::entryEdited, this, &ConsistencyWindow::refresh);
    connect(events, &CatalogueEvents::seriesChanged, this, &ConsistencyWindow::refresh);
    connect(events, &CatalogueEvents::catalogueReplaced, this, &ConsistencyWindow::refresh);
}

ConsistencyWindow::~ConsistencyWindow() = default;

void ConsistencyWindow::refresh()
{
    ConsistencyCheck::Result result;
    try {
        result = ConsistencyCheck::run(*m_workspace.catalogue);
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }
    m_model->setFindings(result.findings);
    // Every finding in view unless there are many entries, when the keeper opens the ones of interest.
    if (m_model->entryRows() <= 500) {
        m_findings->expandAll();
    } else {
        m_findings->expandToDepth(0);
    }
    for (int group = 0; group < m_model->rowCount(); ++group) {
        const QModelIndex kind = m_model->index(group, 0);
        m_findings->setFirstColumnSpanned(group, {}, true);
        for (int row = 0; row < m_model->rowCount(kind); ++row) {
            m_findings->setFirstColumnSpanned(row, kind, true);
        }
    }

    m_marks->clear();
    const QLocale french(QLocale::French);
    for (const FindingMark& mark : std::as_const(result.marks)) {
        auto* item = new QTreeWidgetItem(
            m_marks, {mark.text, french.toString(mark.marked.toLocalTime(), ConsistencyTexts::markDate())});
        item->setData(0, keyRole, mark.key);
        item->setToolTip(0, mark.text);
    }
    m_tabs->setTabText(1, ConsistencyTexts::marksTab().arg(result.marks.size()));

    QString status = result.findings.isEmpty()
                         ? ConsistencyTexts::clean().arg(result.silenced)
                         : ConsistencyTexts::status().arg(result.findings.size()).arg(result.silenced);
    if (!m_lastMerge.isEmpty()) {
        status.prepend(m_lastMerge + u' ');
    }
    if (m_model->entryRows() > 0) {
        status += u'\n' + ConsistencyTexts::doubleClickHint();
    }
    m_status->setText(status);
    currentChanged();
}

void ConsistencyWindow::currentChanged()
{
    const bool onFindings = m_tabs->currentWidget() == m_findings;
    const Finding* finding = m_model->finding(m_findings->currentIndex());
    m_notAProblem->setEnabled(onFindings && finding);
    m_merge->setEnabled(onFindings && finding && finding->kind == Finding::Kind::AuthorSpellings);
    m_unmark->setEnabled(!onFindings && m_marks->currentItem());
}

void ConsistencyWindow::markCurrent()
{
    const Finding* finding = m_model->finding(m_findings->currentIndex());
    if (!finding) {
        return;
    }
    try {
        m_workspace.catalogue->addMark({finding->key, finding->text, QDateTime::currentDateTimeUtc()});
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }
    m_lastMerge.clear();
    refresh();
}

void ConsistencyWindow::unmarkCurrent()
{
    const QTreeWidgetItem* item = m_marks->currentItem();
    if (!item) {
        return;
    }
    try {
        m_workspace.catalogue->removeMark(item->data(0, keyRole).toString());
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }
    m_lastMerge.clear();
    refresh();
}

void ConsistencyWindow::mergeCurrent()
{
    const Finding* finding = m_model->finding(m_findings->currentIndex());
    if (!finding || finding->kind != Finding::Kind::AuthorSpellings) {
        return;
    }
    const QStringList spellings = finding->spellings;
    const QString kept = askSpelling(this, spellings);
    if (kept.isEmpty() || !spellings.contains(kept)) {
        return;
    }
    // One journaled change, which "Annuler" takes back whole.
    JournalChange change;
    std::optional<QString> refusal = ConsistencyTexts::nothingToMerge();
    try {
        change = ConsistencyRules::mergeChange(ConsistencyCheck::snapshot(*m_workspace.catalogue), spellings, kept);
        if (!change.kind.isEmpty()) {
            refusal = m_workspace.catalogue->applyChange(change);
        }
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
        return;
    }
    if (refusal) {
        m_workspace.messenger().warning(*refusal);
        refresh();
        return;
    }
    m_lastMerge = ConsistencyTexts::merged().arg(kept);
    QSet<int> changed;
    for (const EntryChange& entry : change.entries) {
        changed.insert(entry.category);
    }
    for (const Category& category : Category::all()) {
        if (changed.contains(category.index)) {
            emit m_workspace.events->seriesChanged(category);
        }
    }
    refresh(); // the register may have changed alone, with no series to announce
}
