#include "check/ComparisonWindow.h"

#include "catalogue/Category.h"
#include "check/CheckTexts.h"
#include "ui/GridStyle.h"
#include "ui/WindowPlacement.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>

namespace {

// Row headings by comparison row; their texts are the series captions.
const QStringList rowLabels = {QStringLiteral("Label4"), QStringLiteral("Label7"), QStringLiteral("Label5"),
                               QStringLiteral("Label6")};

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    return result;
}

QLineEdit* numberBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    // Wide enough for five digits in bold, whatever the font.
    QFont bold = box->font();
    bold.setBold(true);
    const int digits = QFontMetrics(bold).horizontalAdvance(QStringLiteral("00000")) + 12;
    box->setFixedSize(std::max(GridStyle::pixels(555), digits),
                      std::max(GridStyle::pixels(315), box->sizeHint().height()));
    return box;
}

QString numberText(const std::optional<int>& value)
{
    return value ? QString::number(*value) : CheckTexts::unknown();
}

QString numberRef(int value)
{
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

} // namespace

ComparisonWindow::ComparisonWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_err"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(CheckTexts::caption());

    // The arrangement of the original form, 15 twips a pixel: heading, column headings, then one row a series.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(GridStyle::pixels(600), GridStyle::pixels(240), GridStyle::pixels(1335),
                             GridStyle::pixels(390));
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(GridStyle::pixels(225));
    grid->setColumnMinimumWidth(0, GridStyle::pixels(855));
    grid->setColumnMinimumWidth(1, GridStyle::pixels(165));
    grid->setColumnMinimumWidth(3, GridStyle::pixels(885));
    grid->setRowMinimumHeight(1, GridStyle::pixels(465));

    auto* heading = label(QStringLiteral("Label1"), CheckTexts::heading(), this);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, 0, 1, 5);
    grid->addWidget(label(QStringLiteral("Label2"), CheckTexts::foundHeading(), this), 2, 2, Qt::AlignHCenter);
    grid->addWidget(label(QStringLiteral("Label3"), CheckTexts::countedHeading(), this), 2, 4, Qt::AlignHCenter);

    m_found.resize(Category::all().size());
    m_counted.resize(Category::all().size());
    for (const Category& category : Category::all()) {
        const int row = category.comparisonRow - 1;
        const QString index = QString::number(category.comparisonRow);
        m_found[row] = numberBox(QStringLiteral("gnv_") + index, this);
        m_counted[row] = numberBox(QStringLiteral("dpt_") + index, this);
        grid->addWidget(label(rowLabels.at(row), category.caption, this), 3 + row, 0);
        grid->addWidget(m_found.at(row), 3 + row, 2);
        grid->addWidget(m_counted.at(row), 3 + row, 4);
    }
    grid->setSizeConstraint(QLayout::SetFixedSize);
    WindowPlacement::closeOnEscape(*this);
}

ComparisonWindow::Look ComparisonWindow::look(const Pair& pair)
{
    if (!pair.found || !pair.counted) {
        return Look::Unknown;
    }
    return *pair.found == *pair.counted ? Look::Equal : Look::Different;
}

QString ComparisonWindow::missingTip(const Pair& pair)
{
    if (look(pair) != Look::Different || *pair.found < *pair.counted) {
        return {};
    }
    const int first = *pair.counted + 1;
    if (first == *pair.found) {
        return CheckTexts::missingOne().arg(numberRef(first));
    }
    return CheckTexts::missingRange().arg(numberRef(first), numberRef(*pair.found));
}

void ComparisonWindow::setPairs(const QList<Pair>& pairs)
{
    m_mark.clear();
    for (int row = 0; row < pairs.size() && row < m_found.size(); ++row) {
        showPair(row, pairs.at(row));
        if (look(pairs.at(row)) == Look::Different) {
            m_mark = CheckTexts::differenceMark();
        }
    }
    setWindowTitle(m_mark.isEmpty() ? CheckTexts::caption()
                                    : CheckTexts::titleWithMark().arg(CheckTexts::caption(), m_mark));
}

void ComparisonWindow::showPair(int row, const Pair& pair)
{
    // Colours of the original: black on yellow when equal, yellow on red when different; grey marks the unknown.
    QColor background;
    QColor text = Qt::black;
    QString tip;
    switch (look(pair)) {
    case Look::Equal:
        background = QColor(255, 255, 0);
        break;
    case Look::Different:
        background = QColor(255, 0, 0);
        text = QColor(255, 255, 0);
        tip = missingTip(pair);
        break;
    case Look::Unknown:
        background = QColor(192, 192, 192);
        tip = CheckTexts::unknownTip();
        break;
    }
    const std::array<std::pair<QLineEdit*, std::optional<int>>, 2> boxes = {std::pair{m_found.at(row), pair.found},
                                                                            std::pair{m_counted.at(row), pair.counted}};
    for (const auto& [box, value] : boxes) {
        box->setText(numberText(value));
        QFont font = box->font();
        font.setBold(true);
        box->setFont(font);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, text);
        box->setPalette(palette);
        box->setToolTip(tip);
    }
}
