#pragma once

#include <QList>
#include <QWidget>

#include <optional>

class QLineEdit;

/// The window "frm_err": for each series, the last number found on the forum (`gnv_i`) beside the number of
/// entries of the catalogue (`dpt_i`), rows Dravé, Tusqué, Plomé, Vantorel. It only shows what it is given.
class ComparisonWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString mark READ mark)

public:
    /// One row: either number may be unknown (it could not be read).
    struct Pair {
        std::optional<int> found;
        std::optional<int> counted;
    };
    enum class Look { Equal, Different, Unknown };

    explicit ComparisonWindow(QWidget* parent = nullptr);

    /// Fills the boxes and colours each pair; the mark becomes "err" when a pair differs.
    void setPairs(const QList<Pair>& pairs);

    /// "err" when a number differs, else empty.
    const QString& mark() const { return m_mark; }
    QLineEdit* foundBox(int row) const { return m_found.at(row); }
    QLineEdit* countedBox(int row) const { return m_counted.at(row); }

    static Look look(const Pair& pair);
    /// The numbers that the catalogue lacks, when the forum is ahead; else empty.
    static QString missingTip(const Pair& pair);

private:
    void showPair(int row, const Pair& pair);

    QString m_mark;
    QList<QLineEdit*> m_found;
    QList<QLineEdit*> m_counted;
};
