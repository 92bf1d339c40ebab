#pragma once

#include "consistency/Finding.h"

#include <QAbstractItemModel>

/// The findings as a tree: a row per kind (with its count), under it a row per finding, under that a row per
/// entry concerned (series, number, answer, author). Kinds without findings are left out.
class FindingModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { Series, Number, Answer, Author, ColumnCount };

    explicit FindingModel(QObject* parent = nullptr);

    void setFindings(const QList<Finding>& findings);
    /// The finding of a finding row or of one of its entry rows; nullptr for a kind row.
    const Finding* finding(const QModelIndex& index) const;
    /// The entry of an entry row; nullptr for the other rows.
    const Finding::Place* place(const QModelIndex& index) const;
    /// Whether the row is a kind or a finding (one text across the row) rather than an entry.
    static bool isHeading(const QModelIndex& index);
    /// The number of entry rows.
    int entryRows() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // Kind rows carry the id 0, finding rows 1 + their kind row, entry rows entryBase + their finding's position.
    static constexpr quintptr entryBase = 64;
    struct Group {
        Finding::Kind kind;
        QList<int> findings; ///< positions in m_findings
    };

    QList<Finding> m_findings;
    QList<Group> m_groups;
    QList<std::pair<int, int>> m_rowOf; ///< for each finding: its kind row and its row under it
};
