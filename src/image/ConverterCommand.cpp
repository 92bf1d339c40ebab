#include "image/ConverterCommand.h"

#include <QStandardPaths>

ConverterCommand ConverterCommand::locate(const QStringList& searchPaths)
{
    const QString magick = QStandardPaths::findExecutable(QStringLiteral("magick"), searchPaths);
    if (!magick.isEmpty()) {
        return {magick, {QStringLiteral("convert")}};
    }
#ifndef Q_OS_WIN
    // Not on Windows: its own convert.exe turns FAT volumes into NTFS.
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"), searchPaths);
    if (!convert.isEmpty()) {
        return {convert, {}};
    }
#endif
    return {};
}

QStringList ConverterCommand::arguments(const QString& inputName, const QString& outputName) const
{
    return leadingArguments + QStringList{inputName, QStringLiteral("-resize"),
                                          QStringLiteral("%1x%2").arg(boxWidth).arg(boxHeight), outputName};
}
