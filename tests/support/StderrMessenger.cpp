#include "support/StderrMessenger.h"

#include <cstdio>

void StderrMessenger::show(Icon, const QString& text, const QString& detail)
{
    ++m_count;
    const QByteArray line = (detail.isEmpty() ? text : text + u'\n' + detail).toUtf8() + '\n';
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

bool StderrMessenger::ask(const QString& text, const QString& detail, Answer)
{
    show(Icon::None, text, detail);
    return false;
}
