#include "app/ConsoleMessenger.h"

#include "app/AppTexts.h"

#include <cstdio>

void ConsoleMessenger::show(Icon, const QString& text, const QString& detail)
{
    const QString line = detail.isEmpty() ? text : text + u'\n' + detail;
    std::fputs(qPrintable(line + u'\n'), stderr);
    std::fflush(stderr);
}

bool ConsoleMessenger::ask(const QString& text, const QString& detail, Answer)
{
    show(Icon::None, text + u' ' + AppTexts::answeredNo(), detail);
    return false;
}
