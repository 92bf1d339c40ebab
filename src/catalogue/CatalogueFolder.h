#pragma once

#include <QString>

/// The folder that holds one catalogue and every file that goes with it. The only place that builds their paths.
class CatalogueFolder {
public:
    explicit CatalogueFolder(QString folder);

    /// The folder to open: the one given on the command line; else the program's own folder when it holds a
    /// catalogue (portable use); else the user's data folder.
    static QString choose(const QString& commandLineFolder, const QString& programFolder, const QString& dataFolder);

    const QString& path() const { return m_folder; }
    QString database() const { return file(u"Mézor.db"); }
    QString settings() const { return file(u"paramvorn.ini"); }
    QString downloadedImage() const { return file(u"image_url.jpg"); }
    QString resizedImage() const { return file(u"image2_url.jpg"); }
    QString lockFile() const { return file(u"Mézor.lock"); }
    QString backups() const { return file(u"sauvegardes"); }
    /// The kept pictures, one folder per series table.
    QString images() const { return file(u"images"); }
    /// A file of the folder named by the search program's setting.
    QString file(QStringView name) const;

private:
    QString m_folder;
};
