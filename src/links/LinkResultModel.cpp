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
    const LinkResult& result = m_results.at(row);
    const LinkTarget& target = result.target;
    return {Category::all().at(target.category).caption,
            target.ref,
            target.field == LinkField::Image ? LinksTexts::imageField() : LinksTexts::postField(),
            target.address,
            LinkRules::className(result.verdict.linkClass),
            result.verdict.reason,
            result.verdict.finalAddress};
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
        return cells(index.row()).at(index.column());
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
