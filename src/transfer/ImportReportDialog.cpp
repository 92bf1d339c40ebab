#include "transfer/ImportReportDialog.h"

#include "transfer/TransferTexts.h"
#include "ui/UiTexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

ImportReportDialog::ImportReportDialog(bool done, const QString& heading, const QStringList& lines, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_rapport"));
    setWindowTitle(UiTexts::applicationTitle());

    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(
        style()
            ->standardIcon(done ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning, nullptr, this)
            .pixmap(side, side));
    auto* text = new QLabel(heading, this);
    text->setObjectName(QStringLiteral("lbl_rapport"));
    text->setWordWrap(true);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lst_rapport"));
    m_list->addItems(lines);
    m_list->setWordWrap(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setText(TransferTexts::close());
    close->setDefault(true);
    close->setFocus();
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(640, 400);
}
