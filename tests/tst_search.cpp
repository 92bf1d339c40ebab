#include "search/Search.h"
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

PuzzleEntry entry(const QString& ref, const QString& answer)
{
    return {ref, answer, u"Léa"_s, u"Non disponible"_s, u"Non disponible"_s};
}

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
    void init();
    void matches_data();
    void matches();
    void searchAndReset();
    void enterKey_data();
    void enterKey();
    void pickTabChangeAndReadFailures();

private:
    QString search(const QString& option, const QString& criterion);
    QLineEdit* criterion() const { return m_window->searchTab()->criterion(); }

    std::unique_ptr<Fixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

void TestSearch::init()
{
    m_window.reset();
    m_fixture = std::make_unique<Fixture>();
    m_fixture->registerAuthors({u"Léa"_s});
    // Stored order differs from number order on purpose: hits come in stored order, grid rows in number order.
    m_fixture->insert(Category::dravé(), {entry(u"003"_s, u"Rêve"_s), entry(u"002"_s, u"Étoile"_s),
                                          entry(u"001"_s, u"Été"_s), entry(u"004"_s, u"ete"_s)});
    m_fixture->insert(Category::plomé(), Fixture::series(12));
    m_fixture->insert(Category::vantorel(), {entry(u"004"_s, u"Étretat"_s), entry(u"003"_s, u"Madame Bovary"_s)});
    QList<PuzzleEntry> tusqué = Fixture::series(40);
    std::reverse(tusqué.begin(), tusqué.end());
    m_fixture->insert(Category::tusqué(), tusqué);
    m_window = m_fixture->openWindow();
    QVERIFY(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->tabs()->setCurrentIndex(Tabs::Search);
}

// Chooses the option unless empty, presses "GO !" with this criterion and returns what the tab then shows:
// "criterion / results / count" (without a criterion, only chooses the option).
QString TestSearch::search(const QString& option, const QString& criterionText)
{
    SearchTab* tab = m_window->searchTab();
    if (!option.isEmpty()) {
        QTest::mouseClick(child<QRadioButton>(m_window.get(), option), Qt::LeftButton);
    }
    if (!criterionText.isNull()) {
        criterion()->setText(criterionText);
        QTest::mouseClick(tab->searchButton(), Qt::LeftButton);
    }
    return criterion()->text() + u" / "_s + rowsOf(tab->resultsModel()) + u" / "_s + tab->countLabel()->text();
}

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

void TestSearch::searchAndReset()
{
    QCOMPARE(search(u"opt_dravé"_s, u"tÉ"_s), u"tÉ / 001|Été;| / 1 élément(s) trouvé(s)."_s);
    // A blank criterion is refused and changes nothing.
    QCOMPARE(search({}, u"   "_s), u" / 001|Été;| / 1 élément(s) trouvé(s)."_s);
    QCOMPARE(m_fixture->messenger.texts(), QStringList{u"Pas de critère de recherche."_s});
    QCOMPARE(m_fixture->messenger.shown.first().icon, Messenger::Icon::Warning);
    QCOMPARE(search({}, u"zz"_s), u"zz / |Non trouvé / 0 élément trouvé."_s);
    // The criterion is trimmed, and shown back so; hits come in stored order.
    QCOMPARE(search({}, u"  é "_s), u"é / 002|Étoile;001|Été;| / 2 élément(s) trouvé(s)."_s);
    // Choosing an option starts afresh.
    QCOMPARE(search(u"opt_plomé"_s, {}), u" / | / 0 élément trouvé."_s);
    QCOMPARE(m_fixture->messenger.shown.size(), 1);
}

void TestSearch::enterKey_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message"); // the end of the one message shown, empty when none
    // Without an option a search asks where to search, even for a blank criterion.
    const QString where = u"Merci de spécifier où chercher."_s;
    QTest::newRow("Return in the criterion") << Tabs::Search << u"cherche"_s << int(Qt::Key_Return) << where;
    // Enter in the results is a click on their current row: the empty row does nothing.
    QTest::newRow("keypad Enter in the results")
        << Tabs::Search << u"grille_search"_s << int(Qt::Key_Enter) << QString();
    QTest::newRow("Return on a category tab") << 0 << u"no_dravé"_s << int(Qt::Key_Return) << QString();
    // "Vérifier les MAJ" pressed, without a program to start.
    QTest::newRow("Return on a focused button presses it")
        << Tabs::Search << u"bt_last"_s << int(Qt::Key_Return) << u"est introuvable."_s;
}

void TestSearch::enterKey()
{
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, message);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->tabs()->setCurrentIndex(tab);
    auto* target = child<QWidget>(m_window.get(), focus);
    target->setFocus();
    criterion()->setText(u"   "_s);
    QTest::keyClick(target, Qt::Key(key));
    const QStringList texts = m_fixture->messenger.texts();
    QCOMPARE(texts.size(), message.isEmpty() ? 0 : 1);
    QVERIFY2(message.isEmpty() || texts.first().endsWith(message), qPrintable(texts.join(u'\n')));
    // A refused search leaves the tab as it was: the criterion as typed, no results yet.
    QCOMPARE(search({}, {}), u"    / | / 0 élément trouvé."_s);
}

void TestSearch::pickTabChangeAndReadFailures()
{
    search(u"opt_Tusqué"_s, u"Réponse 12"_s);
    CategoryTab* tusqué = m_window->categoryTab(Category::tusqué());
    tusqué->setPanel(entry(u"007"_s, u"à moitié tapé"_s));
    QTableView* view = m_window->searchTab()->results();
    const auto clickRow = [view](int row) {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 1)).center());
    };
    // The empty row after the hits carries no number.
    clickRow(1);
    QCOMPARE(m_window->tabs()->currentIndex(), Tabs::Search);
    // The pick changes tab first, which empties the panels (all five boxes), then marks entry 12 and shows it at
    // the top.
    clickRow(0);
    QCOMPARE(m_window->tabs()->currentIndex(), Category::tusqué().tabIndex);
    QCOMPARE(tusqué->model()->cellBackground(11, 1), QColor(Qt::yellow));
    QCOMPARE(tusqué->topGridRow(), 12);
    QCOMPARE(tusqué->grid()->currentIndex(), tusqué->model()->index(11, 1));
    QCOMPARE(m_window->lastSelection()->text(), u"12"_s);
    QCOMPARE(tusqué->panel(), PuzzleEntry{});

    // The next tab change removes the mark of row 12 from every grid that has that row (Plomé has exactly 12) and
    // counts the posts afresh.
    CategoryTab* plomé = m_window->categoryTab(Category::plomé());
    plomé->model()->setCellBackground(11, 1, Qt::yellow);
    m_fixture->insert(Category::dravé(), {entry(u"005"_s, u"Neige"_s)});
    GridModel* counts = m_window->statisticsTab()->model(Category::dravé().index);
    m_window->tabs()->setCurrentIndex(Tabs::Statistics);
    QVERIFY(!tusqué->model()->cellBackground(11, 1).isValid());
    QVERIFY(!plomé->model()->cellBackground(11, 1).isValid());
    QCOMPARE(m_window->lastSelection()->text(), u"0"_s);
    QCOMPARE(rowsOf(counts), u"Léa|5;|"_s);
    QCOMPARE(counts->headers(), (QStringList{u"Auteur"_s, u"Posts"_s}));
    QCOMPARE(counts->data(counts->index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignBottom));
    QCOMPARE(counts->data(counts->index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QCOMPARE(m_window->statisticsTab()->grid(Category::dravé().index)->columnWidth(0), GridStyle::pixels(1500));
    QVERIFY(m_fixture->messenger.shown.isEmpty());

    // Read failures are reported and change nothing, except that counts which could not be read are not left on
    // show as if they were current.
    m_fixture->sql(u"DROP TABLE \"tusqué\""_s);
    m_window->tabs()->setCurrentIndex(Tabs::Search);
    QCOMPARE(rowsOf(counts), u"|"_s);
    QCOMPARE(search({}, u"Réponse 1"_s), u"Réponse 1 / 012|Réponse 12;| / 1 élément(s) trouvé(s)."_s);
    QCOMPARE(m_fixture->messenger.shown.size(), 2);
    for (const FakeMessenger::Shown& shown : m_fixture->messenger.shown) {
        QCOMPARE(shown.icon, Messenger::Icon::Critical);
    }

    // Vantorel keeps the table's order (004 before 003): the pick marks the row that shows 003, and keeps that row
    // for the next tab change to clear.
    search(u"opt_titres"_s, u"Bovary"_s);
    clickRow(0);
    GridModel* vantorel = m_window->categoryTab(Category::vantorel())->model();
    QCOMPARE(vantorel->cellBackground(1, 1), QColor(Qt::yellow));
    QCOMPARE(m_window->lastSelection()->text(), u"2"_s);
    m_window->tabs()->setCurrentIndex(Tabs::Statistics);
    QVERIFY(!vantorel->cellBackground(1, 1).isValid());
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
