#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

/// One file of the HTML catalogue: its path inside the publication folder ('/' separated) and its bytes.
struct SiteFile {
    QString path;
    QByteArray bytes;
};

/// An entry as the pages show it: with the path of its thumbnail in the folder, or empty for the placeholder.
struct SiteEntry {
    PuzzleEntry entry;
    QString thumbnail;
};

/// The pages of the HTML catalogue, built from the series alone: an index (the four series with their counts, the
/// last numbers of each, the authors), one page per series, one per author, a style sheet and a sorting script.
/// Every text is escaped; only http(s) addresses become links. Pure: the same series give the same bytes.
namespace SiteBuilder {

using Series = std::array<QList<SiteEntry>, 4>;

QList<SiteFile> pages(const Series& series);

/// The page of a series: "drave.html".
QString seriesFile(const Category& category);
/// The page of an author, from a key that ignores case and outer spaces: a slug and a hash of the key, so two
/// names never share a file, not even on a file system that ignores case. `longer` asks for the whole hash.
QString authorFile(const QString& author, bool longer = false);
/// Where the thumbnail of entry `ref` goes: "vignettes/drave/001.jpg"; a number that is not plain digits gives a
/// hashed name.
QString thumbnailFile(const Category& category, const QString& ref);
/// `text` for HTML text and attribute values.
QString escaped(const QString& text);
/// The href of `address` when it is an http(s) address, else nothing.
QString webHref(const QString& address);

} // namespace SiteBuilder
