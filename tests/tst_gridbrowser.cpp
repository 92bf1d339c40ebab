// Browsing the category grids: header clicks, the scroll buttons, and a row click with the picture it shows: the
// choice, then the image window with the checks on the address, the download and the converter.
#include "browsing/BrowsingTexts.h"
#include "browsing/ImageChoice.h"
#include "catalogue/CatalogueTexts.h"
#include "image/ConverterCommand.h"
#include "image/ImageAddress.h"
#include "image/ImageRequest.h"
#include "image/ImageSignature.h"
#include "image/ImageTexts.h"
#include "image/ImageWindow.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/GridStyle.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using enum ImageChoice::Action;
using Icon = Messenger::Icon;
using enum ImageChoice::Option;
using Problem = ImageAddress::Problem;

namespace {

#ifdef Q_OS_LINUX
/// What inotify descriptor `watch` saw happen to the file `name`: "closed" after a read, "deleted".
QStringList eventsOf(int watch, const QString& name)
{
    QStringList seen;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && QFile::decodeName(event->name) == name) {
                seen.append(event->mask & IN_DELETE ? u"deleted"_s : u"closed"_s);
            }
            at += sizeof(inotify_event) + event->len;
        }
    }
    return seen;
}
#endif

QByteArray picture(QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer; // opened by the writer
    image.save(&buffer, format);
    return buffer.data();
}

// In number order; the texts test French order without regard to case or accents, and equal authors.
const QList<PuzzleEntry> numbered = {{u"001"_s, u"Zèbre"_s, u"Bob"_s, {}, {}},
                                     {u"002"_s, u"éclair"_s, u"Amélie"_s, {}, {}},
                                     {u"003"_s, u"abricot"_s, u"bob"_s, {}, {}},
                                     {u"004"_s, u"Étoile"_s, u"zoé"_s, {}, {}}};

/// The main window on a catalogue holding `entries`, shown on the category's tab.
struct Scene {
    Scene(const Category& category, const QList<PuzzleEntry>& entries)
    {
        fixture.insert(category, entries);
        window = fixture.openShown(category.tabIndex);
        tab = window ? window->categoryTab(category) : nullptr;
    }
    void clickHeader(int column)
    {
        QHeaderView* header = tab->grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    bool lastRowShown() const
    {
        const QModelIndex last = tab->model()->index(tab->model()->rowCount() - 1, 0);
        return tab->grid()->viewport()->rect().contains(tab->grid()->visualRect(last));
    }

    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = nullptr;
};

/// A click on the first row of a grid with "Afficher" ticked, and what it must show.
struct Click {
    int category = 0;
    QString option = u"web_"_s;                  ///< the start of the option's control name
    QString url = u"http://img.example/1.jpg"_s; ///< a path on the loopback server when it starts with '/'
    QString sql = {};                            ///< run once the window is open
    QList<QUrl> opened = {};                     ///< on the desktop
    QString message = {};
    QSize shown = {}; ///< the image window's picture
};

/// A click on an entry, and the choice the rule must make (the row clicks prove the web, forum and refused choices
/// through the window).
struct Choice {
    int category = 0;
    std::optional<PuzzleEntry> entry = {}; ///< none: the catalogue no longer holds the number
    ImageChoice::Option option = Window;
    ImageChoice made = {};
    bool showImage = true; ///< "Afficher" ticked
};

} // namespace

class TestGridBrowser : public QObject {
    Q_OBJECT

private slots:
    void sortByHeader_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("refs");
        // Stored 3 1 4 2: Vantorel starts in that order, the others in number order.
        QTest::newRow("vantorel by number") << 3 << 0 << QString() << u"1 2 3 4"_s;
        QTest::newRow("plomé by answer") << 1 << 1 << QString() << u"3 2 4 1"_s;
        QTest::newRow("tusqué by author, equal ones in number order") << 2 << 2 << QString() << u"2 1 3 4"_s;
        // The grid keeps the rows it showed.
        QTest::newRow("read failure") << 0 << 2 << u"ALTER TABLE \"dravé\" RENAME TO perdu"_s << u"1 2 3 4"_s;
    }
    void sortByHeader()
    {
        QFETCH(int, category);
        QFETCH(int, column);
        QFETCH(QString, sql);
        QFETCH(QString, refs);
        Scene scene(Category::all().at(category), {numbered[2], numbered[0], numbered[3], numbered[1]});
        QVERIFY(scene.tab);
        if (!sql.isEmpty()) {
            scene.fixture.sql(sql);
        }

        scene.clickHeader(column);
        QList<QStringList> expected; // whole rows move: each keeps its own answer and author
        for (const QString& ref : refs.split(u' ')) {
            expected.append(CategoryTab::gridCells(numbered.at(ref.toInt() - 1)));
        }
        QCOMPARE(scene.tab->model()->rows(), expected);
        const QString failure = CatalogueTexts::readFailed().arg(scene.fixture.folder().database());
        QCOMPARE(scene.fixture.messenger.texts(), sql.isEmpty() ? QStringList() : QStringList{failure});
    }

    void scrollButtons()
    {
        // Plomé's names are swapped: "<<", above the grid, is bt_plomé_bas.
        Scene scene(Category::plomé(), Fixture::series(60));
        QVERIFY(scene.tab);
        auto* first = child<QAbstractButton>(scene.tab, u"bt_plomé_bas"_s);
        auto* last = child<QAbstractButton>(scene.tab, u"bt_plomé_haut"_s);
        QVERIFY(first->mapToGlobal(QPoint()).y() < last->mapToGlobal(QPoint()).y());
        QTest::mouseClick(first, Qt::LeftButton);
        QCOMPARE(scene.tab->topGridRow(), 1);
        QVERIFY(!scene.lastRowShown());
        // A sort leaves the grid as the start-up fill does: last row shown.
        scene.clickHeader(1);
        QVERIFY(scene.lastRowShown());
        QTest::mouseClick(first, Qt::LeftButton);
        QTest::mouseClick(last, Qt::LeftButton);
        QVERIFY(scene.tab->topGridRow() > 1);
        QVERIFY(scene.lastRowShown());
    }

    void rowClick_data()
    {
        QTest::addColumn<Click>("click");
        const QString file = u"file:///etc/passwd"_s;
        // What to show is the rule's answer; here only its wiring, the image window's own display included.
        QTest::newRow("dravé, image on the web") << Click{.opened = {QUrl(u"http://img.example/1.jpg"_s)}};
        QTest::newRow("tusqué, forum post")
            << Click{.category = 2, .option = u"sor_"_s, .opened = {QUrl(u"http://127.0.0.1/forum/1"_s)}};
        QTest::newRow("local file") << Click{.url = file, .message = BrowsingTexts::notWebAddress().arg(file)};
        // The panel shows the grid's cells without addresses.
        QTest::newRow("number no longer stored") << Click{.sql = u"DELETE FROM \"dravé\" WHERE ref = '001'"_s};
        QTest::newRow("read failure") << Click{
            .category = 3, .sql = u"ALTER TABLE titres RENAME TO perdu"_s, .message = CatalogueTexts::readFailed()};
        QTest::newRow("plomé, window") << Click{
            .category = 1, .option = u"win_"_s, .url = u"/1.jpg"_s, .shown = {533, 400}};
    }
    void rowClick()
    {
        QFETCH(Click, click);
        LoopbackServer server;
        server.serveBody("/1.jpg", picture({800, 600}, "JPEG"));
        QList<PuzzleEntry> entries = Fixture::series(3);
        entries[0].url = click.url.startsWith(u'/') ? server.url(click.url.toUtf8()) : click.url;
        const Category& category = Category::all().at(click.category);
        Scene scene(category, entries);
        QVERIFY(scene.tab);
        child<QAbstractButton>(scene.tab, category.name(u"chk_img_"))->setChecked(true);
        child<QAbstractButton>(scene.tab, category.name(click.option))->click();
        if (!click.sql.isEmpty()) {
            scene.fixture.sql(click.sql);
            entries[0].url = entries[0].link = QString();
        }

        const QTableView* grid = scene.tab->grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 2)).center());
        QCOMPARE(scene.tab->panel(), entries.at(0));
        QCOMPARE(scene.fixture.desktop.opened, click.opened);
        const QString message = QString(click.message).replace(u"%1"_s, scene.fixture.folder().database());
        QCOMPARE(scene.fixture.messenger.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        // The image window stands in for the main window until it is closed; it shows the picture with the
        // program's own settings and converter.
        QPointer<ImageWindow> image = scene.window->findChild<ImageWindow*>(u"Form_img"_s);
        QCOMPARE(std::pair(scene.window->isVisible(), image && image->isVisible()),
                 std::pair(!click.shown.isValid(), click.shown.isValid()));
        if (image) {
            QSignalSpy ended(image, &ImageWindow::displayEnded);
            QVERIFY(ended.wait(5000));
            QCOMPARE(child<QLabel>(image, u"Picture1"_s)->pixmap().size(), click.shown);
            QCOMPARE(server.requests.size(), 1);
            image->close();
            QVERIFY(scene.window->isVisible());
            QTRY_VERIFY(image.isNull());
        }
    }

    void choice_data()
    {
        QTest::addColumn<Choice>("choice");
        const QString img = u"http://img.example/42.jpg"_s;
        const QString post = u"https://sorvane.net/t/42"_s;
        const QString none = u"Non disponible"_s;
        const QString ftp = u"ftp://img.example/a.jpg"_s;
        const QString bare = u"sorvane.net/t/42"_s;
        const int dravé = 0, tusqué = 2, vantorel = 3;
        const auto entry = [](QString url, QString link) { return PuzzleEntry{u"042"_s, {}, {}, url, link}; };
        QTest::newRow("number not in the catalogue") << Choice{dravé, {}, Window, {}};
        QTest::newRow("unticked") << Choice{dravé, entry(img, post), Web, {}, false};
        // The image window runs its own checks and messages.
        QTest::newRow("window, any address") << Choice{dravé, entry(ftp, post), Window, {OpenWindow, ftp}};
        QTest::newRow("url placeholder") << Choice{dravé, entry(none, post), Window, {}};
        QTest::newRow("url spaces") << Choice{dravé, entry(u"  "_s, post), Window, {}};
        QTest::newRow("vantorel, link placeholder") << Choice{vantorel, entry(img, none), Web, {}};
        QTest::newRow("vantorel, both") << Choice{vantorel, entry(img, post), Web, {OpenOnDesktop, img}};
        QTest::newRow("dravé, link placeholder") << Choice{dravé, entry(img, none), Web, {OpenOnDesktop, img}};
        QTest::newRow("tusqué, link placeholder, forum") << Choice{tusqué, entry(img, none), Forum, {}};
        QTest::newRow("no scheme, forum") << Choice{dravé, entry(img, bare), Forum, {Refuse, bare}};
        QTest::newRow("upper-case scheme, web")
            << Choice{dravé, entry(img.toUpper(), post), Web, {OpenOnDesktop, img.toUpper()}};
    }
    void choice()
    {
        QFETCH(Choice, choice);
        const ImageChoice made =
            ImageChoice::decide(Category::all().at(choice.category), choice.entry, choice.showImage, choice.option);
        QCOMPARE(std::pair(made.action, made.address), std::pair(choice.made.action, choice.made.address));
    }

    void addressChecks_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<Problem>("problem");
        const QString forum = QString::fromUtf16(ImageAddress::forumPrefix);
        const QString site = u"http://img.example/"_s;
        // An empty address, ftp, gif and another extension: see the display.
        QTest::newRow("spaces only") << u"   "_s << Problem::Missing;
        QTest::newRow("leading space") << u" "_s + site + u"a.jpg"_s << Problem::NotWeb;
        QTest::newRow("mixed-case scheme") << u"HtTpS://img.example/a.jpg"_s << Problem::None;
        QTest::newRow("upper-case JPG") << site + u"A.JPG"_s << Problem::None;
        QTest::newRow("query after the name") << site + u"a.jpg?w=2"_s << Problem::BadExtension;
        for (const char* ending : {"jpg", "jpeg", "jpe", "png", "bmp", "tif", "tiff"}) {
            QTest::addRow("ending .%s", ending) << site + u"a."_s + QLatin1String(ending) << Problem::None;
        }
        QTest::newRow("forum prefix, gif") << forum + u"images/a.gif"_s << Problem::None;
        // One character short of the prefix, or another case: the extension checks apply again.
        QTest::newRow("prefix cut short") << forum.left(19) << Problem::BadExtension;
        QTest::newRow("prefix in upper case") << forum.toUpper() + u"a.gif"_s << Problem::Gif;
    }
    void addressChecks()
    {
        QFETCH(QString, address);
        QFETCH(Problem, problem);
        QCOMPARE(ImageAddress::check(address), problem);
    }

    void signatures_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("accepted");
        // JPEG and PNG: see the display.
        QTest::newRow("gif87a") << QByteArray("GIF87a\x01\x00", 8) << true;
        QTest::newRow("gif89a") << QByteArray("GIF89a\x01\x00", 8) << true;
        QTest::newRow("bmp") << QByteArray("BM6\x00\x00\x00\x00\x00", 8) << true;
        QTest::newRow("tiff little-endian") << QByteArray("II*\x00\x08\x00\x00\x00", 8) << true;
        QTest::newRow("tiff big-endian") << QByteArray("MM\x00*\x00\x00\x00\x08", 8) << true;
        // Formats ImageMagick would run or read other files for (svg: see the display), an error page, short heads.
        QTest::newRow("postscript") << QByteArray("%!PS-Ado") << false;
        QTest::newRow("html error page") << QByteArray("<!DOCTYP") << false;
        QTest::newRow("png cut short") << QByteArray("\x89PNG", 4) << false;
        QTest::newRow("tiff with wrong magic") << QByteArray("II+\x00", 4) << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void signatures()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, accepted);
        QCOMPARE(ImageSignature::isAccepted(head), accepted);
    }

    void converterLookup()
    {
#ifdef Q_OS_WIN
        QSKIP("Looks for programs by their executable bit.");
#endif
        // ImageMagick 7 before 6; the display rows run 6's "convert" from the PATH.
        QTemporaryDir both, nothing;
        for (const QString& path : {both.filePath(u"magick"_s), both.filePath(u"convert"_s)}) {
            writeFile(path, {});
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        const ConverterCommand magick = ConverterCommand::locate({both.path()});
        QCOMPARE(magick.program, both.filePath(u"magick"_s));
        QCOMPARE(magick.arguments(u"in.jpg"_s, u"out.jpg"_s),
                 (QStringList{u"convert"_s, u"in.jpg"_s, u"-resize"_s, u"800x400"_s, u"out.jpg"_s}));
        QVERIFY(ConverterCommand::locate({nothing.path()}).program.isEmpty());
    }

    void display_data()
    {
        QTest::addColumn<QString>("address"); // a path on the loopback server when it starts with '/'
        QTest::addColumn<QByteArray>("converter");
        QTest::addColumn<QString>("said"); // the status's start, or the messenger's text after a refusal
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<std::optional<Icon>>("refusal"); // the messenger's icon
        QTest::addColumn<int>("category");                // the four series in turn
        int row = 0;
        const auto refuses = [&row](const char* name, const QString& address, const QString& refusal, Icon icon) {
            QTest::newRow(name) << address << QByteArray("absent") << refusal << QSize() << std::optional(icon)
                                << row++ % 4;
        };
        // "absent" cannot start and would say so: the failed downloads must never reach it.
        const auto downloads = [&row](const char* name, const char* path, const char* converter, const QString& status,
                                      QSize shown = {}) {
            QTest::newRow(name) << QString::fromUtf8(path) << QByteArray(converter) << status << shown
                                << std::optional<Icon>() << row++ % 4;
        };
        const QString tooLarge = ImageTexts::tooLarge().arg(100'000);

        downloads("jpeg 1600×1200", "/a.jpg", "real", {}, {533, 400});
        downloads("png 400×800, redirected", "/old.png", "real", {}, {200, 400});
        refuses("empty", QString(), u"URL non spécifiée."_s, Icon::Warning);
        refuses("ftp", u"ftp://127.0.0.1/a.jpg"_s, u"URL invalide."_s, Icon::None);
        refuses("gif", u"/a.gif"_s, u"Format GIF non supporté. "_s, Icon::Critical);
        refuses("other extension", u"/a.txt"_s, u"Extension invalide."_s, Icon::None);
        downloads("404", "/missing.jpg", "absent",
                  u"Téléchargement impossible : le serveur a répondu 404 Not Found."_s);
        downloads("server never answers", "/silent.jpg", "absent", ImageTexts::downloadTimeout().arg(u"0,3"_s));
        downloads("too large, announced", "/big.jpg", "absent", tooLarge);
        downloads("too large, not announced", "/stream.jpg", "absent", tooLarge);
        downloads("exactly at the size limit", "/edge.jpg", "exit 0",
                  ImageTexts::unreadablePicture().arg(u"<resized>"_s));
        downloads("svg served as jpg", "/drawing.jpg", "absent", ImageTexts::notAnImage());
        downloads("no converter installed", "/b.png", "", ImageTexts::converterMissing());
        downloads("converter cannot start", "/b.png", "absent",
                  ImageTexts::converterNotStarted().arg(u"<folder>/absent"_s, QString()));
        downloads("damaged png, real ImageMagick", "/damaged.png", "real", u"Le convertisseur a échoué (code "_s);
        downloads("converter overruns", "/b.png", "exec sleep 20", ImageTexts::converterTimeout().arg(u"0,5"_s));
        downloads("converter writes nothing", "/b.png", "exit 0", ImageTexts::unreadablePicture().arg(u"<resized>"_s));
    }
    void display()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, converter);
        QFETCH(QString, said);
        QFETCH(QSize, shown);
        QFETCH(std::optional<Icon>, refusal);
        QFETCH(int, category);
#ifdef Q_OS_WIN
        QSKIP("The test converters are shell scripts.");
#endif
        QTemporaryDir dir;
        const CatalogueFolder folder(dir.path());
        for (const QString& path : {folder.downloadedImage(), folder.resizedImage()}) {
            writeFile(path, {}); // left by an earlier display
        }
        LoopbackServer server;
        bool resizedAtRequest = false;
        server.onRequest = [&](const auto&) { resizedAtRequest = QFile::exists(folder.resizedImage()); };
        const QByteArray big = QByteArray("\xFF\xD8\xFF", 3) + QByteArray(200'000, 'x');
        server.serveBody("/a.jpg", picture({1600, 1200}, "JPEG"));
        server.serveBody("/b.png", picture({400, 800}, "PNG"));
        server.redirect("/old.png", "/b.png");
        server.serve("/silent.jpg", {200, {}, {}, true, true});
        server.serve("/big.jpg", {200, big, {}});
        server.serve("/stream.jpg", {200, big, {}, false});
        server.serve("/edge.jpg", {200, big.left(100'000), {}});
        server.serveBody("/drawing.jpg",
                         "<svg xmlns=\"http://www.w3.org/2000/svg\"><image href=\"file:///etc/passwd\"/></svg>");
        server.serveBody("/damaged.png", QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(300, '\x07'));

        ImagePreviewSettings settings{address == u"/silent.jpg" ? 300 : 3'000, 100'000, 3'000};
        if (converter.isEmpty()) {
            settings.converter = {};
        } else if (converter == "absent") {
            settings.converter = {dir.filePath(u"absent"_s), {}};
        } else if (converter != "real") {
            settings.converter = {dir.filePath(u"converter"_s), {}};
            settings.conversionTimeoutMs = 500;
            writeFile(settings.converter.program, "#!/bin/sh\n" + converter + '\n');
            QVERIFY(QFile::setPermissions(settings.converter.program, QFile::ReadOwner | QFile::ExeOwner));
        }
        if (address.startsWith(u'/')) {
            address = server.url(address.toUtf8());
        }
        said.replace(u"<folder>"_s, dir.path()).replace(u"<resized>"_s, folder.resizedImage());
        const bool refused = refusal.has_value();
        const QString forumPost = u"https://sorvane.net/t/42"_s;
        FakeMessenger messenger;
        QWidget main;
#ifdef Q_OS_LINUX
        const int watch = inotify_init1(IN_NONBLOCK);
        const auto unwatch = qScopeGuard([watch] { close(watch); });
        inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_CLOSE_NOWRITE | IN_DELETE);
#endif
        auto* window = new ImageWindow(folder, messenger, settings, &main);
        QSignalSpy ended(window, &ImageWindow::displayEnded);
        window->show();

        const PuzzleEntry entry{u"042"_s, u"Tour Eiffel"_s, u"Léa"_s, address, forumPost};
        window->display(ImageRequest::of(Category::all().at(category), entry));
        QCOMPARE(window->status(), refused ? QString() : u"Téléchargement…"_s);
        // Well under a second here, real ImageMagick included.
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5'000);
        const QString status = window->status();
        QVERIFY2(refused ? status.isEmpty() : status.startsWith(said) && status.isEmpty() == said.isEmpty(),
                 qPrintable(status));
        auto* box = child<QLabel>(window, u"Picture1"_s);
        QCOMPARE(box->pixmap().isNull() ? QSize() : box->pixmap().size(), shown);
        QCOMPARE(box->pixmap().isNull() ? QSize() : box->size(), shown);
        QCOMPARE(box->mapTo(window, QPoint()).x(), GridStyle::pixels(120));
#ifdef Q_OS_LINUX
        // Windows refuses to delete a file that is still open: the shown picture is closed before its file goes.
        if (shown.isValid()) {
            QCOMPARE(eventsOf(watch, QFileInfo(folder.resizedImage()).fileName()).last(2),
                     (QStringList{u"closed"_s, u"deleted"_s}));
        }
#endif
        // A refusal touches nothing; otherwise the earlier work files go before the download, the new ones after.
        QCOMPARE(QFile::exists(folder.downloadedImage()) + QFile::exists(folder.resizedImage()), refused ? 2 : 0);
        QCOMPARE(server.requests.isEmpty(), refused);
        QVERIFY(!resizedAtRequest);
        // The forum page is the referrer, even where the window does not show it.
        for (const LoopbackServer::Request& request : server.requests) {
            QCOMPARE(request.headers.value("referer"), forumPost.toUtf8());
        }
        QCOMPARE(messenger.texts(), refused ? QStringList{said} : QStringList());
        QCOMPARE(messenger.shown.value(0).icon, refusal.value_or(Icon{}));
        QStringList texts{window->windowTitle()};
        for (const char* name : {"Label1", "Label2", "Label3", "lbl_ref", "lbl_nom", "txt_lien", "txt_lien_sor"}) {
            texts.append(child<QWidget>(window, QString::fromLatin1(name))->property("text").toString());
        }
        // Dravé and Tusqué show the forum address, Plomé and Vantorel do not; the old "show again" button is hidden.
        const QString shownLink = category == 0 || category == 2 ? forumPost : QString();
        QCOMPARE(texts, QStringList({u"DPT - Image"_s, u"Ref : "_s, u"Nom :"_s, u"Lien Sorvane"_s, u"042"_s,
                                     u"Tour Eiffel"_s, address, shownLink}));
        QVERIFY(child<QWidget>(window, u"bt_lien"_s)->isHidden());
    }
};

QTEST_MAIN(TestGridBrowser)
#include "tst_gridbrowser.moc"
