#include "catalogue/CatalogueFolder.h"

#include "catalogue/Category.h"

#include <QDir>
#include <QFileInfo>

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
    if (QFileInfo(CatalogueFolder(programFolder).database()).isFile()) {
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

std::optional<QString> CatalogueFolder::keptCopy(const Category& category, const QString& storedName) const
{
    // No separator of any system, no drive, no parent or hidden name, no control character.
    const bool plain = !storedName.isEmpty() && !storedName.startsWith(u'.') &&
                       std::none_of(storedName.cbegin(), storedName.cend(), [](QChar c) {
                           return c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control;
                       });
    if (!plain) {
        return std::nullopt;
    }
    return images(category) + u'/' + storedName;
}
