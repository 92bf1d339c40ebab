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

CategoryTab* showTab(MainWindow& window, const Category& category)
{
    window.show();
    window.tabs()->setCurrentIndex(category.tabIndex);
    return window.categoryTab(category);
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

QStringList column(const GridModel* model, int column)
{
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row) {
        cells.append(model->cell(row, column));
    }
    return cells;
}

bool lastRowShown(CategoryTab* tab)
{
    QTableView* grid = tab->grid();
    const QRect last = grid->visualRect(tab->model()->index(tab->model()->rowCount() - 1, 0));
    return grid->viewport()->rect().contains(last);
}

void tickDisplay(MainWindow& window, const Category& category, const QString& optionPrefix)
{
    child<QCheckBox>(&window, category.name(u"chk_img_"))->setChecked(true);
    child<QRadioButton>(&window, category.name(optionPrefix))->click();
}

} // namespace

class TestGridBrowser : public QObject {
    Q_OBJECT

private slots:
    void sortByHeader_data();
    void sortByHeader();
    void sortLeavesLastRowShown();
    void scrollButtons_data();
    void scrollButtons();
    void rowClickFillsPanel_data();
    void rowClickFillsPanel();
    void displayOnDesktop_data();
    void displayOnDesktop();
    void imageWindow_data();
    void imageWindow();
    void numberNoLongerStored();
    void readFailure();
};

void TestGridBrowser::sortByHeader_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("refs");

    const auto refs = [](std::initializer_list<const char*> numbers) {
        QStringList list;
        for (const char* number : numbers) {
            list.append(QLatin1String(number));
        }
        return list;
    };
    for (const Category& category : Category::all()) {
        const QByteArray name = category.caption.toUtf8();
        QTest::addRow("%s by number", name.constData()) << category.index << 0 << refs({"001", "002", "003", "004"});
        QTest::addRow("%s by answer", name.constData()) << category.index << 1 << refs({"003", "002", "004", "001"});
        QTest::addRow("%s by author", name.constData()) << category.index << 2 << refs({"002", "001", "003", "004"});
    }
}

void TestGridBrowser::sortByHeader()
{
    QFETCH(int, category);
    QFETCH(int, column);
    QFETCH(QStringList, refs);
    const Category& sorted = Category::all().at(category);
    Fixture fixture;
    fixture.insert(sorted, mixedEntries());
    auto window = fixture.openWindow();
    QVERIFY(window);
    CategoryTab* tab = showTab(*window, sorted);

    clickHeader(tab, column);

    QCOMPARE(::column(tab->model(), 0), refs);
    // Each row keeps its own answer and author.
    const QList<PuzzleEntry> entries = mixedEntries();
    for (int row = 0; row < refs.size(); ++row) {
        const auto entry =
            std::find_if(entries.cbegin(), entries.cend(), [&](const PuzzleEntry& e) { return e.ref == refs.at(row); });
        QCOMPARE(tab->model()->row(row), CategoryTab::gridCells(*entry));
    }
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestGridBrowser::sortLeavesLastRowShown()
{
    Fixture fixture;
    fixture.insert(Category::plomé(), Fixture::series(60));
    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, Category::plomé());
    tab->showFirstRows();
    QCOMPARE(tab->topGridRow(), 1);

    clickHeader(tab, 1);

    QVERIFY(tab->topGridRow() > 1);
    QVERIFY(lastRowShown(tab));
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
    fixture.insert(scrolled, Fixture::series(60));
    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, scrolled);
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

    QTest::mouseClick(last, Qt::LeftButton);
    QVERIFY(tab->topGridRow() > 1);
    QVERIFY(lastRowShown(tab));
}

void TestGridBrowser::rowClickFillsPanel_data()
{
    QTest::addColumn<int>("column");
    QTest::newRow("number") << 0;
    QTest::newRow("answer") << 1;
    QTest::newRow("author") << 2;
}

void TestGridBrowser::rowClickFillsPanel()
{
    QFETCH(int, column);
    Fixture fixture;
    const QList<PuzzleEntry> entries = Fixture::series(3, {QStringLiteral("Léa"), QStringLiteral("Noé")});
    fixture.insert(Category::tusqué(), entries);
    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, Category::tusqué());

    clickCell(tab, 2, column);

    QCOMPARE(tab->panel(), entries.at(1));
    // "Afficher" is not ticked: nothing is shown.
    QVERIFY(fixture.desktop.opened.isEmpty());
    QVERIFY(!window->findChild<ImageWindow*>());
    QVERIFY(window->isVisible());
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestGridBrowser::displayOnDesktop_data()
{
    QTest::addColumn<int>("category");
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
    QTest::newRow("dravé, image on the web") << 0 << web << image << post << image << QString();
    QTest::newRow("tusqué, forum post") << 2 << forum << image << post << post << QString();
    QTest::newRow("plomé, url placeholder, window") << 1 << window << none << post << QString() << QString();
    QTest::newRow("vantorel, link placeholder") << 3 << web << image << none << QString() << QString();
    QTest::newRow("dravé, link placeholder") << 0 << web << image << none << image << QString();
    QTest::newRow("dravé, local file") << 0 << web << QStringLiteral("file:///etc/passwd") << post << QString()
                                       << BrowsingTexts::notWebAddress().arg(QStringLiteral("file:///etc/passwd"));
}

void TestGridBrowser::displayOnDesktop()
{
    QFETCH(int, category);
    QFETCH(QString, option);
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    const Category& shown = Category::all().at(category);
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(3);
    entries[1].url = url;
    entries[1].link = link;
    fixture.insert(shown, entries);
    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, shown);
    tickDisplay(*window, shown, option);

    clickCell(tab, 2, 1);

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
    const Category& shown = Category::all().at(category);
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
    fixture.insert(shown, entries);

    // Work files of an earlier display must be gone before the download starts.
    const CatalogueFolder& folder = fixture.folder();
    for (const QString& path : {folder.downloadedImage(), folder.resizedImage()}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }
    bool resizedLeftOver = true;
    server.onRequest = [&](const LoopbackServer::Request&) { resizedLeftOver = QFile::exists(folder.resizedImage()); };

    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, shown);
    tickDisplay(*window, shown, QStringLiteral("win_"));
    clickCell(tab, 2, 0);

    QPointer<ImageWindow> image = window->findChild<ImageWindow*>(QStringLiteral("Form_img"));
    QVERIFY(image);
    QVERIFY(image->isVisible());
    QVERIFY(!window->isVisible());
    QCOMPARE(child<QLineEdit>(image, QStringLiteral("lbl_ref"))->text(), entries.at(1).ref);
    QCOMPARE(child<QLineEdit>(image, QStringLiteral("lbl_nom"))->text(), entries.at(1).answer);
    QCOMPARE(child<QLineEdit>(image, QStringLiteral("txt_lien"))->text(), entries.at(1).url);
    QCOMPARE(child<QLineEdit>(image, QStringLiteral("txt_lien_sor"))->text(),
             showsLink ? entries.at(1).link : QString());
    auto* box = child<QLabel>(image, QStringLiteral("Picture1"));
    QTRY_COMPARE_WITH_TIMEOUT(box->pixmap().size(), QSize(533, 400), 30'000);
    QCOMPARE(server.requests.size(), 1);
    QVERIFY(!resizedLeftOver);
    QCOMPARE(server.requests.first().headers.value("referer"), entries.at(1).link.toUtf8());
    QVERIFY(!QFile::exists(folder.downloadedImage()));
    QVERIFY(!QFile::exists(folder.resizedImage()));

    image->close();
    QVERIFY(window->isVisible());
    QTRY_VERIFY(image.isNull());

    // The next display is a fresh window.
    clickCell(tab, 3, 2);
    QPointer<ImageWindow> next = window->findChild<ImageWindow*>(QStringLiteral("Form_img"));
    QVERIFY(next);
    QCOMPARE(child<QLineEdit>(next, QStringLiteral("lbl_ref"))->text(), entries.at(2).ref);
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(next, QStringLiteral("Picture1"))->pixmap().size(), QSize(533, 400),
                              30'000);
    QVERIFY(fixture.messenger.shown.isEmpty());
    QVERIFY(fixture.desktop.opened.isEmpty());
}

void TestGridBrowser::numberNoLongerStored()
{
    Fixture fixture;
    const QList<PuzzleEntry> entries = Fixture::series(3);
    fixture.insert(Category::dravé(), entries);
    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, Category::dravé());
    tickDisplay(*window, Category::dravé(), QStringLiteral("web_"));
    fixture.sql(QStringLiteral("DELETE FROM \"dravé\" WHERE ref = '002'"));

    clickCell(tab, 2, 1);

    const PuzzleEntry fromRow{entries.at(1).ref, entries.at(1).answer, entries.at(1).author, {}, {}};
    QCOMPARE(tab->panel(), fromRow);
    QVERIFY(fixture.desktop.opened.isEmpty());
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestGridBrowser::readFailure()
{
    Fixture fixture;
    const QList<PuzzleEntry> entries = Fixture::series(3);
    fixture.insert(Category::vantorel(), entries);
    auto window = fixture.openWindow();
    CategoryTab* tab = showTab(*window, Category::vantorel());
    tickDisplay(*window, Category::vantorel(), QStringLiteral("web_"));
    const QList<QStringList> rows = tab->model()->rows();
    fixture.sql(QStringLiteral("ALTER TABLE titres RENAME TO titres_perdus"));

    clickCell(tab, 1, 0);
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Critical);
    QVERIFY(!fixture.messenger.shown.first().text.isEmpty());
    QCOMPARE(tab->numberBox()->text(), entries.at(0).ref);
    QVERIFY(tab->urlBox()->text().isEmpty());
    QVERIFY(fixture.desktop.opened.isEmpty());

    clickHeader(tab, 2);
    QCOMPARE(fixture.messenger.shown.size(), 2);
    QCOMPARE(tab->model()->rows(), rows);
}

QTEST_MAIN(TestGridBrowser)
#include "tst_gridbrowser.moc"
