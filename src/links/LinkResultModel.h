#pragma once

#include "links/LinkResult.h"

#include <QAbstractTableModel>

/// The listed results of a run, one row each: series, number, which address, the address, class, detail and
/// final address. `sortRole` orders the series column by series, number and address (image first), the others as
/// text.
class LinkResultModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Series, Number, Field, Address, Class, Detail, Final, ColumnCount };
    static constexpr int sortRole = Qt::UserRole;

    explicit LinkResultModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void append(const LinkResult& result);
    void clear();
    const LinkResult& result(int row) const { return m_results.at(row); }
    /// The header texts, then the cells of `row`.
    static QStringList headers();
    QStringList cells(int row) const;

private:
    QString cell(int row, int column) const;

    QList<LinkResult> m_results;
};
