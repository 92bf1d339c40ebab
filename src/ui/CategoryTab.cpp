#include "ui/CategoryTab.h"

#include "ui/GridModel.h"
#include "ui/GridStyle.h"
#include "ui/Named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLabel* panelLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSizeF(12);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

CategoryTab::CategoryTab(const Category& category, QWidget* parent)
    : QWidget(parent)
    , m_category(category)
    , m_model(new GridModel({QStringLiteral(" N°"), QStringLiteral(" Nom"), QStringLiteral(" Auteur")}, this))
{
    setObjectName(category.name(u"tab_"));

    m_grid = named(new QTableView(this), category.gridName());
    m_grid->setModel(m_model);
    GridStyle::configure(m_grid, {500, 2500, 1300});
    // The answer column takes the room a wider window gives; number and author keep theirs (and can be dragged).
    m_grid->horizontalHeader()->setStretchLastSection(false);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grid->setMinimumSize(GridStyle::pixels(4695), GridStyle::pixels(4935) / 2);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &CategoryTab::headerClicked);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& index) { emit rowClicked(index.row() + 1); });
    m_grid->installEventFilter(this);
    // Only a move made with the keys: a click says more (it asks for the picture), and the program's own moves (an
    // add, a sort) say nothing about the panel.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_keyHeld && current.isValid()) {
                    emit rowHighlighted(current.row() + 1);
                }
            });
    // The row asked to be first under the header stays first whenever the view changes size (the window is laid
    // out, a tab is shown for the first time, the window is resized) until the keeper scrolls by hand.
    connect(m_grid->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { keepPinnedRow(); });
    connect(m_grid->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_pinnedRow.reset(); });

    auto* first = named(new QPushButton(QStringLiteral("<<"), this), category.firstRowsButton);
    auto* last = named(new QPushButton(QStringLiteral(">>"), this), category.lastRowsButton);
    for (QPushButton* button : {first, last}) {
        button->setFixedWidth(GridStyle::pixels(375) + 8);
        button->setToolTip(button == first ? QStringLiteral("Premières entrées") : QStringLiteral("Dernières entrées"));
    }
    connect(first, &QPushButton::clicked, this, &CategoryTab::showFirstRows);
    connect(last, &QPushButton::clicked, this, &CategoryTab::showLastRows);

    auto* frame = named(new QGroupBox(QStringLiteral("Affichage"), this), category.frame);
    m_showImage = named(new QCheckBox(QStringLiteral("Afficher"), frame), category.name(u"chk_img_"));
    m_window = named(new QRadioButton(QStringLiteral("Img fenêtre"), frame), category.name(u"win_"));
    m_web = named(new QRadioButton(QStringLiteral("Img WEB"), frame), category.name(u"web_"));
    m_forum = named(new QRadioButton(QStringLiteral("Sorvane"), frame), category.name(u"sor_"));
    m_window->setChecked(true);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_showImage);
    frameLayout->addSpacing(8);
    frameLayout->addWidget(m_window);
    frameLayout->addWidget(m_web);
    frameLayout->addWidget(m_forum);
    if (category.loadsInStoredOrder) {
        // A leftover box of the Vantorel frame: it has no role and is never seen.
        auto* unused = named(new QCheckBox(QStringLiteral("Afficher"), frame), QStringLiteral("Check1"));
        unused->hide();
    }
    if (category.registersAuthors) {
        // The Dravé tab's hidden sort buffer; the author lists are ordered in code.
        auto* buffer = named(new QListWidget(this), QStringLiteral("List2"));
        buffer->setSortingEnabled(true);
        buffer->hide();
    }

    m_number = named(new QLineEdit(this), category.name(u"no_"));
    m_number->setMaximumWidth(GridStyle::pixels(735) + 12);
    m_answer = named(new QLineEdit(this), category.name(u"nom_"));
    m_author = named(new QComboBox(this), category.name(u"list_"));
    m_author->setEditable(true);
    m_author->setInsertPolicy(QComboBox::NoInsert);
    m_author->setMinimumWidth(GridStyle::pixels(1455) + 20);
    m_author->setEditText({});
    // Suggestions in a list only: the box keeps exactly what the keeper typed ("Math" stays "Math", "léa" stays
    // "léa"), since each spelling is an author of its own. Case-sensitive, so Enter does not pick "Léa" for "léa".
    auto* completer = new QCompleter(m_author->model(), m_author);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    m_author->setCompleter(completer);
    m_url = named(new QLineEdit(this), category.name(u"url_"));
    m_link = named(new QLineEdit(this), category.name(u"url_", u"_sor"));
    auto* add = named(new QPushButton(QStringLiteral("Ajouter"), this), category.name(u"bt_add_"));
    auto* update = named(new QPushButton(QStringLiteral("MAJ"), this), category.name(u"bt_maj_"));
    connect(add, &QPushButton::clicked, this, &CategoryTab::addClicked);
    connect(update, &QPushButton::clicked, this, &CategoryTab::updateClicked);
    for (QPushButton* button : {add, update}) {
        button->setAutoDefault(true); // Enter presses the focused button
    }
    // The reading order of the panel.
    const QList<QWidget*> reading = {m_number, m_answer, m_author, m_url, m_link, add, update};
    for (qsizetype i = 1; i < reading.size(); ++i) {
        QWidget::setTabOrder(reading.at(i - 1), reading.at(i));
    }

    // Grid with its scroll buttons on the left and the display options on the right.
    auto* scroll = new QVBoxLayout;
    scroll->addWidget(first);
    scroll->addStretch();
    scroll->addWidget(last);
    auto* options = new QVBoxLayout;
    options->addStretch(2);
    options->addWidget(frame);
    options->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(scroll);
    top->addWidget(m_grid, 1);
    top->addLayout(options);

    // Edit panel: labels on the left, boxes in the middle, the two buttons on the right.
    const QStringList& labels = category.panelLabels;
    auto* panel = new QGridLayout;
    panel->addWidget(panelLabel(labels.value(0), QStringLiteral("N°"), this), 0, 0);
    panel->addWidget(m_number, 0, 1, Qt::AlignLeft);
    panel->addWidget(panelLabel(labels.value(1), category.answerLabel, this), 1, 0);
    panel->addWidget(m_answer, 1, 1);
    panel->addWidget(panelLabel(labels.value(2), QStringLiteral("Auteur"), this), 2, 0);
    panel->addWidget(m_author, 2, 1, Qt::AlignLeft);
    panel->addWidget(add, 0, 2, 2, 1, Qt::AlignVCenter);
    panel->addWidget(update, 2, 2);
    panel->addWidget(panelLabel(labels.value(3), QStringLiteral("Lien image"), this), 3, 0);
    panel->addWidget(m_url, 3, 1, 1, 2);
    panel->addWidget(panelLabel(labels.value(4), QStringLiteral("Lien Sorvane"), this), 4, 0);
    panel->addWidget(m_link, 4, 1, 1, 2);
    panel->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addSpacing(8);
    layout->addLayout(panel);
}

QStringList CategoryTab::gridCells(const PuzzleEntry& entry)
{
    return {entry.ref, entry.answer, entry.author};
}

void CategoryTab::fill(const QList<PuzzleEntry>& entries)
{
    QList<QStringList> rows;
    rows.reserve(entries.size());
    for (const PuzzleEntry& entry : entries) {
        rows.append(gridCells(entry));
    }
    m_model->setRows(std::move(rows));
    showLastRows();
}

void CategoryTab::scrollToGridRow(int gridRow)
{
    if (gridRow < 1 || gridRow > m_model->rowCount()) {
        return;
    }
    m_pinnedRow = gridRow;
    keepPinnedRow();
}

bool CategoryTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_grid->currentIndex().isValid()) {
            // Enter on the current row takes it as a click does.
            emit rowClicked(m_grid->currentIndex().row() + 1);
            return true;
        }
        m_pinnedRow.reset(); // the keeper moves through the grid by hand
        m_keyHeld = true;
    } else if (watched == m_grid && (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut)) {
        m_keyHeld = false;
    }
    return QWidget::eventFilter(watched, event);
}

void CategoryTab::keepPinnedRow()
{
    if (m_pinnedRow && *m_pinnedRow <= m_model->rowCount()) {
        m_grid->scrollTo(m_model->index(*m_pinnedRow - 1, 0), QAbstractItemView::PositionAtTop);
    }
}

int CategoryTab::topGridRow() const
{
    if (m_model->rowCount() == 0) {
        return 0;
    }
    const int row = m_grid->rowAt(0);
    return row < 0 ? 0 : row + 1;
}

void CategoryTab::showFirstRows()
{
    scrollToGridRow(1);
}

void CategoryTab::showLastRows()
{
    scrollToGridRow(m_model->gridRowCount() - 1);
}

PuzzleEntry CategoryTab::panel() const
{
    return {m_number->text(), m_answer->text(), m_author->currentText(), m_url->text(), m_link->text()};
}

void CategoryTab::setPanel(const PuzzleEntry& entry)
{
    m_number->setText(entry.ref);
    m_answer->setText(entry.answer);
    m_author->setEditText(entry.author);
    m_url->setText(entry.url);
    m_link->setText(entry.link);
}

void CategoryTab::clearPanel()
{
    setPanel({});
}

void CategoryTab::setAuthorList(const QStringList& authors)
{
    m_author->clear();
    m_author->addItems(authors);
    m_author->setEditText({});
}

bool CategoryTab::showImageChecked() const
{
    return m_showImage->isChecked();
}

CategoryTab::Display CategoryTab::display() const
{
    if (m_web->isChecked()) {
        return Display::Web;
    }
    if (m_forum->isChecked()) {
        return Display::Forum;
    }
    return Display::Window;
}
