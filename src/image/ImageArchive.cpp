#include "image/ImageArchive.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "image/ImageSignature.h"
#include "image/ImageTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
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
    // Letters, digits and "-_~" stay; a slash, a colon, a dot or a space in a number made by another tool does not
    // reach the file system. A name Windows reads as a device, or an empty number, gets a leading "_".
    QString name = QString::fromLatin1(QUrl::toPercentEncoding(ref, {}, ".")) + u'.' + extension;
    if (!CatalogueFolder::isPlainName(name)) {
        name.prepend(u'_');
    }
    return name;
}

std::optional<ImageArchive::Copy> ImageArchive::copyOf(const Category& category, const QString& ref,
                                                       const QString& address) const
{
    const std::optional<ArchiveRecord> record = m_catalogue.archiveRecord(category, ref);
    if (!record) {
        return std::nullopt;
    }
    const std::optional<QString> path = m_folder.keptCopy(category, record->fileName);
    if (!path || !QFileInfo(*path).isFile()) {
        return std::nullopt;
    }
    return Copy{*path, record->address, record->taken, record->address == address};
}

QSet<QString> ImageArchive::freshNumbers(const Category& category, const QList<PuzzleEntry>& entries) const
{
    QHash<QString, ArchiveRecord> records;
    for (ArchiveRecord& record : m_catalogue.archiveRecords(category)) {
        records.insert(record.ref, std::move(record));
    }
    QSet<QString> fresh;
    for (const PuzzleEntry& entry : entries) {
        const auto record = records.constFind(entry.ref);
        if (record == records.cend() || record->address != entry.url) {
            continue;
        }
        const std::optional<QString> path = m_folder.keptCopy(category, record->fileName);
        if (path && QFileInfo(*path).isFile()) {
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
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), error.message() + u'\n' + error.detail());
    }

    // The new picture lands beside the old one under a hidden name (never taken for a copy), every byte on the
    // disk before anything else moves; its destructor removes it on any failure.
    QTemporaryFile staged(folder + QStringLiteral("/.XXXXXX.part"));
    if (!staged.open() || staged.write(original) != original.size() || !staged.flush()) {
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), staged.errorString());
    }
    // A copy of that very name is set aside, not overwritten, until the record names the new one.
    const QString aside = QFileInfo::exists(path) ? reservedName(folder) : QString();
    if (!aside.isEmpty() && !QFile::rename(path, aside)) {
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), ImageTexts::notMovedAside());
    }
    const auto putBack = [&] {
        if (!aside.isEmpty()) {
            QFile::remove(path);
            QFile::rename(aside, path);
        }
    };
    if (!staged.rename(path)) {
        const QString reason = staged.errorString();
        putBack();
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), reason);
    }
    staged.setAutoRemove(false);
    try {
        m_catalogue.recordArchive(category, {ref, address, name, when.toUTC()});
    } catch (const CatalogueError& error) {
        // The record still names the older copy: it goes back where it was, and the new file goes.
        if (aside.isEmpty()) {
            QFile::remove(path);
        }
        putBack();
        return ImageTexts::keepFailed().arg(QDir::toNativeSeparators(path), error.message() + u'\n' + error.detail());
    }
    if (!aside.isEmpty()) {
        QFile::remove(aside);
    }
    if (previous && previous->fileName != name) {
        // The copy of another format, replaced; a stored name that is not a plain file name is never followed.
        if (const std::optional<QString> replaced = m_folder.keptCopy(category, previous->fileName)) {
            QFile::remove(*replaced);
        }
    }
    emit kept(category, ref);
    return {};
}

QString ImageArchive::reservedName(const QString& folder)
{
    QTemporaryFile reserved(folder + QStringLiteral("/.XXXXXX.old"));
    return reserved.open() ? reserved.fileName() : folder + QStringLiteral("/.mezor.old");
}
