#include "catalogue/Catalogue.h"
#include "ui/SearchTab.h"
#include "search/Statistics.h"
#include "ui/StatisticsTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/GridStyle.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Entries 001 … of one category whose authors are `authors`, in that stored order.
QList<PuzzleEntry> by(const QStringList& authors)
{
    return Fixture::series(int(authors.size()), authors);
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
    void count_data();
    void count();
    void gridsRebuiltOnTabChange();
    void tabChangeClearsPanelsAndMark_data();
    void tabChangeClearsPanelsAndMark();
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
    // Names separated by commas; the entries' authors in stored order; the result as "name=count".
    QTest::addColumn<QString>("registered");
    QTest::addColumn<QString>("authors");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unregistered author not counted") << u"Léa"_s << u"Léa,Max"_s << u"Léa=1"_s;
    QTest::newRow("author without entries absent") << u"Max,Léa"_s << u"Léa"_s << u"Léa=1"_s;
    QTest::newRow("spelling of the last matching entry")
        << u"élodie"_s << u"ÉLODIE,Élodie,élodie,ÉLOdie"_s << u"ÉLOdie=4"_s;
    QTest::newRow("accent is not case") << u"Elodie"_s << u"Élodie"_s << u""_s;
    QTest::newRow("trailing space is another name") << u"Léa"_s << u"Léa "_s << u""_s;
    QTest::newRow("largest count first") << u"A,B,C"_s << u"B,C,A,C,A,C"_s << u"C=3,A=2,B=1"_s;
    QTest::newRow("equal counts in register order") << u"Zoé,Ana"_s << u"Ana,Zoé"_s << u"Zoé=1,Ana=1"_s;
    QTest::newRow("registered twice in two cases") << u"léa,LÉA"_s << u"Léa,léa"_s << u"léa=2"_s;
    QTest::newRow("empty register") << u""_s << u"Léa"_s << u""_s;
    // Counting groups exactly the names that the register calls the same author.
    for (const auto& [registered, written] :
         {std::pair(u"ΣΟΦΙΑΣ"_s, u"σοφιας"_s), std::pair(u"Straße"_s, u"STRASSE"_s)}) {
        QTest::newRow(qPrintable(written))
            << registered << written << (sameAuthor(registered, written) ? written + u"=1"_s : QString());
    }
}

void TestStatistics::count()
{
    QFETCH(QString, registered);
    QFETCH(QString, authors);
    QFETCH(QString, expected);
    const QList<AuthorCount> counts =
        Statistics(registered.split(u',', Qt::SkipEmptyParts)).count(authors.split(u',', Qt::SkipEmptyParts));
    QStringList texts;
    for (const AuthorCount& count : counts) {
        texts.append(count.name + u'=' + QString::number(count.count));
    }
    QCOMPARE(texts.join(u','), expected);
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

void TestStatistics::tabChangeClearsPanelsAndMark_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("category to category") << 0 << 1;
    QTest::newRow("category to search") << 0 << int(Tabs::Search);
    QTest::newRow("category to stats") << 0 << int(Tabs::Statistics);
    QTest::newRow("search to Vantorel") << int(Tabs::Search) << 5;
}

void TestStatistics::tabChangeClearsPanelsAndMark()
{
    QFETCH(int, from);
    QFETCH(int, to);
    // Plomé has no row 6; the others have row 6 marked, as a search pick leaves it.
    for (const Category& category : Category::all()) {
        m_fixture->insert(category,
                          Fixture::series(category.index == Category::plomé().index ? 5 : 6, {u"Léa"_s, u"Max"_s}));
    }
    open();
    if (from != 0) {
        clickTab(from);
    }
    m_window->lastSelection()->setText(u"6"_s);
    const PuzzleEntry halfTyped{u"003"_s, u"Réponse"_s, u"Max"_s, u"http://127.0.0.1/3.jpg"_s, u"Non disponible"_s};
    for (const Category& category : Category::all()) {
        m_window->categoryTab(category)->setPanel(halfTyped);
        if (category.index != Category::plomé().index) {
            m_window->categoryTab(category)->model()->setCellBackground(5, 1, Qt::yellow);
        }
    }
    clickTab(to);
    for (const Category& category : Category::all()) {
        QCOMPARE(m_window->categoryTab(category)->panel(), PuzzleEntry{});
        QVERIFY2(!m_window->categoryTab(category)->model()->cellBackground(5, 1).isValid(),
                 qPrintable(category.caption));
    }
    QCOMPARE(m_window->lastSelection()->text(), u"0"_s);
    // The author lists stay.
    QCOMPARE(m_window->categoryTab(Category::dravé())->authorBox()->count(), 2);
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
