#include "catalogue/SettingsFile.h"

#include "catalogue/TextDecoding.h"

#include <QFile>

namespace SettingsFile {

QString decode(const QByteArray& bytes)
{
    return TextDecoding::utf8OrWindows1252(bytes);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.append(text.mid(start));
    }
    return lines;
}

std::optional<QStringList> readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return splitLines(decode(file.readAll()));
}

std::optional<QString> programSetting(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.startsWith(u"programme=")) {
            return line.mid(10);
        }
    }
    return std::nullopt;
}

} // namespace SettingsFile
