#pragma once

#include "catalogue/CatalogueFolder.h"
#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QDateTime>
#include <QObject>
#include <QSet>

#include <optional>

class Catalogue;

/// The pictures that Mézor has downloaded, kept in the catalogue folder as images/<table>/<ref>.<extension>, the
/// extension that of the file's signature. The catalogue records the address each copy came from and when; a copy
/// is fresh while the entry's image address is still that one.
///
/// A file and its record always agree: the new file is written under a hidden name and renamed into place, a copy
/// of the same name set aside meanwhile; once the record names the new file the older copy goes, and when the
/// record is refused the older copy is put back. A file name read from a record is followed only when it is a
/// plain name inside the series' folder.
class ImageArchive : public QObject {
    Q_OBJECT

public:
    struct Copy {
        QString path;
        QString address; ///< the address it was downloaded from
        QDateTime taken; ///< UTC
        bool fresh = false;
    };

    ImageArchive(CatalogueFolder folder, Catalogue& catalogue, QObject* parent = nullptr);

    /// The kept copy of entry `ref` whose image address is now `address`, when its file is there. Throws
    /// `CatalogueError`.
    std::optional<Copy> copyOf(const Category& category, const QString& ref, const QString& address) const;
    /// The numbers of the `entries` of a series whose copy is fresh. Throws `CatalogueError`.
    QSet<QString> freshNumbers(const Category& category, const QList<PuzzleEntry>& entries) const;
    /// Keeps `original` (a downloaded image that passed the signature check) as the copy of entry `ref`, taken from
    /// `address` at `when`. Returns nothing, or why it was not kept; then nothing new is left on disk.
    QString keep(const Category& category, const QString& ref, const QString& address, const QByteArray& original,
                 const QDateTime& when = QDateTime::currentDateTimeUtc());

    /// The file name of a copy: the number, with what a file name cannot hold percent-encoded, and the extension.
    static QString fileName(const QString& ref, const QString& extension);

signals:
    /// A copy of entry `ref` was kept: its file and its record are in place.
    void kept(const Category& category, const QString& ref);

private:
    QString folderOf(const Category& category) const;
    /// A free hidden name in `folder`, for a copy set aside.
    static QString reservedName(const QString& folder);

    CatalogueFolder m_folder;
    Catalogue& m_catalogue;
};
