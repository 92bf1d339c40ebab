#include "StderrMessenger.h"

#include <QTextStream>

void StderrMessenger::show(Icon, const QString& text, const QString& detail)
{
    m_spoke = true;
    QTextStream err(stderr);
    err << text << '\n';
    if (!detail.isEmpty()) {
        err << detail << '\n';
    }
}

bool StderrMessenger::ask(const QString& text, const QString& detail)
{
    show(Icon::None, text, detail);
    return false;
}
