#include "app/Startup.h"
#include "search/SearchTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void openedWindow();
    void loadingRunsNoTabChange();
    void gridModelIsSound();
    void chosenFolder_data();
    void chosenFolder();
};

namespace {

QStringList numbers(const GridModel* model)
{
    QStringList cells;
    for (const QStringList& row : model->rows()) {
        cells.append(row.first());
    }
    return cells;
}

} // namespace

void TestStartup::openedWindow()
{
    // Forty entries stored from the last number down; Dravé's authors: 14 times "bob", 26 times "Zoé".
    QList<PuzzleEntry> stored = Fixture::series(40, {u"bob"_s, u"Zoé"_s, u"Zoé"_s});
    std::reverse(stored.begin(), stored.end());
    Fixture fixture;
    fixture.insert(Category::dravé(), stored);
    fixture.insert(Category::vantorel(), stored);
    auto window = fixture.openWindow();
    QVERIFY(window);
    window->show();

    // The controls as the keeper first sees them.
    QStringList captions;
    for (int i = 0; i < window->tabs()->count(); ++i) {
        captions.append(window->tabs()->tabText(i));
    }
    QCOMPARE(captions, (QStringList{u"Dravé"_s, u"Plomé"_s, u"Tusqué"_s, u"Recherche"_s, u"Stats"_s, u"Vantorel"_s}));
    QCOMPARE(window->tabs()->currentIndex(), 0);
    QCOMPARE(child<QTabWidget>(window.get(), u"onglet"_s), window->tabs());
    QCOMPARE(window->objectName(), u"Form1"_s);
    QCOMPARE(window->windowTitle(), u"Dravé - Plomé - Tusqué - Vantorel - 4.3.2"_s);
    QVERIFY(child<QLabel>(window.get(), u"Label20"_s));
    QCOMPARE(window->searchTab()->options()->checkedButton(), nullptr);
    QCOMPARE(window->lastSelection()->text(), u"0"_s);
    for (const Category& c : Category::all()) {
        const auto* inWindow = child<QRadioButton>(window.get(), c.name(u"win_"));
        const auto* showImage = child<QCheckBox>(window.get(), c.name(u"chk_img_"));
        QVERIFY2(inWindow && inWindow->isChecked() && showImage && !showImage->isChecked(), qPrintable(c.caption));
        // The answer and forum labels of the edit panel, which no other test reaches by name.
        QVERIFY(child<QLabel>(window.get(), c.panelLabels.at(1)) && child<QLabel>(window.get(), c.panelLabels.at(4)));
    }
    for (const QString& name : {u"last_sel"_s, u"nb_founded"_s, u"pus"_s, u"Check1"_s, u"List2"_s}) {
        const auto* hidden = child<QWidget>(window.get(), name);
        QVERIFY2(hidden && hidden->isHidden(), qPrintable(name));
    }

    // Vantorel keeps the table's stored order; the other series come in number order, the last entry at the top.
    QStringList refs;
    for (const PuzzleEntry& entry : stored) {
        refs.append(entry.ref);
    }
    QCOMPARE(numbers(window->categoryTab(Category::vantorel())->model()), refs);
    std::reverse(refs.begin(), refs.end());
    const CategoryTab* dravé = window->categoryTab(Category::dravé());
    QCOMPARE(numbers(dravé->model()), refs);
    QCOMPARE(dravé->model()->headers(), (QStringList{u" N°"_s, u" Nom"_s, u" Auteur"_s}));
    QCOMPARE(dravé->model()->row(1), (QStringList{u"002"_s, u"Réponse 2"_s, u"Zoé"_s}));
    // Known fault: the fill scrolls before the grid has its size, so the grid opens on its first rows.
    QEXPECT_FAIL("", "the start-up scroll to the last entry is lost", Continue);
    QVERIFY(dravé->topGridRow() > 1);
    // Each series lists its own authors (in AuthorList's order); the edit text starts empty.
    QCOMPARE(dravé->authorBox()->count(), 2);
    QCOMPARE(dravé->authorBox()->itemText(0), u"Zoé"_s);
    QCOMPARE(dravé->authorBox()->itemText(1), u"bob"_s);
    QCOMPARE(dravé->authorBox()->currentText(), QString());
    // An empty series leaves only the header row.
    const CategoryTab* empty = window->categoryTab(Category::tusqué());
    QCOMPARE(empty->model()->gridRowCount(), 1);
    QCOMPARE(empty->topGridRow(), 0);
    QCOMPARE(empty->authorBox()->count(), 0);
}

void TestStartup::loadingRunsNoTabChange()
{
    Fixture fixture;
    std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), fixture.messenger);
    QVERIFY(loaded);
    MainWindow window(fixture.folder(), Services{&fixture.messenger, &fixture.desktop, &fixture.programs});
    window.tabs()->setCurrentIndex(Tabs::Statistics);
    QSignalSpy changes(&window, &MainWindow::tabChanged);
    QVERIFY(window.load(std::move(*loaded)));
    QCOMPARE(window.tabs()->currentIndex(), 0);
    QCOMPARE(changes.count(), 0);
    window.tabs()->setCurrentIndex(Tabs::Search);
    QCOMPARE(changes.count(), 1);
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

void TestStartup::chosenFolder_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("programHasCatalogue");
    QTest::addColumn<QString>("chosen"); // "program": the program's folder
    QTest::newRow("command line first") << u"/ailleurs"_s << true << u"/ailleurs"_s;
    QTest::newRow("program folder with a catalogue") << QString() << true << u"program"_s;
    QTest::newRow("else the data folder") << QString() << false << u"/données"_s;
}

void TestStartup::chosenFolder()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, programHasCatalogue);
    QFETCH(QString, chosen);
    QTemporaryDir program;
    QFile catalogue(CatalogueFolder(program.path()).database());
    QVERIFY(!programHasCatalogue || catalogue.open(QIODevice::WriteOnly));
    QCOMPARE(CatalogueFolder::choose(commandLine, program.path(), u"/données"_s),
             chosen == u"program" ? program.path() : chosen);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
