#include "ui/GridModel.h"

GridModel::GridModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
{
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cell(index.row(), index.column());
    case Qt::BackgroundRole: {
        const QColor colour = cellBackground(index.row(), index.column());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::TextAlignmentRole: {
        const auto it = m_alignments.constFind(index.column());
        return it == m_alignments.constEnd() ? QVariant() : QVariant(int(*it));
    }
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size()) {
        return m_headers.at(section);
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void GridModel::setHeaders(const QStringList& headers)
{
    if (headers.size() != m_headers.size()) {
        beginResetModel();
        m_headers = headers;
        endResetModel();
        return;
    }
    m_headers = headers;
    emit headerDataChanged(Qt::Horizontal, 0, int(m_headers.size()) - 1);
}

void GridModel::setRows(QList<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_backgrounds.clear();
    endResetModel();
}

void GridModel::appendRow(const QStringList& row)
{
    const int at = rowCount();
    beginInsertRows({}, at, at);
    m_rows.append(row);
    endInsertRows();
}

void GridModel::setRow(int row, const QStringList& cells)
{
    m_rows[row] = cells;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole, Qt::ToolTipRole});
}

QString GridModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size()) {
        return {};
    }
    const QStringList& cells = m_rows.at(row);
    return column >= 0 && column < cells.size() ? cells.at(column) : QString();
}

int GridModel::findRow(int column, const QString& text) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (cell(row, column) == text) {
            return row;
        }
    }
    return -1;
}

void GridModel::setCellBackground(int row, int column, const QColor& colour)
{
    if (colour.isValid()) {
        m_backgrounds.insert(key(row, column), colour);
    } else {
        m_backgrounds.remove(key(row, column));
    }
    if (row >= 0 && row < rowCount() && column >= 0 && column < columnCount()) {
        emit dataChanged(index(row, column), index(row, column), {Qt::BackgroundRole});
    }
}

QColor GridModel::cellBackground(int row, int column) const
{
    return m_backgrounds.value(key(row, column));
}

void GridModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    m_alignments.insert(column, alignment);
    if (rowCount() > 0) {
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::TextAlignmentRole});
    }
}
