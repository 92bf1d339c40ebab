// Saves pictures of the main window, opened on a catalogue folder as the program opens it, one per interesting
// tab, after the clicks a keeper would make there, then of the image window and of the gallery. Run it offscreen:
// QT_QPA_PLATFORM=offscreen. Usage: mezor-screenshot FOLDER OUTPUT_FOLDER

#include "CatalogueGenerator.h"
#include "app/Opening.h"
#include "app/Startup.h"
#include "catalogue/CatalogueFolder.h"
#include "history/HistoryWindow.h"
#include "gallery/GalleryModel.h"
#include "gallery/GalleryWindow.h"
#include "consistency/ConsistencyWindow.h"
#include "image/ImageWindow.h"
#include "support/LoopbackServer.h"
#include "support/StderrMessenger.h"
#include "ui/CategoryTab.h"
#include "ui/DesktopOpener.h"
#include "ui/GridModel.h"
#include "ui/MainWindow.h"
#include "ui/ProgramStarter.h"
#include "ui/SearchTab.h"
#include "ui/UiTexts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QLockFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {

// A real press and release, so that the view emits its own click signals as it does for the keeper.
void clickRow(QTableView* view, int modelRow)
{
    view->scrollTo(view->model()->index(modelRow, 0));
    const QPoint at = view->visualRect(view->model()->index(modelRow, 1)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }
}

struct Picture {
    QString file;
    int tab;
    std::function<void(MainWindow&)> prepare;
};

/// A made-up puzzle picture: a sky, a sun and hills, as the forum's pictures might look.
QByteArray puzzlePicture()
{
    QImage image(1200, 900, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 900);
    sky.setColorAt(0, QColor(0x5b, 0x9b, 0xd5));
    sky.setColorAt(1, QColor(0xfd, 0xe6, 0xb0));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xff, 0xc1, 0x07));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(880, 260), 110, 110);
    painter.setBrush(QColor(0x2e, 0x7d, 0x32));
    painter.drawEllipse(QPointF(300, 1000), 700, 380);
    painter.setBrush(QColor(0x43, 0xa0, 0x47));
    painter.drawEllipse(QPointF(950, 1050), 650, 360);
    painter.end();
    return CatalogueGenerator::jpeg(image, 90);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mezor"));
    QApplication::setApplicationDisplayName(UiTexts::applicationTitle());
    QTextStream err(stderr);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        err << "Usage: mezor-screenshot FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    const CatalogueFolder folder(arguments.at(1));
    const QDir output(arguments.at(2));
    if (!output.mkpath(QStringLiteral("."))) {
        err << "cannot create " << output.path() << '\n';
        return 1;
    }

    StderrMessenger messenger;
    QtDesktopOpener desktop;
    QProcessStarter programs;
    const auto lock = Opening::lockFolder(folder, messenger);
    if (!lock) {
        return 1;
    }
    const auto opened = Startup::openWindow(folder, Services{&messenger, &desktop, &programs});
    if (!opened) {
        return 1;
    }
    MainWindow& window = *opened;
    window.show();
    QApplication::processEvents();

    const QList<Picture> pictures = {
        {QStringLiteral("main-window.png"), Category::dravé().tabIndex,
         [](MainWindow& w) {
             // The last entry picked into the edit panel, as after a click on it.
             CategoryTab* tab = w.categoryTab(Category::dravé());
             clickRow(tab->grid(), tab->model()->rowCount() - 1);
         }},
        {QStringLiteral("main-window-vantorel.png"), Category::vantorel().tabIndex, {}},
        {QStringLiteral("main-window-recherche.png"), Tabs::Search,
         [](MainWindow& w) {
             w.searchTab()->option(Category::dravé().index)->click();
             w.searchTab()->criterion()->setText(QStringLiteral("Cirque"));
             w.searchTab()->searchButton()->click();
         }},
        {QStringLiteral("main-window-stats.png"), Tabs::Statistics, {}},
        // A wider window: the answer column takes the room, number and author keep their widths.
        {QStringLiteral("main-window-wide.png"), Category::plomé().tabIndex,
         [](MainWindow& w) { w.resize(w.width() + 360, w.height()); }},
    };
    for (const Picture& picture : pictures) {
        window.tabs()->setCurrentIndex(picture.tab);
        QApplication::processEvents();
        if (picture.prepare) {
            picture.prepare(window);
            QApplication::processEvents();
        }
        const QString path = output.filePath(picture.file);
        if (!window.grab().save(path)) {
            err << "cannot write " << path << '\n';
            return 1;
        }
        err << "wrote " << QDir::toNativeSeparators(path) << '\n';
    }
    // "Contrôler le catalogue…" on what the demo planted, the answer entered twice picked.
    window.findChild<QAction*>(QStringLiteral("action_controle"))->trigger();
    auto* check = window.findChild<ConsistencyWindow*>();
    auto* findings = check->findChild<QTreeView*>(QStringLiteral("liste_constats"));
    const QModelIndex twice = findings->model()->index(0, 0, findings->model()->index(1, 0));
    findings->setCurrentIndex(twice);
    findings->scrollToTop();
    QApplication::processEvents();
    const QString checkPath = output.filePath(QStringLiteral("consistency-window.png"));
    if (!check->grab().save(checkPath)) {
        err << "cannot write " << checkPath << '\n';
        return 1;
    }
    err << "wrote " << QDir::toNativeSeparators(checkPath) << '\n';
    check->close();

    // The image window over a picture served on loopback, as the demo's first Dravé entry would show it.
    LoopbackServer server;
    server.serveBody("/sorvane/demo.jpg", puzzlePicture());
    CategoryTab* dravé = window.categoryTab(Category::dravé());
    const QStringList first = dravé->model()->row(0);
    auto* image = new ImageWindow(folder, messenger, ImagePreviewSettings{}, &window);
    QEventLoop loop;
    QObject::connect(image, &ImageWindow::displayEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(20'000, &loop, &QEventLoop::quit);
    image->display({first.value(0),
                    first.value(1),
                    server.url("/sorvane/demo.jpg"),
                    QStringLiteral("https://forum.exemple.org/sorvane/dravé/001"),
                    {}});
    loop.exec();
    const QString imagePath = output.filePath(QStringLiteral("image-window.png"));
    if (!image->status().isEmpty() || !image->grab().save(imagePath)) {
        err << "no picture in the image window: " << image->status() << '\n';
        return 1;
    }
    err << "wrote " << QDir::toNativeSeparators(imagePath) << '\n';
    image->close();

    // The history after a few slips of the keeper: two corrections, an add taken back.
    CategoryTab* plomé = window.categoryTab(Category::plomé());
    for (int row : {3, 7}) {
        const QStringList cells = plomé->model()->row(row);
        plomé->setPanel({cells.value(0), cells.value(1) + QStringLiteral(" (corrigé)"), cells.value(2), {}, {}});
        plomé->findChild<QPushButton*>(Category::plomé().name(u"bt_maj_"))->click();
    }
    dravé->setPanel({QStringLiteral("%1").arg(dravé->model()->rowCount() + 1, 3, 10, QLatin1Char('0')),
                     QStringLiteral("Pont du Gard"),
                     dravé->model()->row(0).value(2),
                     {},
                     {}});
    dravé->findChild<QPushButton*>(Category::dravé().name(u"bt_add_"))->click();
    window.findChild<QAction*>(QStringLiteral("action_annuler"))->trigger();
    window.findChild<QAction*>(QStringLiteral("action_historique"))->trigger();
    auto* history = window.findChild<HistoryWindow*>();
    QApplication::processEvents();
    const QString historyPath = output.filePath(QStringLiteral("history-window.png"));
    if (!history || !history->grab().save(historyPath)) {
        err << "cannot write " << historyPath << '\n';
        return 1;
    }
    err << "wrote " << QDir::toNativeSeparators(historyPath) << '\n';

    // The gallery of the Dravé series, once every thumbnail in view is there.
    window.tabs()->setCurrentIndex(Category::dravé().tabIndex);
    window.findChild<QAction*>(QStringLiteral("action_galerie"))->trigger();
    auto* gallery = window.findChild<GalleryWindow*>();
    auto waiting = [gallery] {
        QListView* view = gallery->view();
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex index = view->model()->index(row, 0);
            if (view->visualRect(index).intersects(view->viewport()->rect()) &&
                index.data(GalleryModel::StateRole).toInt() < 0) {
                return true;
            }
        }
        return false;
    };
    QElapsedTimer waited;
    waited.start();
    while ((waiting() || waited.elapsed() < 200) && waited.elapsed() < 20'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const QString galleryPath = output.filePath(QStringLiteral("gallery.png"));
    if (waiting() || !gallery->grab().save(galleryPath)) {
        err << "the gallery could not be pictured\n";
        return 1;
    }
    err << "wrote " << QDir::toNativeSeparators(galleryPath) << '\n';
    gallery->close();

    // A message box during the run means the pictures do not show the program at work.
    return messenger.count() > 0 ? 1 : 0;
}
