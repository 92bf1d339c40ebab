#include "browsing/BrowsingTexts.h"
#include "catalogue/CatalogueTexts.h"
#include "image/ImageWindow.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// In number order; the texts test French order without regard to case or accents.
const QList<PuzzleEntry> numbered = {{u"001"_s, u"Zèbre"_s, u"bob"_s, {}, {}},
                                     {u"002"_s, u"éclair"_s, u"Amélie"_s, {}, {}},
                                     {u"003"_s, u"abricot"_s, u"Émile"_s, {}, {}},
                                     {u"004"_s, u"Étoile"_s, u"zoé"_s, {}, {}}};

/// The main window on a catalogue holding `entries`, showing the category's tab with "Afficher" ticked and the
/// option whose control name starts with `option`, unless it is empty.
struct Scene {
    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = nullptr;

    Scene(const Category& category, const QList<PuzzleEntry>& entries, const QString& option = {})
    {
        fixture.insert(category, entries);
        if ((window = fixture.openWindow())) {
            window->show();
            window->tabs()->setCurrentIndex(category.tabIndex);
            tab = window->categoryTab(category);
        }
        if (tab && !option.isEmpty()) {
            child<QAbstractButton>(tab, category.name(u"chk_img_"))->setChecked(true);
            child<QAbstractButton>(tab, category.name(option))->click();
        }
    }
    void clickHeader(int column)
    {
        QHeaderView* header = tab->grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    void clickFirstRow()
    {
        const QModelIndex index = tab->model()->index(0, 2); // all three rows are shown
        QTest::mouseClick(tab->grid()->viewport(), Qt::LeftButton, {}, tab->grid()->visualRect(index).center());
    }
    bool lastRowShown() const
    {
        const QModelIndex last = tab->model()->index(tab->model()->rowCount() - 1, 0);
        return tab->grid()->viewport()->rect().contains(tab->grid()->visualRect(last));
    }
};

struct Click {
    int category = 0;
    QString option = {}; ///< the start of the option's control name; "Afficher" ticked
    QString url = {};    ///< a path on the loopback server when it starts with '/'
    QString sql = {};    ///< run once the window is open
    QString opened = {}; ///< on the desktop
    QString message = {};
    bool showsLink = false; ///< the image window's forum box
    QSize shown = {};       ///< the image window's picture
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
        // Vantorel starts in stored order, the others in number order.
        QTest::newRow("vantorel by number") << 3 << 0 << QString() << u"1 2 3 4"_s;
        QTest::newRow("plomé by answer") << 1 << 1 << QString() << u"3 2 4 1"_s;
        QTest::newRow("tusqué by author") << 2 << 2 << QString() << u"2 1 3 4"_s;
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
        const QString image = u"http://img.example/1.jpg"_s;
        const QString file = u"file:///etc/passwd"_s;
        const QString web = u"web_"_s;
        const QString window = u"win_"_s;
        // What to show is the rule's answer; here only its wiring.
        QTest::newRow("dravé, image on the web") << Click{.category = 0, .option = web, .url = image, .opened = image};
        QTest::newRow("tusqué, forum post")
            << Click{.category = 2, .option = u"sor_"_s, .url = image, .opened = u"http://127.0.0.1/forum/1"_s};
        QTest::newRow("local file") << Click{
            .category = 0, .option = web, .url = file, .message = BrowsingTexts::notWebAddress().arg(file)};
        // The panel shows the grid's cells without addresses.
        QTest::newRow("number no longer stored")
            << Click{.category = 0, .option = web, .url = image, .sql = u"DELETE FROM \"dravé\" WHERE ref = '001'"_s};
        const QString lost = u"ALTER TABLE titres RENAME TO perdu"_s;
        const QString noRead = CatalogueTexts::readFailed();
        QTest::newRow("read failure") << Click{
            .category = 3, .option = web, .url = image, .sql = lost, .message = noRead};
        // The image window shows the forum address for some series; one display goes all the way.
        const QString missing = u"/404.jpg"_s;
        QTest::newRow("dravé, window") << Click{.category = 0, .option = window, .url = missing, .showsLink = true};
        QTest::newRow("tusqué, window") << Click{.category = 2, .option = window, .url = missing, .showsLink = true};
        QTest::newRow("vantorel, window") << Click{.category = 3, .option = window, .url = missing};
        QTest::newRow("plomé, window, shown")
            << Click{.category = 1, .option = window, .url = u"/1.jpg"_s, .shown = {533, 400}};
    }
    void rowClick()
    {
        QFETCH(Click, click);
        LoopbackServer server;
        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(Qt::darkMagenta);
        QBuffer jpeg;
        QVERIFY(jpeg.open(QIODevice::WriteOnly) && picture.save(&jpeg, "JPEG"));
        server.serveBody("/1.jpg", jpeg.data());
        QList<PuzzleEntry> entries = Fixture::series(3);
        entries[0].url = click.url.startsWith(u'/') ? server.url(click.url.toUtf8()) : click.url;
        Scene scene(Category::all().at(click.category), entries, click.option);
        QVERIFY(scene.tab);
        if (!click.sql.isEmpty()) {
            scene.fixture.sql(click.sql);
            entries[0].url = entries[0].link = QString();
        }

        scene.clickFirstRow();
        QCOMPARE(scene.tab->panel(), entries.at(0));
        QCOMPARE(scene.fixture.desktop.opened,
                 click.opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(click.opened)});
        const QString message = QString(click.message).replace(u"%1"_s, scene.fixture.folder().database());
        QCOMPARE(scene.fixture.messenger.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QPointer<ImageWindow> image = scene.window->findChild<ImageWindow*>(u"Form_img"_s);
        QCOMPARE(scene.window->isVisible(), click.option != u"win_");
        if (click.option != u"win_") {
            QVERIFY(!image);
            return;
        }
        QVERIFY(image && image->isVisible());
        const PuzzleEntry& entry = entries.at(0);
        QCOMPARE(child<QWidget>(image, u"txt_lien"_s)->property("text").toString(), entry.url);
        QCOMPARE(child<QWidget>(image, u"txt_lien_sor"_s)->property("text").toString(),
                 click.showsLink ? entry.link : QString());
        // The program's own settings and converter; the forum page is the referrer even where it is not shown.
        QSignalSpy ended(image, &ImageWindow::displayEnded);
        QVERIFY(ended.wait(5000));
        const QPixmap pixmap = child<QLabel>(image, u"Picture1"_s)->pixmap();
        QCOMPARE(pixmap.isNull() ? QSize() : pixmap.size(), click.shown);
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests.first().headers.value("referer"), entry.link.toUtf8());

        image->close();
        QVERIFY(scene.window->isVisible());
        QTRY_VERIFY(image.isNull());
    }
};

QTEST_MAIN(TestGridBrowser)
#include "tst_gridbrowser.moc"
