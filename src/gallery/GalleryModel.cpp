#include "gallery/GalleryModel.h"

#include "gallery/GalleryTexts.h"
#include "ui/ThumbnailLoader.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Thumbnails held in memory, in KiB: more than a hundred of the largest size, a dozen screens. The rest is read
// again from the disk cache when it comes back into view.
constexpr int memoryBudget = 24 * 1024;

} // namespace

GalleryModel::GalleryModel(const Category& category, ThumbnailLoader& loader, QObject* parent)
    : QAbstractListModel(parent)
    , m_category(category)
    , m_loader(loader)
    , m_icons(memoryBudget)
{
    connect(&m_loader, &ThumbnailLoader::ready, this, &GalleryModel::received);
}

int GalleryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant GalleryModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Item& item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return item.entry.ref + u'\n' + item.entry.answer;
    case Qt::DecorationRole:
        if (const Shown* shown = m_icons.object(item.entry.ref)) {
            return shown->icon;
        }
        return placeholder(item.state.value_or(Thumbnail::State::Made));
    case Qt::ToolTipRole:
        return GalleryTexts::tip().arg(item.entry.ref, item.entry.answer, item.entry.author) +
               (item.problem.isEmpty() ? QString() : u'\n' + item.problem);
    case StateRole:
        return item.state ? int(*item.state) : -1;
    case FilterRole:
        return item.entry.answer + u'\n' + item.entry.author;
    case RefRole:
        return item.entry.ref;
    default:
        return {};
    }
}

GalleryModel::Item GalleryModel::itemOf(const PuzzleEntry& entry, const QHash<QString, ArchiveRecord>& records) const
{
    Item item{entry, std::nullopt, std::nullopt, {}};
    const auto record = records.constFind(entry.ref);
    if (record != records.cend()) {
        item.record = *record;
    } else {
        item.state = Thumbnail::State::NotKept;
    }
    return item;
}

void GalleryModel::setSeries(const QList<PuzzleEntry>& entries, const QList<ArchiveRecord>& records)
{
    QHash<QString, ArchiveRecord> byRef;
    for (const ArchiveRecord& record : records) {
        byRef.insert(record.ref, record);
    }
    QHash<QString, const Item*> before;
    for (const Item& old : std::as_const(m_items)) {
        before.insert(old.entry.ref, &old);
    }
    QList<Item> items;
    items.reserve(entries.size());
    for (const PuzzleEntry& entry : entries) {
        Item item = itemOf(entry, byRef);
        // A row whose kept copy is the same keeps what is known of its thumbnail.
        const Item* old = before.value(entry.ref);
        if (old && old->record == item.record) {
            item.state = old->state;
            item.problem = old->problem;
        }
        if (!item.state) {
            m_icons.remove(entry.ref);
            m_pending.remove(entry.ref);
        }
        items.append(std::move(item));
    }

    auto sameRef = [](const Item& a, const Item& b) { return a.entry.ref == b.entry.ref; };
    const bool sameRows = std::equal(items.cbegin(), items.cend(), m_items.cbegin(), m_items.cend(), sameRef);
    qsizetype added = 0;
    while (added < qMin(items.size(), m_items.size()) && sameRef(items.at(added), m_items.at(added))) {
        ++added;
    }
    const bool oneAdded =
        items.size() == m_items.size() + 1 &&
        std::equal(items.cbegin() + added + 1, items.cend(), m_items.cbegin() + added, m_items.cend(), sameRef);
    if (sameRows) {
        m_items = std::move(items);
        if (!m_items.isEmpty()) {
            emit dataChanged(index(0), index(int(m_items.size()) - 1));
        }
    } else if (oneAdded) {
        beginInsertRows({}, int(added), int(added));
        m_items = std::move(items);
        endInsertRows();
        if (added > 0) {
            emit dataChanged(index(0), index(int(added) - 1));
        }
        if (added + 1 < m_items.size()) {
            emit dataChanged(index(int(added) + 1), index(int(m_items.size()) - 1));
        }
    } else {
        beginResetModel();
        m_items = std::move(items);
        endResetModel();
    }
    emit statesChanged();
}

void GalleryModel::forget(const QString& ref)
{
    m_icons.remove(ref);
    m_pending.remove(ref);
    for (Item& item : m_items) {
        if (item.entry.ref == ref && item.record) {
            item.state.reset();
            item.problem.clear();
        }
    }
    changed(ref);
}

void GalleryModel::setThumbnailSize(int size)
{
    if (size == m_size) {
        return;
    }
    m_size = size;
    // What was asked at the old size is no longer wanted; the pictures shown stay until their new ones come
    // (`request` asks again for those of another size).
    m_loader.dropPending();
    m_pending.clear();
    m_placeholders.clear();
    if (!m_items.isEmpty()) {
        emit dataChanged(index(0), index(int(m_items.size()) - 1), {Qt::DecorationRole});
    }
}

void GalleryModel::request(int row)
{
    const Item& item = m_items.at(row);
    if (!item.record || m_pending.contains(item.entry.ref)) {
        return;
    }
    const bool picture = item.state == Thumbnail::State::Made || item.state == Thumbnail::State::Cached;
    if (item.state && !picture) {
        return; // known to have none
    }
    // A picture made at another size, or dropped from memory since, is asked again (from the disk cache).
    const Shown* shown = m_icons.object(item.entry.ref);
    if (picture && shown && shown->size == m_size) {
        return;
    }
    m_pending.insert(item.entry.ref, m_loader.request(m_category, item.entry.ref, item.record, m_size));
}

void GalleryModel::received(const Category& category, const QString& ref, int size, const Thumbnail& thumbnail,
                            quint64 ticket)
{
    if (category.index != m_category.index || size != m_size || m_pending.value(ref) != ticket) {
        return; // an answer to a request made before a change
    }
    m_pending.remove(ref);
    for (Item& item : m_items) {
        if (item.entry.ref == ref) {
            item.state = thumbnail.state;
            item.problem = thumbnail.state == Thumbnail::State::Made ? QString() : thumbnail.problem;
        }
    }
    if (thumbnail.hasImage()) {
        const qsizetype kib = qMax<qsizetype>(1, thumbnail.image.sizeInBytes() / 1024);
        m_icons.insert(ref, new Shown{QIcon(QPixmap::fromImage(thumbnail.image)), size}, kib);
    }
    if (thumbnail.state == Thumbnail::State::Made) {
        m_writeProblem = thumbnail.problem;
    }
    changed(ref);
    emit statesChanged();
}

void GalleryModel::changed(const QString& ref)
{
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).entry.ref == ref) {
            emit dataChanged(index(row), index(row));
        }
    }
}

int GalleryModel::notKeptCount() const
{
    return int(std::count_if(m_items.cbegin(), m_items.cend(),
                             [](const Item& item) { return item.state == Thumbnail::State::NotKept; }));
}

QStringList GalleryModel::unreadable() const
{
    QStringList refs;
    for (const Item& item : m_items) {
        if (item.state != Thumbnail::State::Made && !item.problem.isEmpty()) {
            refs.append(item.entry.ref);
        }
    }
    return refs;
}

const QIcon& GalleryModel::placeholder(Thumbnail::State state) const
{
    // A thumbnail on its way shows an empty frame; one that will not come says why.
    const int key = int(state);
    auto found = m_placeholders.find(key);
    if (found != m_placeholders.end()) {
        return *found;
    }
    QPixmap pixmap(m_size, m_size * 3 / 4);
    pixmap.fill(QColor(0xEE, 0xEE, 0xEE));
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x99, 0x99, 0x99));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    const QString text = state == Thumbnail::State::NotKept    ? GalleryTexts::notKept()
                         : state == Thumbnail::State::Broken   ? GalleryTexts::broken()
                         : state == Thumbnail::State::TooLarge ? GalleryTexts::tooLarge()
                                                               : QString();
    painter.setPen(QColor(0x55, 0x55, 0x55));
    painter.drawText(pixmap.rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, text);
    painter.end();
    return *m_placeholders.insert(key, QIcon(pixmap));
}
