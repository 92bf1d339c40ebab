// Hostile texts pushed through the real add, update and search of the main window: each is stored and shown
// exactly and found literally, and nothing else changes.
#include "catalogue/Catalogue.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void keptAndFoundExactly_data();
    void keptAndFoundExactly();
};

void TestHostileInput::keptAndFoundExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("criterion"); // a part of the text, which must not find "Réponse 2"
    QTest::newRow("10,000 characters") << QString(10'000, u'é') << u"éé"_s;
    QTest::newRow("control characters") << u"a\tb\u0001c\u007fd\u001be"_s << u"\u0001c\u007f"_s;
    QTest::newRow("right-to-left") << u"مرحبا עולם \u202Eabc"_s << u"עולם \u202E"_s;
    QTest::newRow("emoji") << u"🧩 énigme 🎉👩‍👩‍👧"_s << u"👩‍👩‍👧"_s;
    QTest::newRow("SQL metacharacters") << u"x\"; DROP TABLE \"dravé\"; -- \\ ;"_s << u"-- \\"_s;
    QTest::newRow("SQL quote") << u"'; DROP TABLE dravé; --"_s << u"'"_s;
    QTest::newRow("percent") << u"100 % vrai"_s << u"%"_s;
    QTest::newRow("underscore") << u"mot_clé"_s << u"_"_s;
}

void TestHostileInput::keptAndFoundExactly()
{
    QFETCH(QString, text);
    QFETCH(QString, criterion);
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(1));
    fixture.insert(Category::plomé(), Fixture::series(2));
    auto window = fixture.openWindow();
    QVERIFY(window);
    const Category& plomé = Category::plomé();
    CategoryTab* tab = window->categoryTab(plomé);
    // An author may hold anything but an apostrophe, which the add refuses.
    const QString author = QString(text).remove(u'\'');
    const PuzzleEntry added{u"003"_s, text, author, text, text};
    const PuzzleEntry updated{u"001"_s, u"«"_s + text + u"»"_s, author, text, text};

    tab->setPanel(added);
    child<QPushButton>(window.get(), plomé.name(u"bt_add_"))->click();
    tab->setPanel(updated);
    child<QPushButton>(window.get(), plomé.name(u"bt_maj_"))->click();
    const PuzzleEntry second = Fixture::series(2).at(1);
    QCOMPARE(window->catalogue().entries(plomé, EntryOrder::Stored), (QList<PuzzleEntry>{updated, second, added}));
    QCOMPARE(window->catalogue().entries(Category::dravé(), EntryOrder::Stored), Fixture::series(1));
    QCOMPARE(tab->model()->rows(), (QList<QStringList>{CategoryTab::gridCells(updated), CategoryTab::gridCells(second),
                                                       CategoryTab::gridCells(added)}));

    SearchTab* search = window->searchTab();
    search->option(plomé.index)->click();
    search->criterion()->setText(criterion);
    search->searchButton()->click();
    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    // One row per hit, then an empty row.
    QCOMPARE(search->resultsModel()->rows(),
             (QList<QStringList>{{u"001"_s, updated.answer}, {u"003"_s, text}, {QString(), QString()}}));
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
