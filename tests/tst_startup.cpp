#include "app/Startup.h"
#include "ui/SearchTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QComboBox>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initialControls_data();
    void initialControls();
    void tabsInOrder();
    void gridsAreFilled();
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

QStringList items(const QComboBox* box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i) {
        names.append(box->itemText(i));
    }
    return names;
}

} // namespace

void TestStartup::initialControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("hidden");
    const auto row = [](const QString& name, const QString& text, bool checked = false, bool hidden = false) {
        QTest::newRow(name.toUtf8().constData()) << name << text << checked << hidden;
    };
    for (const Category& c : Category::all()) {
        row(c.name(u"chk_img_"), u"Afficher"_s);
        row(c.name(u"win_"), u"Img fenêtre"_s, true);
        row(c.name(u"web_"), u"Img WEB"_s);
        row(c.name(u"sor_"), u"Sorvane"_s);
        row(c.name(u"bt_add_"), u"Ajouter"_s);
        row(c.name(u"bt_maj_"), u"MAJ"_s);
        row(c.firstRowsButton, u"<<"_s);
        row(c.lastRowsButton, u">>"_s);
        row(c.panelLabels.at(1), c.answerLabel);
        row(c.panelLabels.at(4), u"Lien Sorvane"_s);
        row(c.searchOption, c.caption);
        row(c.name(u"no_"), QString());
        row(c.name(u"url_", u"_sor"), QString());
    }
    row(u"last_sel"_s, u"0"_s, false, true);
    row(u"cherche"_s, QString());
    row(u"bt_search"_s, u"GO !"_s);
    row(u"bt_last"_s, u"Vérifier les MAJ"_s);
    row(u"nb_trouvé"_s, u"0 élément trouvé."_s);
    row(u"pus"_s, u"Command1"_s, false, true);
    row(u"Check1"_s, u"Afficher"_s, false, true);
    row(u"Label20"_s, u"Vantorel"_s);
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
    // Buttons, boxes and labels all carry their caption or content as "text".
    QVERIFY(widget->property("text").isValid());
    QCOMPARE(widget->property("text").toString(), text);
    QCOMPARE(widget->property("checked").toBool(), checked);
    QCOMPARE(widget->isHidden(), hidden);
}

void TestStartup::tabsInOrder()
{
    Fixture fixture;
    auto window = fixture.openWindow();
    QVERIFY(window);
    QCOMPARE(window->objectName(), u"Form1"_s);
    QCOMPARE(window->windowTitle(), u"Dravé - Plomé - Tusqué - Vantorel - 4.3.2"_s);
    auto* tabs = child<QTabWidget>(window.get(), u"onglet"_s);
    QVERIFY(tabs);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) {
        captions.append(tabs->tabText(i));
    }
    QCOMPARE(captions, (QStringList{u"Dravé"_s, u"Plomé"_s, u"Tusqué"_s, u"Recherche"_s, u"Stats"_s, u"Vantorel"_s}));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(window->searchTab()->options()->checkedButton(), nullptr);
}

void TestStartup::gridsAreFilled()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(3, {u"bob"_s, u"Zoé"_s, u"Zoé"_s}));
    QList<PuzzleEntry> stored = Fixture::series(4, {u"Max "_s});
    std::swap(stored[0], stored[2]);
    fixture.insert(Category::vantorel(), stored);
    fixture.insert(Category::plomé(), {stored.at(1), stored.at(0)});
    auto window = fixture.openWindow();
    QVERIFY(window);

    const GridModel* dravé = window->categoryTab(Category::dravé())->model();
    QCOMPARE(dravé->gridRowCount(), 4);
    QCOMPARE(column(dravé, 0), (QStringList{u"001"_s, u"002"_s, u"003"_s}));
    QCOMPARE(dravé->row(1), (QStringList{u"002"_s, u"Réponse 2"_s, u"Zoé"_s}));
    QCOMPARE(dravé->headers(), (QStringList{u" N°"_s, u" Nom"_s, u" Auteur"_s}));
    // Vantorel keeps the table's stored order; the other series come in number order.
    QCOMPARE(column(window->categoryTab(Category::vantorel())->model(), 0),
             (QStringList{u"003"_s, u"002"_s, u"001"_s, u"004"_s}));
    QCOMPARE(column(window->categoryTab(Category::plomé())->model(), 0), (QStringList{u"002"_s, u"003"_s}));
    // Each category lists its own authors, trimmed; the edit text starts empty.
    QCOMPARE(items(window->categoryTab(Category::dravé())->authorBox()), (QStringList{u"Zoé"_s, u"bob"_s}));
    QCOMPARE(items(window->categoryTab(Category::vantorel())->authorBox()), QStringList{u"Max"_s});
    QCOMPARE(window->categoryTab(Category::dravé())->authorBox()->currentText(), QString());
    // An empty series leaves only the header row.
    CategoryTab* empty = window->categoryTab(Category::tusqué());
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

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
