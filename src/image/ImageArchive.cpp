#include "image/ImageArchive.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "image/ImageSignature.h"
#include "image/ImageTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

ImageArchive::ImageArchive(CatalogueFolder folder, Catalogue& catalogue, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_catalogue(catalogue)
{
}

QString ImageArchive::folderOf(const Category& category) const
{
    return m_folder.images(category);
}

QString ImageArchive::fileName(const QString& ref, const QString& extension)
{
    // Letters, digits and "-._~" stay; a slash, a colon or a space in a number made by another tool does not
    // reach the file system. A leading dot would hide the file.
    QString name = QString::fromLatin1(QUrl::toPercentEncoding(ref));
    if (name.isEmpty() || name.startsWith(u'.')) {
        name.prepend(u'_');
    }
    return name + u'.' + extension;
}

std::optional<ImageArchive::Copy> ImageArchive::copyOf(const Category& category, const QString& ref,
                                                       const QString& address) const
{
    const std::optional<ArchiveRecord> record = m_catalogue.archiveRecord(category, ref);
    if (!record) {
        return std::nullopt;
    }
    const QString path = folderOf(category) + u'/' + record->fileName;
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    return Copy{path, record->address, record->taken, record->address == address};
}

QSet<QString> ImageArchive::freshNumbers(const Category& category, const QList<PuzzleEntry>& entries) const
{
    QHash<QString, ArchiveRecord> records;
    for (ArchiveRecord& record : m_catalogue.archiveRecords(category)) {
        records.insert(record.ref, std::move(record));
    }
    QSet<QString> fresh;
    const QString folder = folderOf(category);
    for (const PuzzleEntry& entry : entries) {
        const auto record = records.constFind(entry.ref);
        if (record != records.cend() && record->address == entry.url &&
            QFileInfo(folder + u'/' + record->fileName).isFile()) {
            fresh.insert(entry.ref);
        }
    }
    return fresh;
}

QString ImageArchive::keep(const Category& category, const QString& ref, const QString& address,
                           const QByteArray& original, const QDateTime& when)
{
    const QString extension = ImageSignature::extension(original.left(ImageSignature::headLength));
    if (extension.isEmpty()) {
        return ImageTexts::notAnImage();
    }
    const QString folder = folderOf(category);
    if (!QDir().mkpath(folder)) {
        return ImageTexts::archiveFolderFailed().arg(QDir::toNativeSeparators(folder));
    }
    const QString name = fileName(ref, extension);
    const QString path = folder + u'/' + name;
    std::optional<ArchiveRecord> previous;
    try {
        previous = m_catalogue.archiveRecord(category, ref);
    } catch (const CatalogueError& error) {
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), error.message() + u' ' + error.detail());
    }

    // QSaveFile writes a temporary file beside the target and renames it over the target only once every byte is
    // on the disk; after a failed write (a full disk) its destructor removes the temporary file.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(original) == original.size();
    if (!written || !file.commit()) {
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), file.errorString());
    }
    try {
        m_catalogue.recordArchive(category, {ref, address, name, when.toUTC()});
    } catch (const CatalogueError& error) {
        // The file must not outlive a record that does not name it: it would pass for a copy of another address.
        QFile::remove(path);
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), error.message() + u' ' + error.detail());
    }
    if (previous && previous->fileName != name) {
        QFile::remove(folder + u'/' + previous->fileName); // the copy of another format, replaced
    }
    emit kept(category, ref);
    return {};
}
