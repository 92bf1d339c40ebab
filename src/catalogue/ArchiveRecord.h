#pragma once

#include <QDateTime>
#include <QString>

/// What the catalogue knows of one kept picture: the entry's number, the image address it was downloaded from,
/// the file's name in the series' folder of the archive, and when it was taken.
struct ArchiveRecord {
    QString ref;
    QString address;
    QString fileName;
    QDateTime taken; ///< UTC

    friend bool operator==(const ArchiveRecord&, const ArchiveRecord&) = default;
};
