#pragma once

#include <QString>

#include <optional>

struct Category;

/// The folder that holds one catalogue and every file that goes with it. The only place that builds their paths.
class CatalogueFolder {
public:
    explicit CatalogueFolder(QString folder);

    /// The folder to open: the one given on the command line; else the program's own folder when it holds a
    /// catalogue, ours or the old program's (portable use); else the user's data folder.
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
    /// The folder of one series' kept pictures.
    QString images(const Category& category) const;
    /// The kept picture that a record names `storedName` in the series' folder, or nothing when that is not a plain
    /// file name: a name read from a catalogue may come from someone else, and must never lead outside the folder.
    std::optional<QString> keptCopy(const Category& category, const QString& storedName) const;
    /// Whether `name` is a file name the archive could have made, safe on every system.
    static bool isPlainName(QStringView name);
    /// Thumbnails made from the kept pictures, beside the archive; nothing there is needed, all can be made again.
    QString thumbnails() const { return file(u"vignettes"); }
    /// A file of the folder named by the search program's setting.
    QString file(QStringView name) const;

private:
    QString m_folder;
};
