#include "ui/Messenger.h"

#include "ui/UiTexts.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(Messenger::Icon icon)
{
    switch (icon) {
    case Messenger::Icon::Warning:
        return QMessageBox::Warning;
    case Messenger::Icon::Critical:
        return QMessageBox::Critical;
    case Messenger::Icon::Information:
        return QMessageBox::Information;
    case Messenger::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtMessenger::show(Icon icon, const QString& text, const QString& detail)
{
    QMessageBox box(toQt(icon), UiTexts::applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.setInformativeText(detail);
    box.exec();
}

bool QtMessenger::ask(const QString& text, const QString& detail, Answer byDefault)
{
    QMessageBox box(QMessageBox::Question, UiTexts::applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setInformativeText(detail);
    box.setDefaultButton(byDefault == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
