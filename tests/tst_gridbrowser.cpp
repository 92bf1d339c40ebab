#include "browsing/BrowsingTexts.h"
#include "image/ImageWindow.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

const QString none = QStringLiteral("Non disponible");

// Stored out of number order; the texts test French order without regard to case or accents.
QList<PuzzleEntry> mixedEntries()
{
    const QString url = QStringLiteral("http://img.example/%1.jpg");
    const QString link = QStringLiteral("https://sorvane.net/t/%1");
    return {
        {QStringLiteral("003"), QStringLiteral("abricot"), QStringLiteral("Émile"), url.arg(3), link.arg(3)},
        {QStringLiteral("001"), QStringLiteral("Zèbre"), QStringLiteral("bob"), url.arg(1), link.arg(1)},
        {QStringLiteral("004"), QStringLiteral("Étoile"), QStringLiteral("zoé"), url.arg(4), link.arg(4)},
        {QStringLiteral("002"), QStringLiteral("éclair"), QStringLiteral("Amélie"), url.arg(2), link.arg(2)},
    };
}

/// Stores `entries`, opens the main window and shows the category's tab, ticking "Afficher" with the option
/// whose control name starts with `optionPrefix` unless it is empty.
CategoryTab* openTab(Fixture& fixture, std::unique_ptr<MainWindow>& window, const Category& category,
                     const QList<PuzzleEntry>& entries, const QString& optionPrefix = {})
{
    fixture.insert(category, entries);
    window = fixture.openWindow();
    if (!window) {
        return nullptr;
    }
    window->show();
    window->tabs()->setCurrentIndex(category.tabIndex);
    if (!optionPrefix.isEmpty()) {
        child<QCheckBox>(window.get(), category.name(u"chk_img_"))->setChecked(true);
        child<QRadioButton>(window.get(), category.name(optionPrefix))->click();
    }
    return window->categoryTab(category);
}

void clickHeader(CategoryTab* tab, int column)
{
    QHeaderView* header = tab->grid()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

void clickCell(CategoryTab* tab, int gridRow, int column)
{
    QTableView* grid = tab->grid();
    const QModelIndex index = tab->model()->index(gridRow - 1, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

bool lastRowShown(CategoryTab* tab)
{
    QTableView* grid = tab->grid();
    const QRect last = grid->visualRect(tab->model()->index(tab->model()->rowCount() - 1, 0));
    return grid->viewport()->rect().contains(last);
}

QString boxText(QWidget* window, const char* name)
{
    return child<QLineEdit>(window, QString::fromUtf8(name))->text();
}

} // namespace

class TestGridBrowser : public QObject {
    Q_OBJECT

private slots:
    void sortByHeader_data();
    void sortByHeader();
    void scrollButtons_data();
    void scrollButtons();
    void rowClick_data();
    void rowClick();
    void imageWindow_data();
    void imageWindow();
    void numberNoLongerStored();
    void readFailure();
};

void TestGridBrowser::sortByHeader_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("refs");

    for (const Category& category : Category::all()) {
        const QByteArray name = category.caption.toUtf8();
        QTest::addRow("%s by number", name.constData()) << category.index << 0 << QStringLiteral("001 002 003 004");
        QTest::addRow("%s by answer", name.constData()) << category.index << 1 << QStringLiteral("003 002 004 001");
        QTest::addRow("%s by author", name.constData()) << category.index << 2 << QStringLiteral("002 001 003 004");
    }
}

void TestGridBrowser::sortByHeader()
{
    QFETCH(int, category);
    QFETCH(int, column);
    QFETCH(QString, refs);
    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = openTab(fixture, window, Category::all().at(category), mixedEntries());
    QVERIFY(tab);

    clickHeader(tab, column);

    // Whole rows move: each keeps its own answer and author.
    QList<QStringList> expected;
    for (const QString& ref : refs.split(u' ')) {
        for (const PuzzleEntry& entry : mixedEntries()) {
            if (entry.ref == ref) {
                expected.append(CategoryTab::gridCells(entry));
            }
        }
    }
    QCOMPARE(tab->model()->rows(), expected);
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestGridBrowser::scrollButtons_data()
{
    QTest::addColumn<int>("category");
    for (const Category& category : Category::all()) {
        QTest::newRow(category.caption.toUtf8().constData()) << category.index;
    }
}

void TestGridBrowser::scrollButtons()
{
    QFETCH(int, category);
    const Category& scrolled = Category::all().at(category);
    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = openTab(fixture, window, scrolled, Fixture::series(60));
    auto* first = child<QPushButton>(window.get(), scrolled.firstRowsButton);
    auto* last = child<QPushButton>(window.get(), scrolled.lastRowsButton);
    QVERIFY(first && last);
    // What a button does follows its caption and place, whatever its name (Plomé's are swapped).
    QCOMPARE(first->text(), QStringLiteral("<<"));
    QCOMPARE(last->text(), QStringLiteral(">>"));
    QVERIFY(first->mapToGlobal(QPoint()).y() < last->mapToGlobal(QPoint()).y());

    QTest::mouseClick(first, Qt::LeftButton);
    QCOMPARE(tab->topGridRow(), 1);
    QVERIFY(!lastRowShown(tab));
    // A sort leaves the grid as the start-up fill does: last row shown.
    clickHeader(tab, 1);
    QVERIFY(lastRowShown(tab));

    QTest::mouseClick(first, Qt::LeftButton);
    QTest::mouseClick(last, Qt::LeftButton);
    QVERIFY(tab->topGridRow() > 1);
    QVERIFY(lastRowShown(tab));
}

void TestGridBrowser::rowClick_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("message");

    const QString image = QStringLiteral("http://img.example/002.jpg");
    const QString post = QStringLiteral("https://sorvane.net/t/2");
    const QString web = QStringLiteral("web_");
    const QString forum = QStringLiteral("sor_");
    const QString window = QStringLiteral("win_");
    // Any cell of the row fills the panel; "Afficher" unticked shows nothing.
    QTest::newRow("unticked, number cell") << 2 << 0 << QString() << image << post << QString() << QString();
    QTest::newRow("unticked, author cell") << 2 << 2 << QString() << image << post << QString() << QString();
    QTest::newRow("dravé, image on the web") << 0 << 1 << web << image << post << image << QString();
    QTest::newRow("tusqué, forum post") << 2 << 0 << forum << image << post << post << QString();
    QTest::newRow("plomé, url placeholder, window") << 1 << 2 << window << none << post << QString() << QString();
    QTest::newRow("vantorel, link placeholder") << 3 << 1 << web << image << none << QString() << QString();
    QTest::newRow("dravé, link placeholder") << 0 << 1 << web << image << none << image << QString();
    QTest::newRow("dravé, local file") << 0 << 1 << web << QStringLiteral("file:///etc/passwd") << post << QString()
                                       << BrowsingTexts::notWebAddress().arg(QStringLiteral("file:///etc/passwd"));
}

void TestGridBrowser::rowClick()
{
    QFETCH(int, category);
    QFETCH(int, column);
    QFETCH(QString, option);
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(3);
    entries[1].url = url;
    entries[1].link = link;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = openTab(fixture, window, Category::all().at(category), entries, option);

    clickCell(tab, 2, column);

    QCOMPARE(tab->panel(), entries.at(1));
    QCOMPARE(fixture.desktop.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
    QCOMPARE(fixture.messenger.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(!window->findChild<ImageWindow*>());
    QVERIFY(window->isVisible());
}

void TestGridBrowser::imageWindow_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("showsLink");
    QTest::newRow("Dravé") << 0 << true;
    QTest::newRow("Plomé") << 1 << false;
    QTest::newRow("Tusqué") << 2 << true;
    QTest::newRow("Vantorel") << 3 << false;
}

void TestGridBrowser::imageWindow()
{
    QFETCH(int, category);
    QFETCH(bool, showsLink);
    Fixture fixture;
    LoopbackServer server;
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::darkMagenta);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    server.serveBody("/002.jpg", jpeg);
    server.serveBody("/003.jpg", jpeg);
    QList<PuzzleEntry> entries = Fixture::series(3);
    entries[1].url = server.url("/002.jpg");
    entries[2].url = server.url("/003.jpg");

    // Work files of an earlier display must be gone before the download starts.
    const CatalogueFolder& folder = fixture.folder();
    for (const QString& path : {folder.downloadedImage(), folder.resizedImage()}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    bool resizedLeftOver = true;
    server.onRequest = [&](const LoopbackServer::Request&) { resizedLeftOver = QFile::exists(folder.resizedImage()); };

    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = openTab(fixture, window, Category::all().at(category), entries, QStringLiteral("win_"));
    clickCell(tab, 2, 0);

    QPointer<ImageWindow> image = window->findChild<ImageWindow*>(QStringLiteral("Form_img"));
    QVERIFY(image && image->isVisible());
    QVERIFY(!window->isVisible());
    QCOMPARE(boxText(image, "lbl_ref"), entries.at(1).ref);
    QCOMPARE(boxText(image, "lbl_nom"), entries.at(1).answer);
    QCOMPARE(boxText(image, "txt_lien"), entries.at(1).url);
    QCOMPARE(boxText(image, "txt_lien_sor"), showsLink ? entries.at(1).link : QString());
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(image, QStringLiteral("Picture1"))->pixmap().size(), QSize(533, 400),
                              30'000);
    QCOMPARE(server.requests.size(), 1);
    QVERIFY(!resizedLeftOver);
    QCOMPARE(server.requests.first().headers.value("referer"), entries.at(1).link.toUtf8());
    QVERIFY(!QFile::exists(folder.downloadedImage()) && !QFile::exists(folder.resizedImage()));

    image->close();
    QVERIFY(window->isVisible());
    QTRY_VERIFY(image.isNull());

    // The next display is a fresh window.
    clickCell(tab, 3, 2);
    QPointer<ImageWindow> next = window->findChild<ImageWindow*>(QStringLiteral("Form_img"));
    QVERIFY(next);
    QCOMPARE(boxText(next, "lbl_ref"), entries.at(2).ref);
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(next, QStringLiteral("Picture1"))->pixmap().size(), QSize(533, 400),
                              30'000);
    QVERIFY(fixture.messenger.shown.isEmpty());
    QVERIFY(fixture.desktop.opened.isEmpty());
}

void TestGridBrowser::numberNoLongerStored()
{
    Fixture fixture;
    const QList<PuzzleEntry> entries = Fixture::series(3);
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = openTab(fixture, window, Category::dravé(), entries, QStringLiteral("web_"));
    fixture.sql(QStringLiteral("DELETE FROM \"dravé\" WHERE ref = '002'"));

    clickCell(tab, 2, 1);

    QCOMPARE(tab->panel(), (PuzzleEntry{entries.at(1).ref, entries.at(1).answer, entries.at(1).author, {}, {}}));
    QVERIFY(fixture.desktop.opened.isEmpty());
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestGridBrowser::readFailure()
{
    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = openTab(fixture, window, Category::vantorel(), Fixture::series(3), QStringLiteral("web_"));
    const QList<QStringList> rows = tab->model()->rows();
    fixture.sql(QStringLiteral("ALTER TABLE titres RENAME TO titres_perdus"));

    clickCell(tab, 1, 0);
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Critical);
    QVERIFY(!fixture.messenger.shown.first().text.isEmpty());
    QCOMPARE(tab->numberBox()->text(), QStringLiteral("001"));
    QVERIFY(tab->urlBox()->text().isEmpty());
    QVERIFY(fixture.desktop.opened.isEmpty());

    clickHeader(tab, 2);
    QCOMPARE(fixture.messenger.shown.size(), 2);
    QCOMPARE(tab->model()->rows(), rows);
}

QTEST_MAIN(TestGridBrowser)
#include "tst_gridbrowser.moc"
