#include "consistency/FindingModel.h"

#include "catalogue/Category.h"
#include "consistency/ConsistencyRules.h"
#include "consistency/ConsistencyTexts.h"

#include <QFont>

FindingModel::FindingModel(QObject* parent)
    : QAbstractItemModel(parent)
{
}

void FindingModel::setFindings(const QList<Finding>& findings)
{
    beginResetModel();
    m_findings = findings;
    m_groups.clear();
    m_rowOf.clear();
    for (const Finding& finding : std::as_const(m_findings)) {
        if (m_groups.isEmpty() || m_groups.last().kind != finding.kind) {
            m_groups.append({finding.kind, {}});
        }
        m_rowOf.append({int(m_groups.size() - 1), int(m_groups.last().findings.size())});
        m_groups.last().findings.append(int(m_rowOf.size() - 1));
    }
    endResetModel();
}

const Finding* FindingModel::finding(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() == 0) {
        return nullptr;
    }
    if (index.internalId() >= entryBase) {
        return &m_findings.at(qsizetype(index.internalId() - entryBase));
    }
    return &m_findings.at(m_groups.at(qsizetype(index.internalId() - 1)).findings.at(index.row()));
}

const Finding::Place* FindingModel::place(const QModelIndex& index) const
{
    if (!index.isValid() || index.internalId() < entryBase) {
        return nullptr;
    }
    return &finding(index)->entries.at(index.row());
}

bool FindingModel::isHeading(const QModelIndex& index)
{
    return index.isValid() && index.internalId() < entryBase;
}

int FindingModel::entryRows() const
{
    int rows = 0;
    for (const Finding& finding : m_findings) {
        rows += int(finding.entries.size());
    }
    return rows;
}

QModelIndex FindingModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, quintptr(0));
    }
    if (parent.internalId() == 0) {
        return createIndex(row, column, quintptr(parent.row() + 1));
    }
    const int position = m_groups.at(qsizetype(parent.internalId() - 1)).findings.at(parent.row());
    return createIndex(row, column, entryBase + quintptr(position));
}

QModelIndex FindingModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0) {
        return {};
    }
    if (child.internalId() < entryBase) {
        return createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    const auto [group, row] = m_rowOf.at(qsizetype(child.internalId() - entryBase));
    return createIndex(row, 0, quintptr(group + 1));
}

int FindingModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid()) {
        return int(m_groups.size());
    }
    if (parent.column() != 0) {
        return 0;
    }
    if (parent.internalId() == 0) {
        return int(m_groups.at(parent.row()).findings.size());
    }
    if (parent.internalId() < entryBase) {
        return int(finding(parent)->entries.size());
    }
    return 0;
}

int FindingModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant FindingModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::FontRole && index.internalId() == 0) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    if (index.internalId() == 0) {
        const Group& group = m_groups.at(index.row());
        return index.column() == 0
                   ? ConsistencyTexts::group().arg(ConsistencyRules::kindTitle(group.kind)).arg(group.findings.size())
                   : QVariant();
    }
    if (index.internalId() < entryBase) {
        return index.column() == 0 ? QVariant(finding(index)->text) : QVariant();
    }
    const Finding::Place& at = *place(index);
    switch (index.column()) {
    case Series:
        return Category::all().at(at.category).caption;
    case Number:
        return at.entry.ref;
    case Answer:
        return at.entry.answer;
    default:
        return at.entry.author;
    }
}

QVariant FindingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    const QStringList headers{ConsistencyTexts::seriesHeader(), ConsistencyTexts::numberHeader(),
                              ConsistencyTexts::answerHeader(), ConsistencyTexts::authorHeader()};
    return headers.value(section);
}
