#include "check/LastNumbers.h"

#include "catalogue/Category.h"
#include "catalogue/SettingsFile.h"
#include "check/CheckTexts.h"

#include <QDir>

namespace {

const QString sectionLine = QStringLiteral("[dernier_numero]");
// 1-based character where each row's number starts.
constexpr std::array<int, LastNumbers::Rows> firstCharacter = {20, 22, 20, 24};

QString seriesOfRow(int row)
{
    for (const Category& category : Category::all()) {
        if (category.comparisonRow == row + 1) {
            return category.caption;
        }
    }
    return {};
}

} // namespace

std::optional<int> LastNumbers::number(QStringView text)
{
    const QStringView digits = text.trimmed();
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > 32767) {
            return std::nullopt;
        }
    }
    return value;
}

LastNumbers LastNumbers::parse(const QStringList& lines, const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    LastNumbers result;
    const qsizetype section = lines.indexOf(sectionLine);
    if (section < 0) {
        result.problems.append(CheckTexts::noSection().arg(file));
        return result;
    }
    QStringList withoutLine;
    for (int row = 0; row < Rows; ++row) {
        const qsizetype index = section + 1 + row;
        if (index >= lines.size()) {
            withoutLine.append(seriesOfRow(row));
            continue;
        }
        const QString text = lines.at(index).mid(firstCharacter.at(row) - 1);
        result.values.at(row) = number(text);
        if (result.values.at(row)) {
            continue;
        }
        const QString lineNumber = QString::number(index + 1);
        if (text.trimmed().isEmpty()) {
            result.problems.append(CheckTexts::absentValue().arg(file, lineNumber, seriesOfRow(row),
                                                                 QString::number(firstCharacter.at(row))));
        } else {
            result.problems.append(CheckTexts::badValue().arg(file, lineNumber, seriesOfRow(row), text.trimmed()));
        }
    }
    if (!withoutLine.isEmpty()) {
        result.problems.append(CheckTexts::shortSection().arg(file, withoutLine.join(QStringLiteral(", "))));
    }
    return result;
}

LastNumbers LastNumbers::read(const QString& path)
{
    QString problem;
    const std::optional<QStringList> lines = SettingsFile::readLines(path, &problem);
    if (!lines) {
        LastNumbers result;
        result.problems.append(problem.isEmpty() ? CheckTexts::settingsUnreadable().arg(QDir::toNativeSeparators(path))
                                                 : problem);
        return result;
    }
    return parse(*lines, path);
}
