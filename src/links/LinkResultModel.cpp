#include "links/LinkResultModel.h"

#include "catalogue/Category.h"
#include "links/LinkRules.h"
#include "links/LinksTexts.h"

LinkResultModel::LinkResultModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int LinkResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

int LinkResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QStringList LinkResultModel::headers()
{
    return {LinksTexts::seriesHeader(),  LinksTexts::numberHeader(), LinksTexts::fieldHeader(),
            LinksTexts::addressHeader(), LinksTexts::classHeader(),  LinksTexts::detailHeader(),
            LinksTexts::finalHeader()};
}

QStringList LinkResultModel::cells(int row) const
{
    QStringList texts;
    for (int column = 0; column < ColumnCount; ++column) {
        texts.append(cell(row, column));
    }
    return texts;
}

// One cell only: a sort of thousands of rows asks for two cells at each comparison.
QString LinkResultModel::cell(int row, int column) const
{
    const LinkResult& result = m_results.at(row);
    const LinkTarget& target = result.target;
    switch (Column(column)) {
    case Series:
        return Category::all().at(target.category).caption;
    case Number:
        return target.ref;
    case Field:
        return target.field == LinkField::Image ? LinksTexts::imageField() : LinksTexts::postField();
    case Address:
        return target.address;
    case Class:
        return LinkRules::className(result.verdict.linkClass);
    case Detail:
        return result.verdict.reason;
    case Final:
        return result.verdict.finalAddress;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant LinkResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (role == sortRole && index.column() == Series) {
        const LinkTarget& target = m_results.at(index.row()).target;
        return QStringLiteral("%1 %2 %3").arg(target.category).arg(target.ref).arg(int(target.field));
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == sortRole) {
        return cell(index.row(), index.column());
    }
    return {};
}

QVariant LinkResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount) {
        return headers().at(section);
    }
    return {};
}

void LinkResultModel::append(const LinkResult& result)
{
    beginInsertRows({}, rowCount(), rowCount());
    m_results.append(result);
    endInsertRows();
}

void LinkResultModel::clear()
{
    beginResetModel();
    m_results.clear();
    endResetModel();
}
