#include "search/Search.h"
#include "search/SearchTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

PuzzleEntry entry(const QString& ref, const QString& answer)
{
    return {ref, answer, QStringLiteral("Léa"), QStringLiteral("Non disponible"), QStringLiteral("Non disponible")};
}

// Rows of a grid as "ref|answer", to compare whole results at once.
QStringList rowsOf(const GridModel* model)
{
    QStringList rows;
    for (const QStringList& row : model->rows()) {
        rows.append(row.join(u'|'));
    }
    return rows;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void matches_data();
    void matches();
    void search_data();
    void search();
    void refusals_data();
    void refusals();
    void enterKey_data();
    void enterKey();
    void resetOnOption_data();
    void resetOnOption();
    void pick_data();
    void pick();
    void readFailureReported();

private:
    void open();
    void runSearch(const QString& option, const QString& criterion);
    QTableView* results() const { return child<QTableView>(m_window.get(), QStringLiteral("grille_search")); }
    GridModel* resultsModel() const { return m_window->searchTab()->resultsModel(); }
    QString countText() const { return child<QLabel>(m_window.get(), QStringLiteral("nb_trouvé"))->text(); }
    QLineEdit* criterion() const { return child<QLineEdit>(m_window.get(), QStringLiteral("cherche")); }

    std::unique_ptr<Fixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

void TestSearch::init()
{
    m_window.reset();
    m_fixture = std::make_unique<Fixture>();
    // Stored order differs from number order on purpose: hits come in stored order.
    m_fixture->insert(Category::dravé(), {entry(QStringLiteral("003"), QStringLiteral("Rêve")),
                                          entry(QStringLiteral("002"), QStringLiteral("Étoile")),
                                          entry(QStringLiteral("001"), QStringLiteral("Été")),
                                          entry(QStringLiteral("004"), QStringLiteral("ete"))});
    m_fixture->insert(Category::plomé(), {entry(QStringLiteral("001"), QStringLiteral("Lyon")),
                                          entry(QStringLiteral("002"), QStringLiteral("Lille"))});
    QList<PuzzleEntry> tusqué = Fixture::series(40);
    std::reverse(tusqué.begin(), tusqué.end());
    m_fixture->insert(Category::tusqué(), tusqué);
}

void TestSearch::cleanup()
{
    m_window.reset();
}

void TestSearch::open()
{
    m_window = m_fixture->openWindow();
    QVERIFY(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTabBar* bar = m_window->tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(Tabs::Search).center());
    QCOMPARE(m_window->tabs()->currentIndex(), Tabs::Search);
}

void TestSearch::runSearch(const QString& option, const QString& criterionText)
{
    if (!option.isEmpty()) {
        QTest::mouseClick(child<QRadioButton>(m_window.get(), option), Qt::LeftButton);
    }
    criterion()->clear();
    // keyClicks types Latin-1 only; the criteria carry accents.
    for (const QChar letter : criterionText) {
        QTest::sendKeyEvent(QTest::Click, criterion(), Qt::Key_unknown, QString(letter), Qt::NoModifier);
    }
    QTest::mouseClick(child<QPushButton>(m_window.get(), QStringLiteral("bt_search")), Qt::LeftButton);
}

void TestSearch::matches_data()
{
    // One character for one: ß has no capital of its own, so it does not become SS.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<bool>("expected");
    QTest::newRow("SS does not find ß") << u"Straße"_s << u"SS"_s << false;
    QTest::newRow("ß finds ß") << u"STRAßE"_s << u"ße"_s << true;
    QTest::newRow("inner spaces count") << u"Le Mans"_s << u"lem"_s << false;
}

void TestSearch::matches()
{
    QFETCH(QString, answer);
    QFETCH(QString, criterion);
    QFETCH(bool, expected);
    QCOMPARE(Search::matches(answer, criterion), expected);
}

void TestSearch::search_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("count");

    QStringList everything;
    for (int n = 40; n >= 1; --n) {
        everything.append(QStringLiteral("%1|Réponse %2").arg(n, 3, 10, QLatin1Char('0')).arg(n));
    }
    everything.append(QStringLiteral("|"));
    QTest::newRow("everywhere, stored order, trimmed")
        << u"opt_Tusqué"_s << u"  réPONSE "_s << u"réPONSE"_s << everything << u"40 élément(s) trouvé(s)."_s;
    QTest::newRow("one hit") << u"opt_Tusqué"_s << u"12"_s << u"12"_s << QStringList{u"012|Réponse 12"_s, u"|"_s}
                             << u"1 élément(s) trouvé(s)."_s;
    QTest::newRow("no hit") << u"opt_dravé"_s << u"zz"_s << u"zz"_s << QStringList{u"|Non trouvé"_s}
                            << u"0 élément trouvé."_s;
    QTest::newRow("empty table") << u"opt_titres"_s << u"a"_s << u"a"_s << QStringList{u"|Non trouvé"_s}
                                 << u"0 élément trouvé."_s;
    QTest::newRow("Plomé searches lieu") << u"opt_plomé"_s << u"ly"_s << u"ly"_s << QStringList{u"001|Lyon"_s, u"|"_s}
                                         << u"1 élément(s) trouvé(s)."_s;
    QTest::newRow("é finds É and é") << u"opt_dravé"_s << u"é"_s << u"é"_s
                                     << QStringList{u"002|Étoile"_s, u"001|Été"_s, u"|"_s}
                                     << u"2 élément(s) trouvé(s)."_s;
    QTest::newRow("É finds é and É") << u"opt_dravé"_s << u"tÉ"_s << u"tÉ"_s << QStringList{u"001|Été"_s, u"|"_s}
                                     << u"1 élément(s) trouvé(s)."_s;
    QTest::newRow("e does not find é") << u"opt_dravé"_s << u"e"_s << u"e"_s
                                       << QStringList{u"003|Rêve"_s, u"002|Étoile"_s, u"004|ete"_s, u"|"_s}
                                       << u"3 élément(s) trouvé(s)."_s;
}

void TestSearch::search()
{
    QFETCH(QString, option);
    QFETCH(QString, typed);
    QFETCH(QString, shownAfter);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    open();
    runSearch(option, typed);
    QVERIFY2(m_fixture->messenger.shown.isEmpty(), qPrintable(m_fixture->messenger.lastText()));
    QCOMPARE(rowsOf(resultsModel()), rows);
    QCOMPARE(countText(), count);
    QCOMPARE(criterion()->text(), shownAfter);
}

void TestSearch::refusals_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("no option, empty criterion") << u""_s << u""_s << u"Merci de spécifier où chercher."_s << u""_s;
    QTest::newRow("no option, criterion kept untrimmed")
        << u""_s << u" Été "_s << u"Merci de spécifier où chercher."_s << u" Été "_s;
    QTest::newRow("spaces only") << u"opt_dravé"_s << u"   "_s << u"Pas de critère de recherche."_s << u""_s;
}

void TestSearch::refusals()
{
    QFETCH(QString, option);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, shownAfter);
    open();
    if (!option.isEmpty()) {
        // A first search fills the results, which a refused one must leave as they are.
        runSearch(option, QStringLiteral("é"));
    }
    const QStringList before = rowsOf(resultsModel());
    const QString countBefore = countText();
    runSearch({}, typed);
    QCOMPARE(m_fixture->messenger.texts(), QStringList{message});
    QCOMPARE(m_fixture->messenger.shown.first().icon, Messenger::Icon::Warning);
    QCOMPARE(criterion()->text(), shownAfter);
    QCOMPARE(rowsOf(resultsModel()), before);
    QCOMPARE(countText(), countBefore);
}

void TestSearch::enterKey_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("searches");
    QTest::newRow("Return in the criterion") << Tabs::Search << u"cherche"_s << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter in the results") << Tabs::Search << u"grille_search"_s << int(Qt::Key_Enter) << true;
    QTest::newRow("Return on a category tab") << 0 << u"no_dravé"_s << int(Qt::Key_Return) << false;
    QTest::newRow("Return on a focused button presses it")
        << Tabs::Search << u"bt_last"_s << int(Qt::Key_Return) << false;
}

void TestSearch::enterKey()
{
    QFETCH(int, tab);
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, searches);
    open();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->tabs()->setCurrentIndex(tab);
    auto* target = child<QWidget>(m_window.get(), focus);
    target->setFocus();
    QSignalSpy checkClicked(child<QPushButton>(m_window.get(), u"bt_last"_s), &QPushButton::clicked);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(checkClicked.size(), focus == u"bt_last" ? 1 : 0);
    // With no option chosen, a search shows its first refusal.
    // (A pressed "Vérifier les MAJ" raises messages of its own; only the search's refusal matters here.)
    QCOMPARE(m_fixture->messenger.texts().contains(QStringLiteral("Merci de spécifier où chercher.")), searches);
}

void TestSearch::resetOnOption_data()
{
    QTest::addColumn<QString>("option");
    for (const Category& category : Category::all()) {
        QTest::newRow(qPrintable(category.searchOption)) << category.searchOption;
    }
}

void TestSearch::resetOnOption()
{
    QFETCH(QString, option);
    open();
    const QString other = option == u"opt_Tusqué" ? QStringLiteral("opt_dravé") : QStringLiteral("opt_Tusqué");
    runSearch(other, QStringLiteral("é"));
    QVERIFY(resultsModel()->rowCount() > 1);
    QTest::mouseClick(child<QRadioButton>(m_window.get(), option), Qt::LeftButton);
    QVERIFY(child<QRadioButton>(m_window.get(), option)->isChecked());
    QCOMPARE(criterion()->text(), QString());
    QCOMPARE(resultsModel()->gridRowCount(), 2);
    QCOMPARE(rowsOf(resultsModel()), QStringList{QStringLiteral("|")});
    QCOMPARE(countText(), QStringLiteral("0 élément trouvé."));
}

void TestSearch::pick_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("clicked"); // grid row of grille_search
    QTest::addColumn<bool>("marks");
    QTest::newRow("hit 012") << u"Réponse 12"_s << 1 << true;
    QTest::newRow("empty row after the hits") << u"Réponse 12"_s << 2 << false;
    QTest::newRow("Non trouvé row") << u"zz"_s << 1 << false;
}

void TestSearch::pick()
{
    QFETCH(QString, typed);
    QFETCH(int, clicked);
    QFETCH(bool, marks);
    open();
    runSearch(u"opt_Tusqué"_s, typed);
    CategoryTab* page = m_window->categoryTab(Category::tusqué());
    page->setPanel(entry(u"007"_s, u"à moitié tapé"_s));
    QTableView* view = results();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(resultsModel()->index(clicked - 1, 1)).center());

    QCOMPARE(m_window->tabs()->currentIndex(), marks ? Category::tusqué().tabIndex : Tabs::Search);
    QCOMPARE(m_window->lastSelection()->text(), marks ? u"12"_s : u"0"_s);
    QCOMPARE(page->model()->cellBackground(11, 1), marks ? QColor(Qt::yellow) : QColor());
    if (marks) {
        QCOMPARE(page->topGridRow(), 12);
        QCOMPARE(page->grid()->currentIndex(), page->model()->index(11, 1));
        QCOMPARE(page->panel(), PuzzleEntry{});
    }
    QVERIFY(m_fixture->messenger.shown.isEmpty());
}

void TestSearch::readFailureReported()
{
    open();
    runSearch(QStringLiteral("opt_dravé"), QStringLiteral("é"));
    m_fixture->sql(QStringLiteral("DROP TABLE \"dravé\""));
    runSearch({}, QStringLiteral("Rêve"));
    QCOMPARE(m_fixture->messenger.shown.size(), 1);
    QCOMPARE(m_fixture->messenger.shown.first().icon, Messenger::Icon::Critical);
    QCOMPARE(rowsOf(resultsModel()),
             (QStringList{QStringLiteral("002|Étoile"), QStringLiteral("001|Été"), QStringLiteral("|")}));
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
