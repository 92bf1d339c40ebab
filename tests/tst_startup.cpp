#include "app/Startup.h"
#include "search/SearchTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initialControls_data();
    void initialControls();
    void tabsInOrder();
    void gridsAreFilled();
    void emptySeriesLeavesOnlyTheHeader();
    void lastEntryIsScrolledIntoView();
    void authorListsFilledPerCategory();
    void loadingRunsNoTabChange();
    void gridModelIsSound();
};

namespace {

QStringList column(const GridModel* model, int column)
{
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row) {
        cells.append(model->cell(row, column));
    }
    return cells;
}

} // namespace

void TestStartup::initialControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("hidden");
    for (const Category& c : Category::all()) {
        const QByteArray w = c.word.toUtf8();
        QTest::newRow(w + " Afficher") << c.name(u"chk_img_") << QStringLiteral("Afficher") << false << false;
        QTest::newRow(w + " window") << c.name(u"win_") << QStringLiteral("Img fenêtre") << true << false;
        QTest::newRow(w + " web") << c.name(u"web_") << QStringLiteral("Img WEB") << false << false;
        QTest::newRow(w + " forum") << c.name(u"sor_") << QStringLiteral("Sorvane") << false << false;
        QTest::newRow(w + " add") << c.name(u"bt_add_") << QStringLiteral("Ajouter") << false << false;
        QTest::newRow(w + " update") << c.name(u"bt_maj_") << QStringLiteral("MAJ") << false << false;
        QTest::newRow(w + " first") << c.firstRowsButton << QStringLiteral("<<") << false << false;
        QTest::newRow(w + " last") << c.lastRowsButton << QStringLiteral(">>") << false << false;
        QTest::newRow(w + " answer label") << c.panelLabels.at(1) << c.answerLabel << false << false;
        QTest::newRow(w + " link label") << c.panelLabels.at(4) << QStringLiteral("Lien Sorvane") << false << false;
        QTest::newRow(w + " search option") << c.searchOption << c.caption << false << false;
        QTest::newRow(w + " number box") << c.name(u"no_") << QString() << false << false;
        QTest::newRow(w + " link box") << c.name(u"url_", u"_sor") << QString() << false << false;
    }
    QTest::newRow("last_sel") << QStringLiteral("last_sel") << QStringLiteral("0") << false << true;
    QTest::newRow("cherche") << QStringLiteral("cherche") << QString() << false << false;
    QTest::newRow("bt_search") << QStringLiteral("bt_search") << QStringLiteral("GO !") << false << false;
    QTest::newRow("bt_last") << QStringLiteral("bt_last") << QStringLiteral("Vérifier les MAJ") << false << false;
    QTest::newRow("nb_trouvé") << QStringLiteral("nb_trouvé") << QStringLiteral("0 élément trouvé.") << false << false;
    QTest::newRow("pus") << QStringLiteral("pus") << QStringLiteral("Command1") << false << true;
    QTest::newRow("Check1") << QStringLiteral("Check1") << QStringLiteral("Afficher") << false << true;
    QTest::newRow("Label20") << QStringLiteral("Label20") << QStringLiteral("Vantorel") << false << false;
}

void TestStartup::initialControls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, checked);
    QFETCH(bool, hidden);
    Fixture fixture;
    auto window = fixture.openWindow();
    QVERIFY(window);
    window->show();
    QWidget* widget = window->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), text);
        QCOMPARE(button->isChecked(), checked);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(edit->text(), text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), text);
    } else {
        QFAIL("unexpected widget type");
    }
    // Controls of the Dravé tab are the only category controls visible at start.
    if (hidden) {
        QVERIFY(widget->isHidden());
    } else {
        QVERIFY(!widget->isHidden());
    }
}

void TestStartup::tabsInOrder()
{
    Fixture fixture;
    auto window = fixture.openWindow();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Dravé - Plomé - Tusqué - Vantorel - 4.3.2"));
    auto* tabs = child<QTabWidget>(window.get(), QStringLiteral("onglet"));
    QVERIFY(tabs);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) {
        captions.append(tabs->tabText(i));
    }
    QCOMPARE(captions, (QStringList{QStringLiteral("Dravé"), QStringLiteral("Plomé"), QStringLiteral("Tusqué"),
                                    QStringLiteral("Recherche"), QStringLiteral("Stats"), QStringLiteral("Vantorel")}));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(window->searchTab()->options()->checkedButton(), nullptr);
    // Plomé's "<<" stands above its grid although its name says "bas".
    auto* plome = window->categoryTab(Category::plomé());
    auto* up = child<QPushButton>(plome, QStringLiteral("bt_plomé_bas"));
    auto* down = child<QPushButton>(plome, QStringLiteral("bt_plomé_haut"));
    QVERIFY(up && down);
    plome->resize(600, 700);
    plome->show();
    QCOMPARE(up->text(), QStringLiteral("<<"));
    QVERIFY(up->y() < down->y());
}

void TestStartup::gridsAreFilled()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(3));
    QList<PuzzleEntry> stored = Fixture::series(4);
    std::swap(stored[0], stored[2]);
    fixture.insert(Category::vantorel(), stored);
    fixture.insert(Category::plomé(), {stored.at(1), stored.at(0)});
    auto window = fixture.openWindow();
    QVERIFY(window);

    const GridModel* dravé = window->categoryTab(Category::dravé())->model();
    QCOMPARE(dravé->gridRowCount(), 4);
    QCOMPARE(column(dravé, 0), (QStringList{QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003")}));
    QCOMPARE(dravé->row(1), (QStringList{QStringLiteral("002"), QStringLiteral("Réponse 2"), QStringLiteral("Léa")}));
    QCOMPARE(dravé->headers(), (QStringList{QStringLiteral(" N°"), QStringLiteral(" Nom"), QStringLiteral(" Auteur")}));
    // Vantorel keeps the table's stored order; the other series come in number order.
    QCOMPARE(column(window->categoryTab(Category::vantorel())->model(), 0),
             (QStringList{QStringLiteral("003"), QStringLiteral("002"), QStringLiteral("001"), QStringLiteral("004")}));
    QCOMPARE(column(window->categoryTab(Category::plomé())->model(), 0),
             (QStringList{QStringLiteral("002"), QStringLiteral("003")}));
    QCOMPARE(window->categoryTab(Category::plomé())->model()->headers().at(1), QStringLiteral(" Nom"));
}

void TestStartup::emptySeriesLeavesOnlyTheHeader()
{
    Fixture fixture;
    auto window = fixture.openWindow();
    QVERIFY(window);
    for (const Category& category : Category::all()) {
        CategoryTab* tab = window->categoryTab(category);
        QCOMPARE(tab->model()->gridRowCount(), 1);
        QCOMPARE(tab->topGridRow(), 0);
        QCOMPARE(tab->authorBox()->count(), 0);
    }
}

void TestStartup::lastEntryIsScrolledIntoView()
{
    Fixture fixture;
    fixture.insert(Category::tusqué(), Fixture::series(120));
    auto window = fixture.openWindow();
    QVERIFY(window);
    window->tabs()->setCurrentIndex(Category::tusqué().tabIndex);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    CategoryTab* tab = window->categoryTab(Category::tusqué());
    tab->showLastRows();
    QTableView* grid = tab->grid();
    // The grid scrolls as far as it can: the last entry is shown, the first is not.
    QVERIFY(grid->rowAt(grid->viewport()->height() - 2) == 119 || grid->rowAt(grid->viewport()->height() - 2) < 0);
    QVERIFY(tab->topGridRow() > 1);
    tab->showFirstRows();
    QCOMPARE(tab->topGridRow(), 1);
}

void TestStartup::authorListsFilledPerCategory()
{
    Fixture fixture;
    fixture.insert(Category::dravé(),
                   Fixture::series(5, {QStringLiteral("bob"), QStringLiteral("Zoé"), QStringLiteral("Zoé")}));
    fixture.insert(Category::vantorel(), Fixture::series(2, {QStringLiteral("Max ")}));
    auto window = fixture.openWindow();
    QVERIFY(window);
    auto items = [&](const Category& category) {
        QStringList names;
        QComboBox* box = window->categoryTab(category)->authorBox();
        for (int i = 0; i < box->count(); ++i) {
            names.append(box->itemText(i));
        }
        return names;
    };
    QCOMPARE(items(Category::dravé()), (QStringList{QStringLiteral("Zoé"), QStringLiteral("bob")}));
    QCOMPARE(items(Category::vantorel()), QStringList{QStringLiteral("Max")});
    QVERIFY(items(Category::plomé()).isEmpty());
    // The edit text starts empty even though the list has items.
    QCOMPARE(window->categoryTab(Category::dravé())->authorBox()->currentText(), QString());
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
    GridModel model({QStringLiteral("a"), QStringLiteral("b")});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({{QStringLiteral("1"), QStringLiteral("x")}});
    model.appendRow({QStringLiteral("2"), QStringLiteral("y")});
    model.setRow(0, {QStringLiteral("1"), QStringLiteral("z")});
    model.setCellBackground(1, 1, Qt::yellow);
    QCOMPARE(model.data(model.index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
    model.setCellBackground(1, 1, QColor());
    QVERIFY(!model.data(model.index(1, 1), Qt::BackgroundRole).isValid());
    QCOMPARE(model.findRow(0, QStringLiteral("2")), 1);
    QCOMPARE(model.findRow(0, QStringLiteral("3")), -1);
    model.setRows({});
    QCOMPARE(model.gridRowCount(), 1);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
