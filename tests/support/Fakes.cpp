#include "support/Fakes.h"

void FakeMessenger::show(Icon icon, const QString& text, const QString& detail)
{
    shown.append({icon, text, detail});
}

bool FakeMessenger::ask(const QString& text, const QString&, Answer byDefault)
{
    questions.append(text);
    defaults.append(byDefault);
    return answers.isEmpty() ? false : answers.takeFirst();
}

QStringList FakeMessenger::texts() const
{
    QStringList result;
    for (const Shown& s : shown) {
        result.append(s.text);
    }
    return result;
}

bool FakeProgramStarter::startDetached(const QString& program, const QStringList& arguments,
                                       const QString& workingFolder, QString* error)
{
    calls.append({program, arguments, workingFolder});
    if (!succeed && error) {
        *error = QStringLiteral("refusé par le test");
    }
    return succeed;
}
