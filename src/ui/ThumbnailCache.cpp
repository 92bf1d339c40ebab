#include "ui/ThumbnailCache.h"

#include "catalogue/Category.h"
#include "ui/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace {

const QString stampKey = QStringLiteral("Mezor-Source");
const QString sizeKey = QStringLiteral("Mezor-Size");

// What tells one kept copy from the next: its bytes, its modification time and the date the archive recorded.
// A copy replaced within the file system's time resolution still gets a new recorded date.
QString stampOf(const QFileInfo& file, const ArchiveRecord& record)
{
    return QStringLiteral("%1 %2 %3")
        .arg(file.size())
        .arg(file.lastModified().toMSecsSinceEpoch())
        .arg(record.taken.toUTC().toString(Qt::ISODateWithMs));
}

QImage fitted(const QImage& image, int size)
{
    if (image.width() <= size && image.height() <= size) {
        return image;
    }
    return image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

ThumbnailCache::ThumbnailCache(CatalogueFolder folder)
    : m_folder(std::move(folder))
{
}

bool ThumbnailCache::acceptsSize(QSize pixels)
{
    return pixels.isValid() && !pixels.isEmpty() && qint64(pixels.width()) * pixels.height() <= largestArea;
}

std::optional<QString> ThumbnailCache::cacheFile(const Category& category, const QString& storedName) const
{
    // The kept copy's own check of the name guards the cache folder too.
    if (!m_folder.keptCopy(category, storedName)) {
        return std::nullopt;
    }
    return m_folder.thumbnails() + u'/' + category.table + u'/' + storedName + QStringLiteral(".png");
}

Thumbnail ThumbnailCache::thumbnail(const Category& category, const std::optional<ArchiveRecord>& record,
                                    int size) const
{
    Thumbnail result;
    if (!record) {
        return result;
    }
    const std::optional<QString> source = m_folder.keptCopy(category, record->fileName);
    const std::optional<QString> target = cacheFile(category, record->fileName);
    if (!source || !target) {
        result.problem = UiTexts::refusedName().arg(record->fileName);
        return result;
    }
    const QFileInfo kept(*source);
    if (!kept.isFile()) {
        return result;
    }
    size = qMax(1, size);
    const QString stamp = stampOf(kept, *record);
    QImageReader cached(*target, "png");
    if (cached.text(stampKey) == stamp && cached.text(sizeKey).toInt() >= size) {
        QImage image = cached.read();
        if (!image.isNull()) {
            result.state = Thumbnail::State::Cached;
            result.image = fitted(image, size);
            result.path = *target;
            return result;
        }
        // An unreadable cache file is made again below.
    }
    return make(*source, stamp, *target, size);
}

Thumbnail ThumbnailCache::make(const QString& source, const QString& stamp, const QString& target, int size) const
{
    Thumbnail result;
    QImageReader reader(source);
    // The header alone gives the size: a picture too large for memory is refused before any pixel is decoded.
    const QSize pixels = reader.size();
    if (!pixels.isValid()) {
        result.state = Thumbnail::State::Broken;
        result.problem = UiTexts::unreadablePicture().arg(native(source), reader.errorString());
        return result;
    }
    if (!acceptsSize(pixels)) {
        result.state = Thumbnail::State::TooLarge;
        result.problem = UiTexts::pictureTooLarge().arg(native(source)).arg(pixels.width()).arg(pixels.height());
        return result;
    }
    if (pixels.width() > size || pixels.height() > size) {
        // JPEG decodes straight at the reduced size; other formats are reduced after decoding.
        reader.setScaledSize(pixels.scaled(size, size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        result.state = Thumbnail::State::Broken;
        result.problem = UiTexts::unreadablePicture().arg(native(source), reader.errorString());
        return result;
    }
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    result.state = Thumbnail::State::Made;
    result.image = image;

    image.setText(stampKey, stamp);
    image.setText(sizeKey, QString::number(size));
    // The new file replaces the old one whole, or not at all; the picture is given either way.
    const QString folder = QFileInfo(target).path();
    if (!QDir().mkpath(folder)) {
        result.problem = UiTexts::thumbnailNotSaved().arg(native(target), UiTexts::folderNotMade().arg(native(folder)));
        return result;
    }
    QSaveFile file(target);
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit()) {
        const bool writerFailed = writer.error() != QImageWriter::UnknownError;
        result.problem =
            UiTexts::thumbnailNotSaved().arg(native(target), writerFailed ? writer.errorString() : file.errorString());
        return result;
    }
    result.path = target;
    return result;
}
