#include "catalogue/CatalogueFolder.h"

#include <QDir>
#include <QFileInfo>

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
