// Hostile texts pushed through the real add, update and search of the main window: each is stored and shown
// exactly, or refused with a message, and nothing else changes.
#include "catalogue/Catalogue.h"
#include "ui/SearchTab.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void addAndUpdateKeepTextsExactly_data();
    void addAndUpdateKeepTextsExactly();
    void apostropheInAnAuthorIsRefused();
    void searchTakesWildcardsLiterally_data();
    void searchTakesWildcardsLiterally();
};

namespace {

QList<PuzzleEntry> everything(const Catalogue& catalogue)
{
    QList<PuzzleEntry> all;
    for (const Category& category : Category::all()) {
        all += catalogue.entries(category, EntryOrder::Stored);
    }
    return all;
}

void press(MainWindow& window, const Category& category, QStringView button)
{
    auto* widget = window.findChild<QPushButton*>(category.name(button));
    QVERIFY(widget);
    widget->click();
}

} // namespace

void TestHostileInput::addAndUpdateKeepTextsExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("10,000 characters") << QString(10'000, u'é');
    QTest::newRow("control characters") << u"a\tb\u0001c\u007fd\u001be"_s;
    QTest::newRow("right-to-left") << u"مرحبا עולם \u202Eabc"_s;
    QTest::newRow("emoji") << u"🧩 énigme 🎉👩‍👩‍👧"_s;
    QTest::newRow("SQL metacharacters") << u"x\"; DROP TABLE \"dravé\"; -- \\ ;"_s;
    QTest::newRow("SQL quote") << u"'; DROP TABLE dravé; --"_s;
    QTest::newRow("wildcards") << u"100% _vrai_"_s;
    QTest::newRow("Windows path") << u"C:\\Windows\\system32\\cmd.exe"_s;
    QTest::newRow("relative path") << u"../../etc/passwd"_s;
    QTest::newRow("file address") << u"file:///etc/passwd"_s;
    QTest::newRow("leading and trailing spaces") << u"  Lyon  "_s;
}

void TestHostileInput::addAndUpdateKeepTextsExactly()
{
    QFETCH(QString, text);
    Fixture fixture;
    fixture.insert(Category::plomé(), Fixture::series(2));
    fixture.insert(Category::dravé(), Fixture::series(1));
    auto window = fixture.openWindow();
    QVERIFY(window);
    const Category& plomé = Category::plomé();
    CategoryTab* tab = window->categoryTab(plomé);
    const QList<PuzzleEntry> before = everything(window->catalogue());
    // An author may hold anything but an apostrophe, which the add refuses.
    QString author = text;
    author.remove(u'\'');

    const PuzzleEntry added{u"003"_s, text, author, text, text};
    tab->setPanel(added);
    press(*window, plomé, u"bt_add_");
    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(window->catalogue().entry(plomé, u"003"_s), std::optional<PuzzleEntry>(added));
    QCOMPARE(tab->model()->row(2), CategoryTab::gridCells(added));
    QCOMPARE(everything(window->catalogue()).size(), before.size() + 1);

    const PuzzleEntry updated{u"001"_s, u"«"_s + text + u"»"_s, author, text, text};
    tab->setPanel(updated);
    press(*window, plomé, u"bt_maj_");
    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(window->catalogue().entry(plomé, u"001"_s), std::optional<PuzzleEntry>(updated));
    QCOMPARE(tab->model()->row(0), CategoryTab::gridCells(updated));

    // The other series and the unchanged entry are as they were; the tables are all still there.
    // (`before` lists Dravé 001, then Plomé 001 and 002.)
    QList<PuzzleEntry> expected = before;
    expected.replace(1, updated);
    expected.insert(3, added);
    QCOMPARE(everything(window->catalogue()), expected);
    QCOMPARE(window->catalogue().count(Category::dravé()), 1);
}

void TestHostileInput::apostropheInAnAuthorIsRefused()
{
    Fixture fixture;
    auto window = fixture.openWindow();
    QVERIFY(window);
    const Category& dravé = Category::dravé();
    window->categoryTab(dravé)->setPanel({u"001"_s, u"x"_s, u"'; DROP TABLE dravé; --"_s, {}, {}});
    press(*window, dravé, u"bt_add_");
    QCOMPARE(fixture.messenger.texts(), QStringList{u"Apostrophe non autorisée dans le pseudo."_s});
    QVERIFY(everything(window->catalogue()).isEmpty());
    QVERIFY(window->catalogue().authors().isEmpty());
}

void TestHostileInput::searchTakesWildcardsLiterally_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<QStringList>("hits");
    QTest::newRow("percent") << u"%"_s << QStringList{u"002"_s};
    QTest::newRow("underscore") << u"_"_s << QStringList{u"003"_s};
    QTest::newRow("quote") << u"'"_s << QStringList{u"004"_s};
    QTest::newRow("SQL comment") << u"--"_s << QStringList{u"004"_s};
    QTest::newRow("emoji") << u"🧩"_s << QStringList{u"005"_s};
    QTest::newRow("backslash") << u"\\"_s << QStringList{};
}

void TestHostileInput::searchTakesWildcardsLiterally()
{
    QFETCH(QString, criterion);
    QFETCH(QStringList, hits);
    Fixture fixture;
    fixture.insert(Category::tusqué(), {{u"001"_s, u"Sans rien"_s, u"a"_s, {}, {}},
                                        {u"002"_s, u"100 % vrai"_s, u"a"_s, {}, {}},
                                        {u"003"_s, u"mot_clé"_s, u"a"_s, {}, {}},
                                        {u"004"_s, u"L'été -- fin"_s, u"a"_s, {}, {}},
                                        {u"005"_s, u"🧩 pièce"_s, u"a"_s, {}, {}}});
    auto window = fixture.openWindow();
    QVERIFY(window);
    SearchTab* search = window->searchTab();
    search->option(Category::tusqué().index)->click();
    search->criterion()->setText(criterion);
    search->searchButton()->click();
    QVERIFY(fixture.messenger.shown.isEmpty());
    QStringList found;
    for (const QStringList& row : search->resultsModel()->rows()) {
        if (!row.value(0).isEmpty()) {
            found.append(row.value(0));
        }
    }
    QCOMPARE(found, hits);
    QCOMPARE(window->catalogue().count(Category::tusqué()), 5);
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
