#include "history/HistoryModel.h"

#include "catalogue/Category.h"
#include "history/HistoryTexts.h"
#include "history/JournalFormat.h"

void HistoryModel::setRecords(QList<JournalRecord> records)
{
    // The cells are made once here, so that a filter only compares texts.
    QList<Row> rows;
    rows.reserve(records.size());
    for (JournalRecord& record : records) {
        Row row;
        // The date is made when a row is shown: converting ten thousand to local time would slow the opening.
        row.cells = {QString(), record.category < 0 ? QString() : Category::all().at(record.category).caption,
                     record.ref,
                     record.description +
                         (record.state == JournalRecord::State::Undone ? HistoryTexts::undoneMark() : QString()),
                     JournalFormat::detail(record)};
        row.folded =
            (row.cells[Series] + u'\n' + row.cells[Number] + u'\n' + row.cells[Change] + u'\n' + row.cells[Detail])
                .toCaseFolded();
        row.record = std::move(record);
        rows.append(std::move(row));
    }
    beginResetModel();
    m_rows = std::move(rows);
    applyFilter();
    endResetModel();
}

void HistoryModel::setFilter(int series, const QString& text)
{
    beginResetModel();
    m_series = series;
    m_text = text.trimmed().toCaseFolded();
    applyFilter();
    endResetModel();
}

void HistoryModel::applyFilter()
{
    m_shown.clear();
    for (int i = 0; i < m_rows.size(); ++i) {
        const Row& row = m_rows.at(i);
        if ((m_series < 0 || row.record.category == m_series) && (m_text.isEmpty() || row.folded.contains(m_text))) {
            m_shown.append(i);
        }
    }
}

const JournalRecord& HistoryModel::record(int row) const
{
    return m_rows.at(m_shown.at(row)).record;
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole) {
        return {};
    }
    const Row& row = m_rows.at(m_shown.at(index.row()));
    return index.column() == Date ? JournalFormat::date(row.record) : row.cells.at(index.column());
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    const QStringList headers{HistoryTexts::dateHeader(), HistoryTexts::seriesHeader(), HistoryTexts::numberHeader(),
                              HistoryTexts::changeHeader(), HistoryTexts::detailHeader()};
    return headers.value(section);
}
