#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Fixture.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Ten thousand characters of right-to-left text, emoji, quotes and an SQL injection, repeated.
const QString hostile =
    (u"שלום 👩‍👩‍👧 \"l'été\" '; DROP TABLE auteurs; -- "_s + QChar(0x202E)).repeated(250).left(10'000);

QString answer(const QString& token)
{
    return token == u"H" ? hostile : token;
}

} // namespace

/// The journal of changes, undo and redo, on the store and through the window, the history and the backups.
class TestHistory : public QObject {
    Q_OBJECT

private slots:
    void undoAndRedo_data();
    void undoAndRedo();
    void refusedWriteKeepsJournal();
};

void TestHistory::undoAndRedo_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("answers"); // Dravé, in number order
    QTest::addColumn<QStringList>("authors");
    QTest::addColumn<QString>("refusal"); // of the last step

    // Steps: "i" imports 001 and 002 by Léa; "+Name" adds the next Dravé entry by Name; "p+Name" a Plomé one;
    // "=ref:text" corrects an answer (and the image address); "u" undoes, "r" redoes; "!…" writes behind the
    // journal's back, as another program would: "!+" adds the next entry, "!ref:text" corrects, "!gap" moves the
    // journal's numbering 10,000 changes ahead.
    const QStringList imported{u"Réponse 1"_s, u"Réponse 2"_s};
    const QString third = u"Réponse 3"_s;
    const QStringList léa{u"Léa"_s};
    QTest::newRow("add undone, its author leaves") << QStringList{u"i"_s, u"+Zoé"_s, u"u"_s} << imported << léa << "";
    QTest::newRow("add redone") << QStringList{u"i"_s, u"+Zoé"_s, u"u"_s, u"r"_s} << imported + QStringList{third}
                                << QStringList{u"Léa"_s, u"Zoé"_s} << "";
    QTest::newRow("author still named elsewhere stays")
        << QStringList{u"i"_s, u"p+ZOÉ"_s, u"+Zoé"_s, u"u"_s} << imported << QStringList{u"Léa"_s, u"Zoé"_s} << "";
    QTest::newRow("corrections undone in turn, redone in order")
        << QStringList{u"i"_s, u"=002:X"_s, u"=002:Y"_s, u"u"_s, u"u"_s, u"r"_s} << QStringList{imported.first(), u"X"_s}
        << léa << "";
    QTest::newRow("hostile texts undone") << QStringList{u"i"_s, u"=001:H"_s, u"u"_s} << imported << léa << "";
    QTest::newRow("hostile texts redone")
        << QStringList{u"i"_s, u"=001:H"_s, u"u"_s, u"r"_s} << QStringList{hostile, imported.last()} << léa << "";
    QTest::newRow("import undone back to empty") << QStringList{u"i"_s, u"+Zoé"_s, u"u"_s, u"u"_s} << QStringList()
                                                 << QStringList() << "";
    QTest::newRow("import redone") << QStringList{u"i"_s, u"u"_s, u"r"_s} << imported << léa << "";

    const QString add3 = CatalogueTexts::addDescription().arg(u"Dravé 003"_s);
    const QString fix1 = CatalogueTexts::updateDescription().arg(u"Dravé 001"_s);
    QTest::newRow("nothing to undo") << QStringList{u"u"_s} << QStringList() << QStringList()
                                     << CatalogueTexts::nothingToUndo();
    QTest::newRow("redo left behind by a new change")
        << QStringList{u"i"_s, u"+Zoé"_s, u"u"_s, u"+Max"_s, u"r"_s} << imported + QStringList{third}
        << QStringList{u"Léa"_s, u"Max"_s} << CatalogueTexts::nothingToRedo();
    QTest::newRow("added entry no longer last")
        << QStringList{u"i"_s, u"+Zoé"_s, u"!+"_s, u"u"_s} << imported + QStringList{third, u"Réponse 4"_s}
        << QStringList{u"Léa"_s, u"Zoé"_s}
        << CatalogueTexts::undoRefused().arg(add3, CatalogueTexts::notLast().arg(u"Dravé 003"_s));
    QTest::newRow("corrected entry changed since")
        << QStringList{u"i"_s, u"=001:X"_s, u"!001:Y"_s, u"u"_s} << QStringList{u"Y"_s, imported.last()} << léa
        << CatalogueTexts::undoRefused().arg(fix1, CatalogueTexts::entryModified().arg(u"Dravé 001"_s));
    QTest::newRow("redo of an add whose number was taken")
        << QStringList{u"i"_s, u"+Zoé"_s, u"u"_s, u"!+"_s, u"r"_s} << imported + QStringList{third} << léa
        << CatalogueTexts::redoRefused().arg(add3, CatalogueTexts::numberTaken().arg(u"Dravé 003"_s));
    QTest::newRow("older changes pruned")
        << QStringList{u"i"_s, u"!gap"_s, u"+Zoé"_s, u"u"_s, u"u"_s} << imported << léa
        << CatalogueTexts::nothingToUndo();
}

void TestHistory::undoAndRedo()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, authors);
    QFETCH(QString, refusal);
    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    const Category& dravé = Category::dravé();
    QString lastRefusal;
    int changes = 0;
    for (const QString& step : steps) {
        const QString next = u"%1"_s.arg(catalogue.count(dravé) + 1, 3, 10, QLatin1Char('0'));
        const QString ref = step.section(u':', 0, 0).right(3);
        const PuzzleEntry corrected{ref, answer(step.section(u':', 1)), u"Léa"_s, answer(step.section(u':', 1)), u"-"_s};
        lastRefusal.clear();
        if (step == u"i") {
            catalogue.fillEmpty({Fixture::series(2), {}, {}, {}}, {u"Léa"_s});
        } else if (step.startsWith(u'+') || step.startsWith(u"p+")) {
            const Category& category = step.startsWith(u'p') ? Category::plomé() : dravé;
            catalogue.append(category, {next, u"Réponse "_s + QString::number(next.toInt()), step.section(u'+', 1), {}, {}});
        } else if (step.startsWith(u'=')) {
            QVERIFY(catalogue.rewrite(dravé, ref, corrected));
        } else if (step == u"u" || step == u"r") {
            lastRefusal = (step == u"u" ? catalogue.undo() : catalogue.redo()).refusal.value_or(QString());
        } else if (step == u"!+") {
            fixture.insert(dravé, {{next, u"Réponse "_s + QString::number(next.toInt()), u"Zoé"_s, {}, {}}});
        } else if (step == u"!gap") {
            fixture.sql(u"INSERT INTO journal (id, date, sorte, description, nombre) VALUES (10001, '', 'x', 'x', 0)"_s);
        } else {
            fixture.sql(u"UPDATE \"dravé\" SET nom = '%1' WHERE ref = '%2'"_s.arg(corrected.answer, ref));
        }
        changes += lastRefusal.isEmpty() && !step.startsWith(u'!') ? 1 : 0;
    }
    QCOMPARE(lastRefusal, refusal);
    QStringList stored;
    for (const PuzzleEntry& entry : catalogue.entries(dravé, EntryOrder::ByNumber)) {
        stored.append(entry.answer);
    }
    QCOMPARE(stored, answers);
    QCOMPARE(catalogue.authors(), authors);
    // One journal row per change that was made, undo and redo included (unless pruned).
    if (!steps.contains(u"!gap"_s)) {
        QCOMPARE(catalogue.journal().size(), changes);
    }
}

void TestHistory::refusedWriteKeepsJournal()
{
    // Another program holds the file: the undo fails as a whole, the change and its journal row stay.
    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.append(Category::dravé(), Fixture::series(1).first()), Catalogue::AppendResult::Added);
    Catalogue other(fixture.folder().database());
    QSqlQuery lock(other.database());
    QVERIFY(lock.exec(u"BEGIN IMMEDIATE"_s));
    QVERIFY_THROWS_EXCEPTION(CatalogueError, catalogue.undo());
    QVERIFY(lock.exec(u"ROLLBACK"_s));
    QCOMPARE(catalogue.count(Category::dravé()), 1);
    QCOMPARE(catalogue.journal().size(), 1);
    QCOMPARE(catalogue.undoable()->state, JournalRecord::State::Done);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
