#pragma once

#include "catalogue/JournalChange.h"

#include <QAbstractTableModel>

/// The journal as a grid, newest first: date, series, number, the change and the fields it changed. Filtered by
/// series and by a text found, without regard to case, in any column but the date.
class HistoryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Date, Series, Number, Change, Detail, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRecords(QList<JournalRecord> records);
    /// `series` is a descriptor index, or -1 for every series.
    void setFilter(int series, const QString& text);
    /// The change shown on `row`.
    const JournalRecord& record(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        JournalRecord record;
        std::array<QString, ColumnCount> cells;
        QString folded; ///< the cells but the date, case-folded, for the text filter
    };
    void applyFilter();

    QList<Row> m_rows;
    QList<int> m_shown;
    int m_series = -1;
    QString m_text;
};
