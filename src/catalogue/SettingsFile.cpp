#include "catalogue/SettingsFile.h"

#include "catalogue/CatalogueTexts.h"

#include "catalogue/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

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

std::optional<QStringList> readLines(const QString& path, QString* problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // Read one byte past the limit: a file that grows meanwhile is caught too.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        if (problem) {
            *problem = CatalogueTexts::settingsTooLarge().arg(QDir::toNativeSeparators(path)).arg(maxBytes / 1024);
        }
        return std::nullopt;
    }
    return splitLines(decode(bytes));
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

std::optional<QByteArray> withProgramSetting(const QByteArray& file, const QString& program)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(file); // decoded only when taken as a string
    QByteArray value;
    if (!utf8.hasError()) {
        value = program.toUtf8();
    } else {
        // Windows-1252 agrees with Latin-1 but in 0x80–0x9F, where Latin-1 has control characters only.
        for (const QChar c : program) {
            if (c.unicode() > 0xFF || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) {
                return std::nullopt;
            }
            value.append(char(c.unicode()));
        }
    }
    static const QByteArray key = "programme=";
    for (qsizetype start = 0; start < file.size();) {
        qsizetype end = start;
        while (end < file.size() && file.at(end) != '\r' && file.at(end) != '\n') {
            ++end;
        }
        if (QByteArrayView(file).sliced(start, end - start).startsWith(key)) {
            return file.left(start + key.size()) + value + file.mid(end);
        }
        start = end + (file.mid(end, 2) == "\r\n" ? 2 : 1);
    }
    const bool ended = file.isEmpty() || file.endsWith('\n') || file.endsWith('\r');
    return file + (ended ? QByteArray() : QByteArray("\r\n")) + key + value + "\r\n";
}

} // namespace SettingsFile
