#include "gallery/GalleryWindow.h"

#include "catalogue/CatalogueError.h"
#include "gallery/GalleryModel.h"
#include "gallery/GalleryTexts.h"
#include "ui/Named.h"
#include "ui/ThumbnailLoader.h"
#include "ui/WindowPlacement.h"
#include "ui/Workspace.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The status names this many unreadable pictures, then counts the rest.
constexpr int namedInStatus = 20;

// Thumbnails are asked of the cache at two sizes: every step of the slider does not make the cache again.
int cacheSize(int shown)
{
    return shown <= 128 ? 128 : GalleryWindow::largest;
}

} // namespace

GalleryWindow::GalleryWindow(const Workspace& workspace, const Category& category, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , m_workspace(workspace)
    , m_category(category)
    , m_loader(new ThumbnailLoader(ThumbnailCache(workspace.folder), this))
    , m_model(new GalleryModel(category, *m_loader, this))
    , m_filtered(new QSortFilterProxyModel(this))
{
    setObjectName(QStringLiteral("frm_galerie"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GalleryTexts::title().arg(category.caption));

    m_filtered->setSourceModel(m_model);
    m_filtered->setFilterRole(GalleryModel::FilterRole);
    m_filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);

    auto* central = new QWidget(this);
    m_filter = named(new QLineEdit(central), QStringLiteral("filtre_galerie"));
    m_filter->setPlaceholderText(GalleryTexts::filterHint());
    m_filter->setClearButtonEnabled(true);
    m_size = named(new QSlider(Qt::Horizontal, central), QStringLiteral("taille_galerie"));
    m_size->setRange(smallest, largest);
    m_size->setSingleStep(16);
    m_size->setPageStep(32);
    m_size->setValue(128);
    m_view = named(new QListView(central), QStringLiteral("liste_galerie"));
    m_view->setModel(m_filtered);
    m_view->setViewMode(QListView::IconMode);
    m_view->setMovement(QListView::Static);
    m_view->setResizeMode(QListView::Adjust);
    m_view->setUniformItemSizes(true);
    m_view->setWordWrap(true);
    m_view->setTextElideMode(Qt::ElideRight);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_notKept = named(new QLabel(central), QStringLiteral("lbl_non_gardees"));
    m_archive = named(new QPushButton(GalleryTexts::archive(), central), QStringLiteral("bt_archiver"));
    m_status = named(new QLabel(this), QStringLiteral("lbl_galerie"));
    statusBar()->addWidget(m_status, 1);

    auto* tools = new QHBoxLayout;
    tools->addWidget(new QLabel(GalleryTexts::filterLabel(), central));
    tools->addWidget(m_filter, 2);
    tools->addSpacing(24);
    tools->addWidget(new QLabel(GalleryTexts::sizeLabel(), central));
    tools->addWidget(m_size, 1);
    auto* archiving = new QHBoxLayout;
    archiving->addWidget(m_notKept, 1);
    archiving->addWidget(m_archive);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(tools);
    layout->addWidget(m_view, 1);
    layout->addLayout(archiving);
    setCentralWidget(central);
    resize(960, 720);
    WindowPlacement::closeOnEscape(*this);

    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_filtered->setFilterFixedString(text);
        scheduleRequests();
    });
    connect(m_size, &QSlider::valueChanged, this, &GalleryWindow::setThumbnailSize);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, &GalleryWindow::scheduleRequests);
    connect(m_filtered, &QAbstractItemModel::rowsInserted, this, &GalleryWindow::scheduleRequests);
    connect(m_filtered, &QAbstractItemModel::modelReset, this, &GalleryWindow::scheduleRequests);
    connect(m_model, &GalleryModel::statesChanged, this, &GalleryWindow::showStates);
    connect(m_view, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        emit entryChosen(m_category.index, index.data(GalleryModel::RefRole).toString());
    });
    connect(m_archive, &QPushButton::clicked, this, &GalleryWindow::archiveRequested);

    // The window follows what is written to its series, wherever it was written from.
    CatalogueEvents* events = workspace.events;
    auto mine = [this](const Category& changed) { return changed.index == m_category.index; };
    connect(events, &CatalogueEvents::entryEdited, this, [this, mine](const Category& changed) {
        if (mine(changed)) {
            reload();
        }
    });
    connect(events, &CatalogueEvents::seriesChanged, this, [this, mine](const Category& changed) {
        if (mine(changed)) {
            reload();
        }
    });
    connect(events, &CatalogueEvents::catalogueReplaced, this, &GalleryWindow::reload);
    connect(events, &CatalogueEvents::keptCopyChanged, this, [this, mine](const Category& changed, const QString& ref) {
        if (mine(changed)) {
            m_model->forget(ref);
            reload();
        }
    });

    setThumbnailSize(m_size->value());
    reload();
}

GalleryWindow::~GalleryWindow() = default;

bool GalleryWindow::reload()
{
    QList<PuzzleEntry> entries;
    QList<ArchiveRecord> records;
    try {
        entries = m_workspace.catalogue->entries(m_category, EntryOrder::ByNumber);
        records = m_workspace.catalogue->archiveRecords(m_category);
    } catch (const CatalogueError& error) {
        m_workspace.messenger().critical(GalleryTexts::readFailed(), error.message() + u' ' + error.detail());
        return false;
    }
    m_model->setSeries(entries, records);
    scheduleRequests();
    return true;
}

void GalleryWindow::setThumbnailSize(int size)
{
    m_view->setIconSize(QSize(size, size));
    m_view->setGridSize(QSize(size + 24, size + 2 * m_view->fontMetrics().lineSpacing() + 16));
    m_model->setThumbnailSize(cacheSize(size));
    scheduleRequests();
}

void GalleryWindow::scheduleRequests()
{
    // Once after a burst of changes (a scroll, a typed letter, a resize), when the view has laid itself out.
    if (!m_requestsScheduled) {
        m_requestsScheduled = true;
        QTimer::singleShot(0, this, &GalleryWindow::requestVisible);
    }
}

void GalleryWindow::requestVisible()
{
    m_requestsScheduled = false;
    const QRect area = m_view->viewport()->rect();
    const QRect ahead = area.translated(0, area.height());
    QList<int> inView;
    QList<int> next;
    for (int row = 0; row < m_filtered->rowCount(); ++row) {
        const QModelIndex index = m_filtered->index(row, 0);
        const QRect rect = m_view->visualRect(index);
        if (rect.top() > ahead.bottom()) {
            break;
        }
        if (rect.intersects(area)) {
            inView.append(m_filtered->mapToSource(index).row());
        } else if (rect.intersects(ahead)) {
            next.append(m_filtered->mapToSource(index).row());
        }
    }
    // The newest request is served first: the next screen is asked for before the one in view, and the first
    // item in view last.
    for (int row : std::as_const(next)) {
        m_model->request(row);
    }
    for (auto row = inView.crbegin(); row != inView.crend(); ++row) {
        m_model->request(*row);
    }
}

void GalleryWindow::showStates()
{
    const int notKept = m_model->notKeptCount();
    m_notKept->setText(GalleryTexts::notKeptCount().arg(notKept));
    m_notKept->setVisible(notKept > 0);
    m_archive->setVisible(notKept > 0);

    QStringList status;
    QStringList unreadable = m_model->unreadable();
    if (!unreadable.isEmpty()) {
        const qsizetype count = unreadable.size();
        if (count > namedInStatus) {
            unreadable.resize(namedInStatus);
            unreadable.append(QStringLiteral("…"));
        }
        status.append(GalleryTexts::unreadable().arg(count).arg(unreadable.join(QStringLiteral(", "))));
    }
    if (!m_model->lastWriteProblem().isEmpty()) {
        status.append(m_model->lastWriteProblem());
    }
    m_status->setText(status.join(u' '));
}

bool GalleryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize) {
        scheduleRequests();
    }
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const QModelIndex current = m_view->currentIndex();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && current.isValid()) {
            emit imageRequested(m_category, m_model->entry(m_filtered->mapToSource(current).row()));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
