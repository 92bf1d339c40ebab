#include "publish/PublicationPlan.h"

#include "catalogue/Catalogue.h"
#include "ui/ThumbnailCache.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

QByteArray jpeg(QImage image)
{
    // JPEG has no transparency: a transparent picture shows on white rather than on black.
    if (image.hasAlphaChannel()) {
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, image);
        image = opaque;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "JPEG", 82)) {
        return {};
    }
    return bytes;
}

} // namespace

PublicationPlan PublicationPlan::of(const Catalogue& catalogue, const CatalogueFolder& folder, bool withThumbnails)
{
    PublicationPlan plan;
    const ThumbnailCache cache(folder);
    for (const Category& category : Category::all()) {
        QHash<QString, ArchiveRecord> records;
        if (withThumbnails) {
            for (const ArchiveRecord& record : catalogue.archiveRecords(category)) {
                records.insert(record.ref, record);
            }
        }
        for (const PuzzleEntry& entry : catalogue.entries(category, EntryOrder::ByNumber)) {
            SiteEntry item{entry, {}};
            const auto record = records.constFind(entry.ref);
            const std::optional<QString> kept =
                record == records.cend() ? std::nullopt : folder.keptCopy(category, record->fileName);
            // A copy of an earlier address is not this entry's picture any more. Whether its file is there is
            // asked on the publication's thread, so that thousands of looks at the disk do not hold the window.
            if (kept && record->address == entry.url) {
                item.thumbnail = SiteBuilder::thumbnailFile(category, entry.ref);
                const auto stamp = [file = *kept, record = *record] {
                    const QFileInfo info(file);
                    return !info.isFile() ? QString()
                                          : u"%1 %2 %3 %4 %5"_s.arg(record.fileName)
                                                .arg(info.size())
                                                .arg(info.lastModified().toMSecsSinceEpoch())
                                                .arg(record.taken.toString(Qt::ISODateWithMs))
                                                .arg(thumbnailSize);
                };
                plan.thumbnails.append({item.thumbnail, stamp, [cache, &category, record = *record] {
                                            return jpeg(cache.thumbnail(category, record, thumbnailSize).image);
                                        }});
            }
            plan.series[category.index].append(item);
        }
    }
    return plan;
}
