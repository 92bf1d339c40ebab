#pragma once

#include "catalogue/ArchiveRecord.h"
#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"
#include "ui/ThumbnailCache.h"

#include <QAbstractListModel>
#include <QCache>
#include <QHash>
#include <QIcon>

#include <optional>

class ThumbnailLoader;

/// One series as the gallery shows it: an item per entry in the given order, its number and answer as text and
/// its thumbnail, or a placeholder that says why there is none. Thumbnails are asked of the loader for the rows
/// the window shows; those made are held up to a memory budget, the cache on disk keeps the rest.
class GalleryModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        StateRole = Qt::UserRole, ///< the `Thumbnail::State` as int, or -1 while not known
        FilterRole,               ///< answer and author, what the filter box matches
        RefRole,
    };

    GalleryModel(const Category& category, ThumbnailLoader& loader, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// The series as read now. Rows already there stay (with their thumbnail while their record is the same); a
    /// single new entry is inserted in place; anything else resets the view.
    void setSeries(const QList<PuzzleEntry>& entries, const QList<ArchiveRecord>& records);
    /// Forgets the thumbnail of entry `ref`: its kept copy changed.
    void forget(const QString& ref);
    /// The size thumbnails are asked at; those of another size are asked again as they come into view.
    void setThumbnailSize(int size);
    /// Asks for the thumbnail of `row` unless it is there, on its way, or known to have none.
    void request(int row);

    const PuzzleEntry& entry(int row) const { return m_items.at(row).entry; }
    /// Entries known to have no kept copy.
    int notKeptCount() const;
    /// The numbers of the entries whose kept copy could not be used: unreadable, too large, or a refused name.
    QStringList unreadable() const;
    /// Why the last thumbnail made could not be written to the cache, or nothing.
    const QString& lastWriteProblem() const { return m_writeProblem; }

signals:
    /// A thumbnail's state or the problems changed: counts and status must be shown again.
    void statesChanged();

private:
    struct Item {
        PuzzleEntry entry;
        std::optional<ArchiveRecord> record;
        std::optional<Thumbnail::State> state; ///< not known until the loader answered, except without a record
        QString problem;
    };
    struct Shown {
        QIcon icon;
        int size = 0;
    };

    void received(const Category& category, const QString& ref, int size, const Thumbnail& thumbnail, quint64 ticket);
    Item itemOf(const PuzzleEntry& entry, const QHash<QString, ArchiveRecord>& records) const;
    const QIcon& placeholder(Thumbnail::State state) const;
    void changed(const QString& ref);

    const Category& m_category;
    ThumbnailLoader& m_loader;
    QList<Item> m_items;
    int m_size = 128;
    QCache<QString, Shown> m_icons;
    QHash<QString, quint64> m_pending; ///< the ticket of the latest request of each entry number
    mutable QHash<int, QIcon> m_placeholders;
    QString m_writeProblem;
};
