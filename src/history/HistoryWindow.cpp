#include "history/HistoryWindow.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "history/HistoryModel.h"
#include "history/HistoryTexts.h"
#include "history/UndoController.h"
#include "ui/Named.h"
#include "ui/WindowPlacement.h"
#include "ui/Workspace.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

HistoryWindow::HistoryWindow(const Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_workspace(workspace)
    , m_model(new HistoryModel(this))
    , m_title(named(new QLabel(this), QStringLiteral("historique_titre")))
    , m_series(named(new QComboBox(this), QStringLiteral("historique_série")))
    , m_text(named(new QLineEdit(this), QStringLiteral("historique_filtre")))
    , m_table(named(new QTableView(this), QStringLiteral("historique_liste")))
    , m_all(named(new QPushButton(HistoryTexts::wholeHistory(), this), QStringLiteral("historique_tout")))
    , m_restore(named(new QPushButton(HistoryTexts::restoreVersion(), this), QStringLiteral("historique_restaurer")))
{
    setObjectName(QStringLiteral("historique"));
    setWindowTitle(HistoryTexts::historyTitle());
    m_series->addItem(HistoryTexts::allSeries(), -1);
    for (const Category& category : Category::all()) {
        m_series->addItem(category.caption, category.index);
    }
    m_text->setPlaceholderText(HistoryTexts::filterPlaceholder());
    m_text->setClearButtonEnabled(true);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    // Widths from the longest usual texts, not from ten thousand rows: measuring them would slow the opening.
    const QFontMetrics metrics = m_table->fontMetrics();
    const int padding = metrics.averageCharWidth() * 3;
    const std::array<QString, 4> widest{QStringLiteral("2026-12-07 14:03:21"), QStringLiteral("Vantorel"),
                                        QStringLiteral("N° 000"),
                                        QStringLiteral("la restauration d'une version de Vantorel 000")};
    for (int column = 0; column < int(widest.size()); ++column) {
        m_table->setColumnWidth(column, metrics.horizontalAdvance(widest.at(std::size_t(column))) + padding);
    }

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_series);
    filters->addWidget(m_text, 1);
    filters->addWidget(m_all);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(filters);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(1100, 500);
    WindowPlacement::closeOnEscape(*this);

    connect(m_series, &QComboBox::currentIndexChanged, this, &HistoryWindow::filter);
    connect(m_text, &QLineEdit::textChanged, this, &HistoryWindow::filter);
    connect(m_all, &QPushButton::clicked, this, &HistoryWindow::showAll);
    connect(m_restore, &QPushButton::clicked, this, &HistoryWindow::restoreVersion);
    // A closed window stays, hidden, for the next opening, which reads the journal anyway: only a shown one follows.
    const auto follow = [this] {
        if (isVisible()) {
            reload();
        }
    };
    if (CatalogueEvents* events = m_workspace.events) {
        connect(events, &CatalogueEvents::entryEdited, this, follow);
        connect(events, &CatalogueEvents::seriesChanged, this, follow);
        connect(events, &CatalogueEvents::catalogueReplaced, this, follow);
    }
}

void HistoryWindow::showAll()
{
    m_entry.reset();
    reload();
}

void HistoryWindow::showEntry(const Category& category, const QString& ref)
{
    m_entry = std::pair(category.index, ref);
    reload();
}

void HistoryWindow::reload()
{
    QList<JournalRecord> records;
    try {
        records = m_entry ? m_workspace.catalogue->journalOf(Category::all().at(m_entry->first), m_entry->second)
                          : m_workspace.catalogue->journal();
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(error.message(), error.detail());
    }
    m_title->setText(m_entry ? HistoryTexts::entryHistoryTitle().arg(CatalogueTexts::entryName().arg(
                                   Category::all().at(m_entry->first).caption, m_entry->second))
                             : HistoryTexts::historyTitle());
    m_all->setVisible(m_entry.has_value());
    m_model->setRecords(std::move(records));
}

void HistoryWindow::filter()
{
    m_model->setFilter(m_series->currentData().toInt(), m_text->text());
}

void HistoryWindow::restoreVersion()
{
    Messenger& messenger = m_workspace.messenger();
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid()) {
        messenger.warning(HistoryTexts::chooseVersion());
        return;
    }
    const JournalRecord record = m_model->record(current.row());
    // The version a row offers is the one its change replaced: the keeper picks the slip and gets back what was there.
    if (record.category < 0 || !record.before) {
        messenger.warning(HistoryTexts::noSuchVersion());
        return;
    }
    const Category& category = Category::all().at(record.category);
    const QString name = CatalogueTexts::entryName().arg(category.caption, record.ref);
    Catalogue& catalogue = *m_workspace.catalogue;
    try {
        const PuzzleEntry& version = *record.before;
        const std::optional<PuzzleEntry> now = catalogue.entry(category, version.ref);
        if (!now) {
            messenger.warning(HistoryTexts::entryMissing().arg(name));
            return;
        }
        if (*now == version) {
            messenger.warning(HistoryTexts::sameVersion().arg(name));
            return;
        }
        JournalChange change{JournalKind::version(),
                             HistoryTexts::versionDescription().arg(name),
                             {{category.index, record.ref, now, version}},
                             {},
                             {}};
        // A version put back registers its author as an add would.
        if (category.registersAuthors && !catalogue.isAuthorRegistered(version.author)) {
            change.authorsAdded.append(version.author);
        }
        if (const auto refusal = catalogue.applyChange(change)) {
            messenger.warning(*refusal);
            return;
        }
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return;
    }
    UndoController::announce(m_workspace.events, JournalKind::version(), {category.index});
}
