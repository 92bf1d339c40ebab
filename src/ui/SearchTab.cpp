#include "ui/SearchTab.h"

#include "catalogue/Category.h"
#include "ui/GridModel.h"
#include "ui/GridStyle.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

SearchTab::SearchTab(QWidget* parent)
    : QWidget(parent)
    , m_model(new GridModel({QStringLiteral(" N°"), QStringLiteral(" Nom")}, this))
{
    setObjectName(QStringLiteral("tab_recherche"));
    m_options = new QButtonGroup(this);
    auto* optionsLayout = new QVBoxLayout;
    for (const Category& category : Category::all()) {
        auto* option = new QRadioButton(category.caption, this);
        option->setObjectName(category.searchOption);
        m_options->addButton(option, category.index);
        optionsLayout->addWidget(option);
    }
    optionsLayout->addStretch();

    m_criterion = new QLineEdit(this);
    m_criterion->setObjectName(QStringLiteral("cherche"));
    m_search = new QPushButton(QStringLiteral("GO !"), this);
    m_search->setObjectName(QStringLiteral("bt_search"));
    m_search->setDefault(true);
    // "GO !" is the default button: Enter presses it from anywhere in the window while this tab is shown, except
    // that a focused button takes Enter itself and the results take it as a click on their current row. A
    // window-wide shortcut owned by this page matches only while the page is visible, so Enter keeps its own
    // meaning on the other tabs.
    auto* enter = new QShortcut(this);
    enter->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    enter->setContext(Qt::WindowShortcut);
    connect(enter, &QShortcut::activated, this, [this] {
        QWidget* focused = QApplication::focusWidget();
        if (auto* button = qobject_cast<QPushButton*>(focused); button && isAncestorOf(button)) {
            button->click();
        } else if (focused == m_results && m_results->currentIndex().isValid()) {
            emit resultChosen(m_results->currentIndex().row() + 1);
        } else {
            m_search->click();
        }
    });

    m_model->setRows({QStringList{QString(), QString()}});
    m_results = new QTableView(this);
    m_results->setObjectName(QStringLiteral("grille_search"));
    m_results->setModel(m_model);
    GridStyle::configure(m_results, {500, 3000});
    m_results->setMinimumWidth(GridStyle::pixels(3555));
    connect(m_results, &QTableView::clicked, this,
            [this](const QModelIndex& index) { emit resultChosen(index.row() + 1); });

    m_count = new QLabel(UiTexts::noneFound(), this);
    m_count->setObjectName(QStringLiteral("nb_trouvé"));
    auto* unused = new QLabel(this);
    unused->setObjectName(QStringLiteral("nb_founded"));
    unused->hide();

    m_check = new QPushButton(QStringLiteral("Vérifier les MAJ"), this);
    m_check->setObjectName(QStringLiteral("bt_last"));
    QFont bold = m_check->font();
    bold.setBold(true);
    m_check->setFont(bold);
    m_check->setMinimumSize(GridStyle::pixels(1515), GridStyle::pixels(675));

    auto* criterionRow = new QHBoxLayout;
    criterionRow->addWidget(m_criterion, 1);
    criterionRow->addWidget(m_search);
    auto* right = new QVBoxLayout;
    right->addLayout(criterionRow);
    right->addWidget(m_results, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(m_check);
    right->addLayout(bottom);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 48, 24, 24);
    layout->addLayout(optionsLayout);
    layout->addSpacing(16);
    layout->addLayout(right, 1);
}

QRadioButton* SearchTab::option(int index) const
{
    return qobject_cast<QRadioButton*>(m_options->button(index));
}

void SearchTab::showHits(const QList<PuzzleEntry>& hits)
{
    QList<QStringList> rows;
    rows.reserve(hits.size() + 1);
    for (const PuzzleEntry& hit : hits) {
        rows.append({hit.ref, hit.answer});
    }
    if (hits.isEmpty()) {
        rows.append({QString(), UiTexts::notFound()});
        m_count->setText(UiTexts::noneFound());
    } else {
        rows.append({QString(), QString()});
        m_count->setText(UiTexts::found(hits.size()));
    }
    m_model->setRows(std::move(rows));
    m_results->scrollToTop();
}

void SearchTab::clearResults()
{
    m_criterion->clear();
    m_model->setRows({QStringList{QString(), QString()}});
    m_count->setText(UiTexts::noneFound());
}
