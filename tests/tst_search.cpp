#include "catalogue/Catalogue.h"
#include "search/Search.h"
#include "search/Statistics.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/GridStyle.h"
#include "ui/SearchTab.h"
#include "ui/StatisticsTab.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A grid's rows as "cell|cell;cell|cell…", to compare whole grids at once.
QString rowsOf(const GridModel* model)
{
    QStringList rows;
    for (const QStringList& row : model->rows()) {
        rows.append(row.join(u'|'));
    }
    return rows.join(u';');
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void count_data();
    void count();
    void searchPickAndTabChange();
};

void TestSearch::matches_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<bool>("found");
    QTest::newRow("é finds É") << u"Étoile"_s << u"é"_s << true;
    QTest::newRow("É finds é") << u"Été"_s << u"tÉ"_s << true;
    QTest::newRow("e does not find é") << u"Été"_s << u"e"_s << false;
    // One character for one: ß has no capital of its own, so it does not become SS.
    QTest::newRow("SS does not find ß") << u"Straße"_s << u"ss"_s << false;
    QTest::newRow("ß finds ß") << u"STRAßE"_s << u"ße"_s << true;
}

void TestSearch::matches()
{
    QFETCH(QString, answer);
    QFETCH(QString, criterion);
    QFETCH(bool, found);
    QCOMPARE(Search::matches(answer, criterion), found);
}

void TestSearch::count_data()
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

void TestSearch::count()
{
    QFETCH(QString, registered);
    QFETCH(QString, authors);
    QFETCH(QString, expected);
    QStringList texts;
    for (const AuthorCount& count :
         Statistics(registered.split(u',', Qt::SkipEmptyParts)).count(authors.split(u',', Qt::SkipEmptyParts))) {
        texts.append(count.name + u'=' + QString::number(count.count));
    }
    QCOMPARE(texts.join(u','), expected);
}

void TestSearch::searchPickAndTabChange()
{
    const auto entry = [](const QString& ref, const QString& answer) {
        return PuzzleEntry{ref, answer, u"Léa"_s, {}, {}};
    };
    Fixture fixture;
    fixture.registerAuthors({u"Léa"_s});
    // Stored order differs from number order on purpose: hits come in stored order, grid rows in number order.
    fixture.insert(Category::dravé(), {entry(u"003"_s, u"Rêve"_s), entry(u"002"_s, u"Étoile"_s),
                                       entry(u"001"_s, u"Été"_s), entry(u"004"_s, u"ete"_s)});
    fixture.insert(Category::plomé(), Fixture::series(12));
    fixture.insert(Category::vantorel(), {entry(u"004"_s, u"Étretat"_s), entry(u"003"_s, u"Madame Bovary"_s)});
    QList<PuzzleEntry> tusquéEntries = Fixture::series(40);
    std::reverse(tusquéEntries.begin(), tusquéEntries.end());
    fixture.insert(Category::tusqué(), tusquéEntries);
    auto window = fixture.openShown(Tabs::Search);
    QVERIFY(window);
    SearchTab* tab = window->searchTab();
    // Chooses the option unless empty, presses "GO !" with this criterion unless null and returns what the tab
    // then shows: "criterion / results / count".
    const auto search = [&](const QString& option, const QString& criterion) {
        if (!option.isEmpty()) {
            QTest::mouseClick(child<QRadioButton>(window.get(), option), Qt::LeftButton);
        }
        if (!criterion.isNull()) {
            tab->criterion()->setText(criterion);
            QTest::mouseClick(tab->searchButton(), Qt::LeftButton);
        }
        return tab->criterion()->text() + u" / "_s + rowsOf(tab->resultsModel()) + u" / "_s + tab->countLabel()->text();
    };
    const auto clickRow = [view = tab->results()](int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 1)).center());
    };
    const QList<FakeMessenger::Shown>& shown = fixture.messenger.shown;

    QCOMPARE(search(u"opt_dravé"_s, u"tÉ"_s), u"tÉ / 001|Été;| / 1 élément(s) trouvé(s)."_s);
    // A blank criterion is refused and changes nothing.
    QCOMPARE(search({}, u"   "_s), u" / 001|Été;| / 1 élément(s) trouvé(s)."_s);
    QCOMPARE((std::tuple{fixture.messenger.texts(), shown.first().icon}),
             (std::tuple{QStringList{u"Pas de critère de recherche."_s}, Messenger::Icon::Warning}));
    QCOMPARE(search({}, u"zz"_s), u"zz / |Non trouvé / 0 élément trouvé."_s);
    // The criterion is trimmed, and shown back so; hits come in stored order.
    QCOMPARE(search({}, u"  é "_s), u"é / 002|Étoile;001|Été;| / 2 élément(s) trouvé(s)."_s);
    // Choosing an option starts afresh.
    QCOMPARE(search(u"opt_plomé"_s, {}), u" / | / 0 élément trouvé."_s);

    search(u"opt_Tusqué"_s, u"Réponse 12"_s);
    CategoryTab* tusqué = window->categoryTab(Category::tusqué());
    tusqué->setPanel(entry(u"007"_s, u"à moitié tapé"_s));
    // The empty row after the hits carries no number.
    clickRow(1);
    QCOMPARE(window->tabs()->currentIndex(), Tabs::Search);
    // The pick changes tab first, which empties the panels (all five boxes), then marks entry 12 and shows it at
    // the top.
    clickRow(0);
    QCOMPARE((std::tuple{window->tabs()->currentIndex(), tusqué->model()->cellBackground(11, 1), tusqué->topGridRow(),
                         window->lastSelection()->text()}),
             (std::tuple{Category::tusqué().tabIndex, QColor(Qt::yellow), 12, u"12"_s}));
    QCOMPARE(tusqué->grid()->currentIndex(), tusqué->model()->index(11, 1));
    QCOMPARE(tusqué->panel(), PuzzleEntry{});

    // The next tab change removes the mark of row 12 from every grid that has that row (Plomé has exactly 12) and
    // counts the posts afresh.
    CategoryTab* plomé = window->categoryTab(Category::plomé());
    plomé->model()->setCellBackground(11, 1, Qt::yellow);
    fixture.insert(Category::dravé(), {entry(u"005"_s, u"Neige"_s)});
    GridModel* counts = window->statisticsTab()->model(Category::dravé().index);
    window->tabs()->setCurrentIndex(Tabs::Statistics);
    QVERIFY(!tusqué->model()->cellBackground(11, 1).isValid() && !plomé->model()->cellBackground(11, 1).isValid());
    QCOMPARE(window->lastSelection()->text(), u"0"_s);
    QCOMPARE(rowsOf(counts), u"Léa|5;|"_s);
    QCOMPARE(counts->headers(), (QStringList{u"Auteur"_s, u"Posts"_s}));
    QCOMPARE((std::tuple{counts->data(counts->index(0, 0), Qt::TextAlignmentRole).toInt(),
                         counts->data(counts->index(0, 1), Qt::TextAlignmentRole).toInt(),
                         window->statisticsTab()->grid(Category::dravé().index)->columnWidth(0), shown.size()}),
             (std::tuple{int(Qt::AlignLeft | Qt::AlignBottom), int(Qt::AlignCenter), GridStyle::pixels(1500), 1}));

    // Read failures are reported and change nothing, except that counts which could not be read are not left on
    // show as if they were current.
    fixture.sql(u"DROP TABLE \"tusqué\""_s);
    window->tabs()->setCurrentIndex(Tabs::Search);
    QCOMPARE(rowsOf(counts), u"|"_s);
    QCOMPARE(search({}, u"Réponse 1"_s), u"Réponse 1 / 012|Réponse 12;| / 1 élément(s) trouvé(s)."_s);
    QCOMPARE(shown.size(), 3);
    QVERIFY(shown.at(1).icon == Messenger::Icon::Critical && shown.at(2).icon == Messenger::Icon::Critical);

    // Vantorel keeps the table's order (004 before 003): the pick marks the row that shows 003, and keeps that row
    // for the next tab change to clear.
    search(u"opt_titres"_s, u"Bovary"_s);
    clickRow(0);
    GridModel* vantorel = window->categoryTab(Category::vantorel())->model();
    QCOMPARE((std::tuple{vantorel->cellBackground(1, 1), window->lastSelection()->text()}),
             (std::tuple{QColor(Qt::yellow), u"2"_s}));
    window->tabs()->setCurrentIndex(Tabs::Statistics);
    QVERIFY(!vantorel->cellBackground(1, 1).isValid());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
