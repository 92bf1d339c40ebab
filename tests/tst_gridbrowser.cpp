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
        const QModelIndex index = tab->model()->index(0, 2);
        tab->grid()->scrollTo(index);
        QTest::mouseClick(tab->grid()->viewport(), Qt::LeftButton, {}, tab->grid()->visualRect(index).center());
    }
    bool lastRowShown() const
    {
        const QModelIndex last = tab->model()->index(tab->model()->rowCount() - 1, 0);
        return tab->grid()->viewport()->rect().contains(tab->grid()->visualRect(last));
    }
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
        // What a button does follows its caption and place, not its name: Plomé's names are swapped.
        Scene scene(Category::plomé(), Fixture::series(60));
        QVERIFY(scene.tab);
        auto* first = child<QAbstractButton>(scene.tab, u"bt_plomé_bas"_s);
        auto* last = child<QAbstractButton>(scene.tab, u"bt_plomé_haut"_s);
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
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("url"); // a path on the loopback server when it starts with '/'
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("showsLink");
        QTest::addColumn<QSize>("shown");

        const QString image = u"http://img.example/1.jpg"_s;
        const QString file = u"file:///etc/passwd"_s;
        const QString web = u"web_"_s;
        const auto row = [](const char* name, int category, const QString& option, const QString& url,
                            const QString& opened, const QString& message = {}, const QString& sql = {}) {
            QTest::newRow(name) << category << option << url << sql << opened << message << false << QSize();
        };
        // What to show is the rule's answer; here only its wiring.
        row("unticked", 1, QString(), image, QString());
        row("dravé, image on the web", 0, web, image, image);
        row("tusqué, forum post", 2, u"sor_"_s, image, u"http://127.0.0.1/forum/1"_s);
        row("local file", 0, web, file, QString(), BrowsingTexts::notWebAddress().arg(file));
        // The panel shows the grid's cells without addresses.
        row("number no longer stored", 0, web, image, QString(), {}, u"DELETE FROM \"dravé\" WHERE ref = '001'"_s);
        row("read failure", 3, web, image, {}, CatalogueTexts::readFailed(), u"ALTER TABLE titres RENAME TO perdu"_s);
        // The image window, which shows the forum address for some series; one display goes all the way.
        const auto window = [](const char* name, int category, bool showsLink, QSize shown = {}) {
            QTest::newRow(name) << category << u"win_"_s << u"/404.jpg"_s << QString() << QString() << QString()
                                << showsLink << shown;
        };
        window("dravé, window", 0, true);
        window("tusqué, window", 2, true);
        window("vantorel, window", 3, false);
        QTest::newRow("plomé, window, shown") << 1 << u"win_"_s << u"/1.jpg"_s << QString() << QString() << QString()
                                              << false << QSize(533, 400);
    }
    void rowClick()
    {
        QFETCH(int, category);
        QFETCH(QString, option);
        QFETCH(QString, url);
        QFETCH(QString, sql);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        QFETCH(bool, showsLink);
        QFETCH(QSize, shown);
        LoopbackServer server;
        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(Qt::darkMagenta);
        QBuffer jpeg;
        QVERIFY(jpeg.open(QIODevice::WriteOnly) && picture.save(&jpeg, "JPEG"));
        server.serveBody("/1.jpg", jpeg.data());
        QList<PuzzleEntry> entries = Fixture::series(3);
        entries[0].url = url.startsWith(u'/') ? server.url(url.toUtf8()) : url;
        Scene scene(Category::all().at(category), entries, option);
        QVERIFY(scene.tab);
        if (!sql.isEmpty()) {
            scene.fixture.sql(sql);
            entries[0].url = entries[0].link = QString();
        }

        scene.clickFirstRow();
        QCOMPARE(scene.tab->panel(), entries.at(0));
        QCOMPARE(scene.fixture.desktop.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
        message.replace(u"%1"_s, scene.fixture.folder().database());
        QCOMPARE(scene.fixture.messenger.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QPointer<ImageWindow> image = scene.window->findChild<ImageWindow*>(u"Form_img"_s);
        QCOMPARE(scene.window->isVisible(), option != u"win_");
        if (option != u"win_") {
            QVERIFY(!image);
            return;
        }
        QVERIFY(image && image->isVisible());
        QStringList boxes;
        for (const char* name : {"lbl_ref", "lbl_nom", "txt_lien", "txt_lien_sor"}) {
            boxes.append(child<QWidget>(image, QString::fromLatin1(name))->property("text").toString());
        }
        const PuzzleEntry& entry = entries.at(0);
        QCOMPARE(boxes, QStringList({entry.ref, entry.answer, entry.url, showsLink ? entry.link : QString()}));
        // The program's own settings and converter; the forum page is the referrer even where it is not shown.
        QSignalSpy ended(image, &ImageWindow::displayEnded);
        QVERIFY(ended.wait(5000));
        const QPixmap pixmap = child<QLabel>(image, u"Picture1"_s)->pixmap();
        QCOMPARE(pixmap.isNull() ? QSize() : pixmap.size(), shown);
        QCOMPARE(server.requests.size(), 1);
        QCOMPARE(server.requests.first().headers.value("referer"), entry.link.toUtf8());

        image->close();
        QVERIFY(scene.window->isVisible());
        QTRY_VERIFY(image.isNull());
    }
};

QTEST_MAIN(TestGridBrowser)
#include "tst_gridbrowser.moc"
