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
    void clickWithoutNumber_data();
    void clickWithoutNumber();
    void pickMarksRow();
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
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<bool>("expected");
    QTest::newRow("small letters find capitals") << "LE MANS"
                                                 << "le m" << true;
    QTest::newRow("é finds É") << "ÉTÉ"
                               << "é" << true;
    QTest::newRow("é does not find e") << "ETE"
                                       << "é" << false;
    QTest::newRow("e does not find É") << "ÉTÉ"
                                       << "e" << false;
    QTest::newRow("one for one: SS does not find ß") << "Straße"
                                                     << "SS" << false;
    QTest::newRow("ß finds ß") << "STRAßE"
                               << "ße" << true;
    QTest::newRow("substring, not word") << "Marseille"
                                         << "SEI" << true;
    QTest::newRow("inner spaces count") << "Le Mans"
                                        << "lem" << false;
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
    QTest::newRow("everywhere, stored order, trimmed") << "opt_Tusqué"
                                                       << "  réPONSE "
                                                       << "réPONSE" << everything << "40 élément(s) trouvé(s).";
    QTest::newRow("one hit") << "opt_Tusqué"
                             << "12"
                             << "12" << QStringList{u"012|Réponse 12"_s, u"|"_s} << "1 élément(s) trouvé(s).";
    QTest::newRow("no hit") << "opt_dravé"
                            << "zz"
                            << "zz" << QStringList{u"|Non trouvé"_s} << "0 élément trouvé.";
    QTest::newRow("empty table") << "opt_titres"
                                 << "a"
                                 << "a" << QStringList{u"|Non trouvé"_s} << "0 élément trouvé.";
    QTest::newRow("Plomé searches lieu") << "opt_plomé"
                                         << "ly"
                                         << "ly" << QStringList{u"001|Lyon"_s, u"|"_s} << "1 élément(s) trouvé(s).";
    QTest::newRow("é finds É and é") << "opt_dravé"
                                     << "é"
                                     << "é" << QStringList{u"002|Étoile"_s, u"001|Été"_s, u"|"_s}
                                     << "2 élément(s) trouvé(s).";
    QTest::newRow("É finds é and É") << "opt_dravé"
                                     << "tÉ"
                                     << "tÉ" << QStringList{u"001|Été"_s, u"|"_s} << "1 élément(s) trouvé(s).";
    QTest::newRow("e does not find é") << "opt_dravé"
                                       << "e"
                                       << "e" << QStringList{u"003|Rêve"_s, u"002|Étoile"_s, u"004|ete"_s, u"|"_s}
                                       << "3 élément(s) trouvé(s).";
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
    QTest::newRow("no option, empty criterion") << ""
                                                << ""
                                                << "Merci de spécifier où chercher."
                                                << "";
    QTest::newRow("no option, criterion kept untrimmed") << ""
                                                         << " Été "
                                                         << "Merci de spécifier où chercher."
                                                         << " Été ";
    QTest::newRow("spaces only") << "opt_dravé"
                                 << "   "
                                 << "Pas de critère de recherche."
                                 << "";
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
    QTest::newRow("Return in the criterion") << Tabs::Search << "cherche" << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter in the results") << Tabs::Search << "grille_search" << int(Qt::Key_Enter) << true;
    QTest::newRow("Return on a category tab") << 0 << "no_dravé" << int(Qt::Key_Return) << false;
    QTest::newRow("Return on a focused button presses it") << Tabs::Search << "bt_last" << int(Qt::Key_Return)
                                                           << false;
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
    QCOMPARE(m_fixture->messenger.texts(),
             searches ? QStringList{QStringLiteral("Merci de spécifier où chercher.")} : QStringList{});
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

void TestSearch::clickWithoutNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("row");
    QTest::newRow("empty row after the hits") << "Réponse 12" << 1;
    QTest::newRow("Non trouvé row") << "zz" << 0;
}

void TestSearch::clickWithoutNumber()
{
    QFETCH(QString, typed);
    QFETCH(int, row);
    open();
    runSearch(QStringLiteral("opt_Tusqué"), typed);
    QTableView* view = results();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(resultsModel()->index(row, 1)).center());
    QCOMPARE(m_window->tabs()->currentIndex(), Tabs::Search);
    QCOMPARE(m_window->lastSelection()->text(), QStringLiteral("0"));
    QVERIFY(!m_window->categoryTab(Category::tusqué())->model()->cellBackground(11, 1).isValid());
}

void TestSearch::pickMarksRow()
{
    open();
    runSearch(QStringLiteral("opt_Tusqué"), QStringLiteral("Réponse 12"));
    QCOMPARE(rowsOf(resultsModel()).first(), QStringLiteral("012|Réponse 12"));
    CategoryTab* page = m_window->categoryTab(Category::tusqué());
    page->setPanel(entry(QStringLiteral("007"), QStringLiteral("à moitié tapé")));

    QTableView* view = results();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(resultsModel()->index(0, 1)).center());

    QCOMPARE(m_window->tabs()->currentIndex(), Category::tusqué().tabIndex);
    QCOMPARE(page->topGridRow(), 12);
    QCOMPARE(page->grid()->currentIndex(), page->model()->index(11, 1));
    QCOMPARE(page->model()->cellBackground(11, 1), QColor(Qt::yellow));
    QCOMPARE(m_window->lastSelection()->text(), QStringLiteral("12"));
    QCOMPARE(page->numberBox()->text(), QString());
    QCOMPARE(page->answerBox()->text(), QString());
    QCOMPARE(page->authorBox()->currentText(), QString());
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
