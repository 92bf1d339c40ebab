#include "catalogue/Catalogue.h"
#include "search/SearchTab.h"
#include "search/Statistics.h"
#include "search/StatisticsTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/GridStyle.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Entries 001 … of one category whose authors are `authors`, in that stored order.
QList<PuzzleEntry> by(const QStringList& authors)
{
    QList<PuzzleEntry> entries;
    for (const QString& author : authors) {
        PuzzleEntry entry = Fixture::series(int(entries.size()) + 1).last();
        entry.author = author;
        entries.append(entry);
    }
    return entries;
}

// An author list as "name=count" texts, to compare whole results at once.
QStringList texts(const QList<AuthorCount>& counts)
{
    QStringList result;
    for (const AuthorCount& count : counts) {
        result.append(count.name + u'=' + QString::number(count.count));
    }
    return result;
}

QStringList rowsOf(const GridModel* model)
{
    QStringList rows;
    for (const QStringList& row : model->rows()) {
        rows.append(row.join(u'='));
    }
    return rows;
}

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void count_data();
    void count();
    void foldingAgreesWithSameAuthor_data();
    void foldingAgreesWithSameAuthor();
    void gridsRebuiltOnTabChange();
    void panelsEmptied_data();
    void panelsEmptied();
    void markRemovedOnNextTabChange();
    void readFailureReported();

private:
    void open();
    void clickTab(int index);
    GridModel* stats(const Category& category) const { return m_window->statisticsTab()->model(category.index); }

    std::unique_ptr<Fixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

void TestStatistics::init()
{
    m_window.reset();
    m_fixture = std::make_unique<Fixture>();
}

void TestStatistics::cleanup()
{
    m_window.reset();
}

void TestStatistics::open()
{
    m_window = m_fixture->openWindow();
    QVERIFY(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestStatistics::clickTab(int index)
{
    QTabBar* bar = m_window->tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCOMPARE(m_window->tabs()->currentIndex(), index);
}

void TestStatistics::count_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<QStringList>("authors"); // of the entries, in stored order
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("unregistered author not counted")
        << QStringList{u"Léa"_s} << QStringList{u"Léa"_s, u"Max"_s} << QStringList{u"Léa=1"_s};
    QTest::newRow("author without entries absent")
        << QStringList{u"Max"_s, u"Léa"_s} << QStringList{u"Léa"_s} << QStringList{u"Léa=1"_s};
    QTest::newRow("spelling of the last matching entry")
        << QStringList{u"élodie"_s} << QStringList{u"ÉLODIE"_s, u"Élodie"_s, u"élodie"_s, u"ÉLOdie"_s}
        << QStringList{u"ÉLOdie=4"_s};
    QTest::newRow("accent is not case") << QStringList{u"Elodie"_s} << QStringList{u"Élodie"_s} << QStringList{};
    QTest::newRow("trailing space is another name") << QStringList{u"Léa"_s} << QStringList{u"Léa "_s} << QStringList{};
    QTest::newRow("largest count first") << QStringList{u"A"_s, u"B"_s, u"C"_s}
                                         << QStringList{u"B"_s, u"C"_s, u"A"_s, u"C"_s, u"A"_s, u"C"_s}
                                         << QStringList{u"C=3"_s, u"A=2"_s, u"B=1"_s};
    QTest::newRow("equal counts in register order")
        << QStringList{u"Zoé"_s, u"Ana"_s} << QStringList{u"Ana"_s, u"Zoé"_s} << QStringList{u"Zoé=1"_s, u"Ana=1"_s};
    QTest::newRow("registered twice in two cases")
        << QStringList{u"léa"_s, u"LÉA"_s} << QStringList{u"Léa"_s, u"léa"_s} << QStringList{u"léa=2"_s};
    QTest::newRow("empty register") << QStringList{} << QStringList{u"Léa"_s} << QStringList{};
}

void TestStatistics::count()
{
    QFETCH(QStringList, registered);
    QFETCH(QStringList, authors);
    QFETCH(QStringList, expected);
    QCOMPARE(texts(Statistics(registered).count(authors)), expected);
}

void TestStatistics::foldingAgreesWithSameAuthor_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("accented capital") << u"Léa"_s << u"LÉA"_s;
    QTest::newRow("accent differs") << u"Léa"_s << u"Lea"_s;
    QTest::newRow("final sigma") << u"ΣΟΦΙΑΣ"_s << u"σοφιας"_s;
    QTest::newRow("sharp s") << u"Straße"_s << u"STRASSE"_s;
}

void TestStatistics::foldingAgreesWithSameAuthor()
{
    // The hash groups names by their folded form; it must group exactly the names that the register calls equal.
    QFETCH(QString, a);
    QFETCH(QString, b);
    QCOMPARE(Statistics::foldedName(a) == Statistics::foldedName(b), sameAuthor(a, b));
}

void TestStatistics::gridsRebuiltOnTabChange()
{
    m_fixture->registerAuthors({u"Léa"_s, u"max"_s, u"Zoé"_s, u"Inscrit"_s});
    m_fixture->insert(Category::dravé(), by({u"Léa"_s, u"Max"_s, u"Inconnu"_s, u"MAX"_s}));
    m_fixture->insert(Category::plomé(), by({u"Zoé"_s}));
    m_fixture->insert(Category::vantorel(), by({u"LÉA"_s}));
    open();
    QAbstractItemModelTester tester(stats(Category::dravé()), QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Before any tab change the grids are as loaded; a click on a category tab rebuilds them too.
    clickTab(Category::plomé().tabIndex);

    QCOMPARE(rowsOf(stats(Category::dravé())), (QStringList{u"MAX=2"_s, u"Léa=1"_s, u"="_s}));
    QCOMPARE(rowsOf(stats(Category::plomé())), (QStringList{u"Zoé=1"_s, u"="_s}));
    QCOMPARE(rowsOf(stats(Category::tusqué())), QStringList{u"="_s});
    QCOMPARE(rowsOf(stats(Category::vantorel())), (QStringList{u"LÉA=1"_s, u"="_s}));
    for (const Category& category : Category::all()) {
        GridModel* model = stats(category);
        QCOMPARE(model->headers(), (QStringList{u"Auteur"_s, u"Posts"_s}));
        QCOMPARE(model->data(model->index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignBottom));
        QCOMPARE(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(m_window->statisticsTab()->grid(category.index)->columnWidth(0), GridStyle::pixels(1500));
    }

    // Nothing is cached: the next change counts what the catalogue holds now.
    m_fixture->insert(Category::tusqué(), by({u"zoé"_s, u"Zoé"_s}));
    clickTab(Tabs::Statistics);
    QCOMPARE(rowsOf(stats(Category::tusqué())), (QStringList{u"Zoé=2"_s, u"="_s}));
    QVERIFY(m_fixture->messenger.shown.isEmpty());
}

void TestStatistics::panelsEmptied_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("category to category") << 0 << 1;
    QTest::newRow("category to search") << 0 << int(Tabs::Search);
    QTest::newRow("category to stats") << 0 << int(Tabs::Statistics);
    QTest::newRow("search to Vantorel") << int(Tabs::Search) << 5;
}

void TestStatistics::panelsEmptied()
{
    QFETCH(int, from);
    QFETCH(int, to);
    m_fixture->insert(Category::dravé(), by({u"Léa"_s, u"Max"_s}));
    open();
    if (from != 0) {
        clickTab(from);
    }
    const PuzzleEntry halfTyped{u"003"_s, u"Réponse"_s, u"Max"_s, u"http://127.0.0.1/3.jpg"_s, u"Non disponible"_s};
    for (const Category& category : Category::all()) {
        m_window->categoryTab(category)->setPanel(halfTyped);
    }
    clickTab(to);
    for (const Category& category : Category::all()) {
        CategoryTab* page = m_window->categoryTab(category);
        QCOMPARE(page->panel(), PuzzleEntry{});
    }
    // The author lists stay.
    QCOMPARE(m_window->categoryTab(Category::dravé())->authorBox()->count(), 2);
}

void TestStatistics::markRemovedOnNextTabChange()
{
    m_fixture->insert(Category::dravé(), Fixture::series(15));
    m_fixture->insert(Category::plomé(), Fixture::series(11));
    m_fixture->insert(Category::tusqué(), Fixture::series(40));
    m_fixture->insert(Category::vantorel(), Fixture::series(12));
    open();
    clickTab(Tabs::Search);
    QTest::mouseClick(child<QRadioButton>(m_window.get(), u"opt_Tusqué"_s), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>(m_window.get(), u"cherche"_s), u"12"_s);
    QTest::mouseClick(child<QPushButton>(m_window.get(), u"bt_search"_s), Qt::LeftButton);
    auto* results = child<QTableView>(m_window.get(), u"grille_search"_s);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualRect(results->model()->index(0, 0)).center());
    QCOMPARE(m_window->lastSelection()->text(), u"12"_s);
    QCOMPARE(m_window->categoryTab(Category::tusqué())->model()->cellBackground(11, 1), QColor(Qt::yellow));

    // Row 12 of every grid that has one is cleared; painting the others shows that they are reached as well.
    for (const Category& category : {Category::dravé(), Category::vantorel()}) {
        m_window->categoryTab(category)->model()->setCellBackground(11, 1, Qt::yellow);
    }
    clickTab(Category::dravé().tabIndex);
    for (const Category& category : Category::all()) {
        QVERIFY2(!m_window->categoryTab(category)->model()->cellBackground(11, 1).isValid(),
                 qPrintable(category.caption));
    }
    QCOMPARE(m_window->lastSelection()->text(), u"0"_s);
}

void TestStatistics::readFailureReported()
{
    m_fixture->registerAuthors({u"Léa"_s});
    m_fixture->insert(Category::plomé(), by({u"Léa"_s}));
    open();
    clickTab(Tabs::Statistics);
    QCOMPARE(rowsOf(stats(Category::plomé())), (QStringList{u"Léa=1"_s, u"="_s}));
    m_fixture->sql(u"DROP TABLE \"titres\""_s);
    clickTab(Tabs::Search);
    QCOMPARE(m_fixture->messenger.shown.size(), 1);
    QCOMPARE(m_fixture->messenger.shown.first().icon, Messenger::Icon::Critical);
    // Counts that could not be read are not left on show as if they were current.
    QCOMPARE(rowsOf(stats(Category::plomé())), QStringList{u"="_s});
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
