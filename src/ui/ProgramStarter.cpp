#include "ui/ProgramStarter.h"

#include <QProcess>

bool QProcessStarter::startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                                    QString* error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        if (error) {
            *error = process.errorString();
        }
        return false;
    }
    return true;
}
