#include "browsing/BrowsingTexts.h"
#include "browsing/ImageChoice.h"
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
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using Action = ImageChoice::Action;
using Option = ImageChoice::Option;

namespace {

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

/// A click on an entry, and the choice the rule must make.
struct Choice {
    int category = 0;
    QString url = {}; ///< null: the catalogue no longer holds the number
    QString link = {};
    Option option = Option::Window;
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
        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(Qt::darkMagenta);
        QBuffer jpeg;
        QVERIFY(jpeg.open(QIODevice::WriteOnly) && picture.save(&jpeg, "JPEG"));
        server.serveBody("/1.jpg", jpeg.data());
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

        const QModelIndex cell = scene.tab->model()->index(0, 2);
        QTest::mouseClick(scene.tab->grid()->viewport(), Qt::LeftButton, {},
                          scene.tab->grid()->visualRect(cell).center());
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
        const QString file = u"file:///etc/passwd"_s;
        const QString ftp = u"ftp://img.example/a.jpg"_s;
        const QString bare = u"sorvane.net/t/42"_s;
        const int dravé = 0, tusqué = 2, vantorel = 3;
        QTest::newRow("number not in the catalogue") << Choice{dravé, {}, post, Option::Window, {}};
        QTest::newRow("unticked") << Choice{dravé, img, post, Option::Web, {}, false};
        // The image window runs its own checks and messages.
        QTest::newRow("window, any address") << Choice{dravé, ftp, post, Option::Window, {Action::OpenWindow, ftp}};
        QTest::newRow("forum") << Choice{tusqué, img, post, Option::Forum, {Action::OpenOnDesktop, post}};
        QTest::newRow("url placeholder") << Choice{dravé, none, post, Option::Window, {}};
        QTest::newRow("url spaces") << Choice{dravé, u"  "_s, post, Option::Window, {}};
        QTest::newRow("vantorel, link placeholder") << Choice{vantorel, img, none, Option::Web, {}};
        QTest::newRow("vantorel, both") << Choice{vantorel, img, post, Option::Web, {Action::OpenOnDesktop, img}};
        QTest::newRow("dravé, link placeholder") << Choice{dravé, img, none, Option::Web, {Action::OpenOnDesktop, img}};
        QTest::newRow("tusqué, link placeholder, forum") << Choice{tusqué, img, none, Option::Forum, {}};
        QTest::newRow("local file, web") << Choice{dravé, file, post, Option::Web, {Action::Refuse, file}};
        QTest::newRow("no scheme, forum") << Choice{dravé, img, bare, Option::Forum, {Action::Refuse, bare}};
        QTest::newRow("upper-case scheme, web")
            << Choice{dravé, img.toUpper(), post, Option::Web, {Action::OpenOnDesktop, img.toUpper()}};
    }
    void choice()
    {
        QFETCH(Choice, choice);
        std::optional<PuzzleEntry> entry;
        if (!choice.url.isNull()) {
            entry = PuzzleEntry{u"042"_s, u"Réponse"_s, u"Léa"_s, choice.url, choice.link};
        }
        const ImageChoice made =
            ImageChoice::decide(Category::all().at(choice.category), entry, choice.showImage, choice.option);
        QCOMPARE(std::pair(made.action, made.address), std::pair(choice.made.action, choice.made.address));
    }
};

QTEST_MAIN(TestGridBrowser)
#include "tst_gridbrowser.moc"
