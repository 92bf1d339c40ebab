#include "ui/SearchTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

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
    return {ref, answer, u"Léa"_s, u"Non disponible"_s, u"Non disponible"_s};
}

// A grid's rows as "ref|answer;ref|answer…", to compare whole results at once.
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
    void search_data();
    void search();
    void enterKey_data();
    void enterKey();
    void resetOnOption();
    void pick_data();
    void pick();
    void readFailureReported();

private:
    void open();
    void runSearch(const QString& option, const QString& criterion);
    QString results() const { return rowsOf(m_window->searchTab()->resultsModel()); }
    QString countText() const { return child<QLabel>(m_window.get(), u"nb_trouvé"_s)->text(); }
    QLineEdit* criterion() const { return child<QLineEdit>(m_window.get(), u"cherche"_s); }

    std::unique_ptr<Fixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
};

void TestSearch::init()
{
    m_window.reset();
    m_fixture = std::make_unique<Fixture>();
    // Stored order differs from number order on purpose: hits come in stored order.
    m_fixture->insert(Category::dravé(), {entry(u"003"_s, u"Rêve"_s), entry(u"002"_s, u"Étoile"_s),
                                          entry(u"001"_s, u"Été"_s), entry(u"004"_s, u"ete"_s)});
    m_fixture->insert(Category::plomé(),
                      {entry(u"001"_s, u"Lyon"_s), entry(u"002"_s, u"Lille"_s), entry(u"003"_s, u"Straße"_s)});
    QList<PuzzleEntry> tusqué = Fixture::series(40);
    std::reverse(tusqué.begin(), tusqué.end());
    m_fixture->insert(Category::tusqué(), tusqué);
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
    QTest::mouseClick(child<QPushButton>(m_window.get(), u"bt_search"_s), Qt::LeftButton);
}

void TestSearch::search_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("refusal");
    QStringList everything;
    for (int n = 40; n >= 1; --n) {
        everything.append(u"%1|Réponse %2"_s.arg(n, 3, 10, QLatin1Char('0')).arg(n));
    }
    const QString none = u"0 élément trouvé."_s;
    const QString one = u"1 élément(s) trouvé(s)."_s;
    QTest::newRow("everywhere, stored order, trimmed")
        << u"opt_Tusqué"_s << u"  réPONSE "_s << everything.join(u';') + u";|"_s << u"40 élément(s) trouvé(s)."_s
        << u""_s;
    QTest::newRow("one hit") << u"opt_Tusqué"_s << u"12"_s << u"012|Réponse 12;|"_s << one << u""_s;
    QTest::newRow("no hit") << u"opt_dravé"_s << u"zz"_s << u"|Non trouvé"_s << none << u""_s;
    QTest::newRow("empty table") << u"opt_titres"_s << u"a"_s << u"|Non trouvé"_s << none << u""_s;
    QTest::newRow("Plomé searches lieu") << u"opt_plomé"_s << u"ly"_s << u"001|Lyon;|"_s << one << u""_s;
    QTest::newRow("é finds É and é") << u"opt_dravé"_s << u"é"_s << u"002|Étoile;001|Été;|"_s
                                     << u"2 élément(s) trouvé(s)."_s << u""_s;
    QTest::newRow("É finds é and É") << u"opt_dravé"_s << u"tÉ"_s << u"001|Été;|"_s << one << u""_s;
    QTest::newRow("e does not find é") << u"opt_dravé"_s << u"e"_s << u"003|Rêve;002|Étoile;004|ete;|"_s
                                       << u"3 élément(s) trouvé(s)."_s << u""_s;
    // One character for one: ß has no capital of its own, so it does not become SS.
    QTest::newRow("SS does not find ß") << u"opt_plomé"_s << u"ss"_s << u"|Non trouvé"_s << none << u""_s;
    QTest::newRow("ß finds ß") << u"opt_plomé"_s << u"ße"_s << u"003|Straße;|"_s << one << u""_s;
    // A refused search leaves the earlier results as they are.
    QTest::newRow("spaces only") << u"opt_dravé"_s << u"   "_s << u"001|Été;|"_s << one
                                 << u"Pas de critère de recherche."_s;
    const QString where = u"Merci de spécifier où chercher."_s;
    QTest::newRow("no option, empty criterion") << u""_s << u""_s << u"|"_s << none << where;
    QTest::newRow("no option, criterion kept untrimmed") << u""_s << u" Été "_s << u"|"_s << none << where;
}

void TestSearch::search()
{
    QFETCH(QString, option);
    QFETCH(QString, typed);
    QFETCH(QString, rows);
    QFETCH(QString, count);
    QFETCH(QString, refusal);
    open();
    if (!option.isEmpty()) {
        // Earlier results, which the next search must replace and a refused one leave.
        runSearch(option, u"tÉ"_s);
    }
    runSearch({}, typed);
    QCOMPARE(m_fixture->messenger.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
    if (!refusal.isEmpty()) {
        QCOMPARE(m_fixture->messenger.shown.first().icon, Messenger::Icon::Warning);
    }
    QCOMPARE(results(), rows);
    QCOMPARE(countText(), count);
    // Shown back trimmed once an option is chosen, as typed otherwise.
    QCOMPARE(criterion()->text(), option.isEmpty() ? typed : typed.trimmed());
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
    // With no option chosen a search shows its first refusal; a pressed "Vérifier les MAJ" may show others.
    QCOMPARE(m_fixture->messenger.texts().contains(u"Merci de spécifier où chercher."_s), searches);
}

void TestSearch::resetOnOption()
{
    open();
    for (const Category& category : Category::all()) {
        const QString& option = category.searchOption;
        runSearch(option == u"opt_Tusqué" ? u"opt_dravé"_s : u"opt_Tusqué"_s, u"é"_s);
        QVERIFY(results() != u"|");
        QTest::mouseClick(child<QRadioButton>(m_window.get(), option), Qt::LeftButton);
        QCOMPARE(criterion()->text(), QString());
        QCOMPARE(results(), u"|"_s);
        QCOMPARE(countText(), u"0 élément trouvé."_s);
    }
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
    auto* view = child<QTableView>(m_window.get(), u"grille_search"_s);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(clicked - 1, 1)).center());

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
    runSearch(u"opt_dravé"_s, u"é"_s);
    m_fixture->sql(u"DROP TABLE \"dravé\""_s);
    runSearch({}, u"Rêve"_s);
    QCOMPARE(m_fixture->messenger.shown.size(), 1);
    QCOMPARE(m_fixture->messenger.shown.first().icon, Messenger::Icon::Critical);
    QCOMPARE(results(), u"002|Étoile;001|Été;|"_s);
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
