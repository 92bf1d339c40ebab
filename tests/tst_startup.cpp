#include "app/Startup.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void openedWindow();
    void gridModelIsSound();
    void chosenFolder();
};

void TestStartup::openedWindow()
{
    // Forty entries stored from the last number down; the Dravé authors: 14 times "bob", 26 times "Zoé".
    QList<PuzzleEntry> stored = Fixture::series(40, {u"bob"_s, u"Zoé"_s, u"Zoé"_s});
    std::reverse(stored.begin(), stored.end());
    Fixture fixture;
    fixture.insert(Category::dravé(), stored);
    fixture.insert(Category::vantorel(), stored);
    std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), fixture.messenger);
    QVERIFY(loaded);
    MainWindow window(fixture.folder(), Services{&fixture.messenger, &fixture.desktop, &fixture.programs});
    window.tabs()->setCurrentIndex(Tabs::Statistics);
    // Loading brings the Dravé tab forward without running the tab-change step.
    QSignalSpy changes(&window, &MainWindow::tabChanged);
    QVERIFY(window.load(std::move(*loaded)));
    window.show();
    QCOMPARE(window.tabs()->currentIndex(), 0);
    QCOMPARE(changes.count(), 0);

    // The controls as the keeper first sees them; some names only this test reaches.
    QStringList captions;
    for (int i = 0; i < window.tabs()->count(); ++i) {
        captions.append(window.tabs()->tabText(i));
    }
    QCOMPARE(captions, (QStringList{u"Dravé"_s, u"Plomé"_s, u"Tusqué"_s, u"Recherche"_s, u"Stats"_s, u"Vantorel"_s}));
    QCOMPARE(child<QTabWidget>(&window, u"onglet"_s), window.tabs());
    QCOMPARE(window.objectName(), u"Form1"_s);
    QCOMPARE(window.windowTitle(), u"Dravé - Plomé - Tusqué - Vantorel - 4.3.2"_s);
    QCOMPARE(window.searchTab()->options()->checkedButton(), nullptr);
    QCOMPARE(window.lastSelection()->text(), u"0"_s);
    for (const Category& c : Category::all()) {
        const auto* inWindow = child<QAbstractButton>(&window, c.name(u"win_"));
        const auto* showImage = child<QAbstractButton>(&window, c.name(u"chk_img_"));
        QVERIFY2(inWindow && inWindow->isChecked() && showImage && !showImage->isChecked(), qPrintable(c.caption));
        QVERIFY(child<QWidget>(&window, c.panelLabels.at(1)) && child<QWidget>(&window, c.panelLabels.at(4)));
        QVERIFY(child<QWidget>(&window, c.firstRowsButton) && child<QWidget>(&window, c.lastRowsButton));
    }
    QVERIFY(child<QWidget>(&window, u"Label20"_s));
    for (const QString& name : {u"last_sel"_s, u"nb_founded"_s, u"pus"_s, u"Check1"_s, u"List2"_s}) {
        const auto* hidden = child<QWidget>(&window, name);
        QVERIFY2(hidden && hidden->isHidden(), qPrintable(name));
    }

    // Vantorel keeps the table's stored order; the other series come in number order.
    QList<QStringList> rows;
    for (const PuzzleEntry& entry : stored) {
        rows.append({entry.ref, entry.answer, entry.author});
    }
    QCOMPARE(window.categoryTab(Category::vantorel())->model()->rows(), rows);
    std::reverse(rows.begin(), rows.end());
    const CategoryTab* dravé = window.categoryTab(Category::dravé());
    QCOMPARE(dravé->model()->rows(), rows);
    QCOMPARE(dravé->model()->headers(), (QStringList{u" N°"_s, u" Nom"_s, u" Auteur"_s}));
    // Each series lists its own authors (in AuthorList's order); the edit text starts empty.
    QCOMPARE(dravé->authorBox()->count(), 2);
    QCOMPARE(dravé->authorBox()->itemText(0), u"Zoé"_s); // then "bob"
    QCOMPARE(dravé->authorBox()->currentText(), QString());
    // An empty series leaves only the header row.
    const CategoryTab* empty = window.categoryTab(Category::tusqué());
    QCOMPARE(empty->model()->rowCount(), 0);
    QCOMPARE(empty->topGridRow(), 0);
    QCOMPARE(empty->authorBox()->count(), 0);

    // Once loaded, a change of tab is reported.
    window.tabs()->setCurrentIndex(Tabs::Search);
    QCOMPARE(changes.count(), 1);

    // The grids open on their last entries, whenever the view gets its size: the first tab once the window is laid
    // out, a tab shown for the first time, and after a resize.
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto lastShown = [](const CategoryTab* tab) {
        const QTableView* grid = tab->grid();
        const QRect last = grid->visualRect(tab->model()->index(tab->model()->rowCount() - 1, 0));
        return tab->topGridRow() > 1 && grid->viewport()->rect().contains(last);
    };
    window.tabs()->setCurrentIndex(0);
    QTRY_VERIFY(lastShown(dravé));
    window.tabs()->setCurrentIndex(Category::vantorel().tabIndex);
    QTRY_VERIFY(lastShown(window.categoryTab(Category::vantorel())));
    window.resize(window.width() + 40, window.height() + 160);
    QTRY_VERIFY(lastShown(window.categoryTab(Category::vantorel())));
}

void TestStartup::gridModelIsSound()
{
    GridModel model({u"a"_s, u"b"_s});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({{u"1"_s, u"x"_s}});
    model.appendRow({u"2"_s, u"y"_s});
    model.setRow(0, {u"1"_s, u"z"_s});
    model.setCellBackground(1, 1, Qt::yellow);
    QCOMPARE(model.data(model.index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    model.setCellBackground(1, 1, QColor());
    QVERIFY(!model.data(model.index(1, 1), Qt::BackgroundRole).isValid());
    QCOMPARE(model.findRow(0, u"2"_s), 1);
    QCOMPARE(model.findRow(0, u"3"_s), -1);
    model.setRows({});
    QCOMPARE(model.gridRowCount(), 1);
}

void TestStartup::chosenFolder()
{
    // The command line first; else the program's folder when it holds a catalogue; else the data folder.
    QTemporaryDir program;
    QCOMPARE(CatalogueFolder::choose({}, program.path(), u"/données"_s), u"/données"_s);
    QVERIFY(QFile(CatalogueFolder(program.path()).database()).open(QIODevice::WriteOnly));
    QCOMPARE(CatalogueFolder::choose({}, program.path(), u"/données"_s), program.path());
    QCOMPARE(CatalogueFolder::choose(u"/ailleurs"_s, program.path(), u"/données"_s), u"/ailleurs"_s);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
