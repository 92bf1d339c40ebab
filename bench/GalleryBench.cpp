#include "GalleryBench.h"

#include "CatalogueGenerator.h"
#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "gallery/GalleryModel.h"
#include "gallery/GalleryWindow.h"
#include "support/StderrMessenger.h"
#include "ui/MainWindow.h"
#include "ui/ThumbnailCache.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

namespace GalleryBench {

namespace {

// A forum-sized photograph: bands of colour, a JPEG of 1600 × 1200.
QByteArray photo(int seed)
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < image.height(); y += 40) {
        painter.fillRect(0, y, image.width(), 40, QColor::fromHsv((seed * 37 + y / 40 * 23) % 360, 160, 220));
    }
    painter.end();
    return CatalogueGenerator::jpeg(image);
}

// Every entry of the series gets a kept copy: the files, then their records in one transaction.
void keepEveryPicture(const CatalogueFolder& folder, const Category& category, int entries)
{
    QDir().mkpath(folder.images(category));
    const QList<QByteArray> photos{photo(0), photo(1), photo(2), photo(3)};
    Catalogue catalogue(folder.database());
    catalogue.upgradeSchema();
    QSqlDatabase db = catalogue.database();
    db.transaction();
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral(R"(INSERT INTO "images" ("série", ref, adresse, fichier, date) VALUES (?, ?, ?, ?, ?))"));
    for (int n = 1; n <= entries; ++n) {
        const QString ref = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
        QFile file(folder.images(category) + u'/' + ref + QStringLiteral(".jpg"));
        if (!file.open(QIODevice::WriteOnly) || file.write(photos.at(n % 4)) < 0) {
            qFatal("cannot write %s", qPrintable(file.fileName()));
        }
        for (const QString& value : {category.table, ref, QStringLiteral("http://127.0.0.1/%1.jpg").arg(ref),
                                     ref + QStringLiteral(".jpg"), QStringLiteral("2026-01-01T00:00:00Z")}) {
            query.addBindValue(value);
        }
        if (!query.exec()) {
            qFatal("cannot record the kept copies");
        }
    }
    db.commit();
}

// The thumbnails of the items in view, when every one of them is shown; -1 while one is still missing.
int shownInView(GalleryWindow& gallery)
{
    QListView* view = gallery.view();
    const QRect area = view->viewport()->rect();
    int shown = 0;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, 0);
        const QRect rect = view->visualRect(index);
        if (rect.top() > area.bottom()) {
            break;
        }
        if (!rect.intersects(area)) {
            continue;
        }
        const int state = index.data(GalleryModel::StateRole).toInt();
        if (state != int(Thumbnail::State::Made) && state != int(Thumbnail::State::Cached)) {
            return -1;
        }
        ++shown;
    }
    return shown > 0 ? shown : -1;
}

struct Gaps {
    double wall = 0; ///< the longest time between two event-loop turns, in ms
    double busy = 0; ///< the most processor time the thread used between two turns: a long wall gap with little
                     ///< of it is the system running other work, not the window blocked by its own
};

// Turns the event loop until the items in view all show their thumbnail. A zero-interval timer fires once per
// turn.
Gaps waitForView(GalleryWindow& gallery, int* shown = nullptr)
{
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(0);
    QElapsedTimer since;
    double cpu = threadCpuMs();
    Gaps longest;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const double cpuNow = threadCpuMs();
        longest.wall = std::max(longest.wall, double(since.nsecsElapsed()) / 1e6);
        longest.busy = std::max(longest.busy, cpuNow - cpu);
        cpu = cpuNow;
        since.restart();
        const int count = shownInView(gallery);
        if (count > 0) {
            if (shown) {
                *shown = count;
            }
            loop.quit();
        }
    });
    QTimer::singleShot(30'000, &loop, [&] { qFatal("the gallery's first screen was not shown in 30 s"); });
    since.start();
    cpu = threadCpuMs();
    tick.start();
    loop.exec();
    return longest;
}

} // namespace

Results run(int entries, int warmRuns, int coldRuns)
{
    QTemporaryDir dir;
    CatalogueGenerator::generate(dir.path(), entries, 500, 1);
    const CatalogueFolder folder(dir.path());
    const Category& series = Category::dravé();
    keepEveryPicture(folder, series, entries);

    StderrMessenger messenger;
    auto window = Startup::openWindow(folder, Services{&messenger, nullptr, nullptr});
    if (!window) {
        qFatal("cannot open the catalogue (see the message above)");
    }
    window->show();
    QAction* action = window->findChild<QAction*>(QStringLiteral("action_galerie"));
    GalleryWindow* gallery = nullptr;
    auto open = [&] {
        action->trigger();
        gallery = window->findChild<GalleryWindow*>();
    };
    auto close = [&] {
        if (gallery) {
            gallery->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            gallery = nullptr;
        }
    };

    Results results;
    QList<double> gaps;
    QList<double> busy;
    results.cold = measure(
        coldRuns,
        [&] {
            open();
            const Gaps longest = waitForView(*gallery, &results.firstScreen);
            gaps.append(longest.wall);
            busy.append(longest.busy);
        },
        [&] {
            close();
            QDir(folder.thumbnails()).removeRecursively();
        });
    auto timing = [](QList<double> samples) {
        std::sort(samples.begin(), samples.end());
        return Timing{samples.first(), samples.at(samples.size() / 2), samples.last(), int(samples.size())};
    };
    results.longestGap = timing(gaps);
    results.longestBusy = timing(busy);
    results.warm = measure(
        warmRuns,
        [&] {
            open();
            waitForView(*gallery);
        },
        close);

    // Every thumbnail of the series made at the largest size and shown, screen after screen.
    close();
    QDir(folder.thumbnails()).removeRecursively();
    open();
    QElapsedTimer timer;
    timer.start();
    gallery->findChild<QSlider*>(QStringLiteral("taille_galerie"))->setValue(GalleryWindow::largest);
    QScrollBar* scroll = gallery->view()->verticalScrollBar();
    waitForView(*gallery);
    while (scroll->value() < scroll->maximum()) {
        scroll->setValue(scroll->value() + scroll->pageStep());
        waitForView(*gallery);
    }
    results.allShownMs = double(timer.nsecsElapsed()) / 1e6;
    if (int(QDir(folder.thumbnails() + u'/' + series.table).entryList(QDir::Files).size()) != entries) {
        qFatal("not every thumbnail of the series was made");
    }
    results.residentMiB = residentMiB();
    results.peakMiB = peakResidentMiB();
    close();
    if (messenger.count() > 0) {
        qFatal("the gallery raised a message (see above)");
    }
    return results;
}

} // namespace GalleryBench
