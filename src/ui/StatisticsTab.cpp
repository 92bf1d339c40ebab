#include "ui/StatisticsTab.h"

#include "catalogue/Category.h"
#include "ui/GridModel.h"
#include "ui/GridStyle.h"
#include "ui/UiTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

// Label objectNames of the four grids, in descriptor order, and where each grid stands (row, column).
struct Placement {
    const char16_t* label;
    int row;
    int column;
};
constexpr Placement placements[] = {{u"Label2", 0, 0}, {u"Label3", 0, 1}, {u"Label4", 2, 0}, {u"Label20", 2, 1}};

} // namespace

StatisticsTab::StatisticsTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tab_stats"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(20, 40, 20, 20);
    layout->setHorizontalSpacing(24);
    for (const Category& category : Category::all()) {
        const Placement& place = placements[category.index];
        auto* label = new QLabel(category.caption, this);
        label->setObjectName(QString::fromUtf16(place.label));
        QFont font = label->font();
        font.setPointSizeF(8.25);
        font.setUnderline(true);
        label->setFont(font);

        auto* model = new GridModel({QString(), QString()}, this);
        model->setRows({QStringList{QString(), QString()}});
        auto* grid = new QTableView(this);
        grid->setObjectName(category.statsGridName());
        grid->setModel(model);
        GridStyle::configure(grid, {1500, 700});
        grid->setMinimumSize(GridStyle::pixels(2655), GridStyle::pixels(2715));
        layout->addWidget(label, place.row, place.column);
        layout->addWidget(grid, place.row + 1, place.column);
        m_models.append(model);
        m_grids.append(grid);
    }
    auto* unused = new QPushButton(QStringLiteral("Command1"), this);
    unused->setObjectName(QStringLiteral("pus"));
    unused->hide();
}

void StatisticsTab::setHeaders()
{
    for (qsizetype index = 0; index < m_models.size(); ++index) {
        GridModel* model = m_models.at(index);
        model->setHeaders({UiTexts::authorHeader(), UiTexts::postsHeader()});
        model->setColumnAlignment(0, Qt::AlignLeft | Qt::AlignBottom);
        model->setColumnAlignment(1, Qt::AlignCenter);
        m_grids.at(index)->setColumnWidth(0, GridStyle::pixels(1500));
        m_grids.at(index)->setColumnWidth(1, GridStyle::pixels(700));
    }
}

void StatisticsTab::showCounts(int index, const QList<AuthorCount>& counts)
{
    QList<QStringList> rows;
    rows.reserve(counts.size() + 1);
    for (const AuthorCount& author : counts) {
        rows.append({author.name, QString::number(author.count)});
    }
    rows.append({QString(), QString()});
    m_models.at(index)->setRows(std::move(rows));
}
