#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringList>

/// A grid of plain text cells under a header row, as the category, search and statistics grids show them.
///
/// The header is the view's horizontal header. A "grid row" counts the header as row 0, so grid row N is model
/// row N − 1 and the grid's row count is `rowCount() + 1`; the helpers named `gridRow…` speak that language.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GridModel(QStringList headers, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setHeaders(const QStringList& headers);
    QStringList headers() const { return m_headers; }
    /// Replaces every row; cell colours are dropped with the rows they belonged to.
    void setRows(QList<QStringList> rows);
    void appendRow(const QStringList& row);
    void setRow(int row, const QStringList& cells);
    const QStringList& row(int row) const { return m_rows.at(row); }
    const QList<QStringList>& rows() const { return m_rows; }
    QString cell(int row, int column) const;
    /// The first model row whose cell in `column` is exactly `text`, or −1.
    int findRow(int column, const QString& text) const;

    /// The grid's row count: the header row plus one per model row.
    int gridRowCount() const { return rowCount() + 1; }

    /// Paints one cell; an invalid colour gives the cell back its default background.
    void setCellBackground(int row, int column, const QColor& colour);
    QColor cellBackground(int row, int column) const;
    void setColumnAlignment(int column, Qt::Alignment alignment);

private:
    static quint64 key(int row, int column) { return (quint64(quint32(row)) << 32) | quint32(column); }

    QStringList m_headers;
    QList<QStringList> m_rows;
    QHash<quint64, QColor> m_backgrounds;
    QHash<int, Qt::Alignment> m_alignments;
};
