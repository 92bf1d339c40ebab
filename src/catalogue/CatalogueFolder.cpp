#include "catalogue/CatalogueFolder.h"

#include "catalogue/Category.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

CatalogueFolder::CatalogueFolder(QString folder)
    : m_folder(QDir::cleanPath(QDir(folder).absolutePath()))
{
}

QString CatalogueFolder::choose(const QString& commandLineFolder, const QString& programFolder,
                                const QString& dataFolder)
{
    if (!commandLineFolder.isEmpty()) {
        return commandLineFolder;
    }
    // The old program's folder counts too: its catalogue is offered for import at start.
    const CatalogueFolder program(programFolder);
    if (QFileInfo(program.database()).isFile() || QFileInfo(program.file(u"Mézor.mdb")).isFile()) {
        return programFolder;
    }
    return dataFolder;
}

QString CatalogueFolder::file(QStringView name) const
{
    QString path = m_folder + u'/';
    path += name;
    return path;
}

QString CatalogueFolder::images(const Category& category) const
{
    return images() + u'/' + category.table;
}

bool CatalogueFolder::isPlainName(QStringView name)
{
    // Only what the archive's own names are made of (letters, digits and "-._~%"): no separator of any system, no
    // drive, no parent or hidden name, nothing Windows refuses or reads as a device.
    const bool plainCharacters = std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return (c.unicode() < 0x80 && c.isLetterOrNumber()) || QStringView(u"-._~%").contains(c);
    });
    if (name.isEmpty() || !plainCharacters || name.startsWith(u'.') || name.endsWith(u'.') || name.contains(u"..")) {
        return false;
    }
    static const QRegularExpression device(QStringLiteral("^(con|prn|aux|nul|com[0-9]|lpt[0-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return !device.match(name).hasMatch();
}

std::optional<QString> CatalogueFolder::keptCopy(const Category& category, const QString& storedName) const
{
    if (!isPlainName(storedName)) {
        return std::nullopt;
    }
    return images(category) + u'/' + storedName;
}
