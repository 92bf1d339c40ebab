#include "app/CommandLine.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "history/BackupRestoreWindow.h"
#include "history/HistoryModel.h"
#include "history/HistoryTexts.h"
#include "history/HistoryWindow.h"
#include "history/JournalFormat.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Ten thousand characters of right-to-left text, emoji, quotes and an SQL injection, repeated.
const QString hostile = (u"שלום 👩‍👩‍👧 \"l'été\" \\ '; DROP TABLE auteurs; --\t\n"_s + QChar(0x202E))
                            .repeated(250)
                            .left(10'000);

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
    void changeOfSeveralEntries_data();
    void changeOfSeveralEntries();
    void windowTakesBackASlip();
    void restoreBackup_data();
    void restoreBackup();
    void commands_data();
    void commands();
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
        << QStringList{u"i"_s, u"=002:X"_s, u"=002:Y"_s, u"u"_s, u"u"_s, u"r"_s}
        << QStringList{imported.first(), u"X"_s} << léa << "";
    QTest::newRow("hostile texts undone") << QStringList{u"i"_s, u"=001:H"_s, u"u"_s} << imported << léa << "";
    QTest::newRow("hostile texts redone")
        << QStringList{u"i"_s, u"=001:H"_s, u"u"_s, u"r"_s} << QStringList{hostile, imported.last()} << léa << "";
    QTest::newRow("import undone back to empty")
        << QStringList{u"i"_s, u"+Zoé"_s, u"u"_s, u"u"_s} << QStringList() << QStringList() << "";
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
    QTest::newRow("older changes pruned") << QStringList{u"i"_s, u"!gap"_s, u"+Zoé"_s, u"u"_s, u"u"_s} << imported
                                          << léa << CatalogueTexts::nothingToUndo();
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
        const PuzzleEntry corrected{ref, answer(step.section(u':', 1)), u"Léa"_s, answer(step.section(u':', 1)),
                                    u"-"_s};
        lastRefusal.clear();
        if (step == u"i") {
            catalogue.fillEmpty({Fixture::series(2), {}, {}, {}}, {u"Léa"_s});
        } else if (step.startsWith(u'+') || step.startsWith(u"p+")) {
            const Category& category = step.startsWith(u'p') ? Category::plomé() : dravé;
            catalogue.append(category,
                             {next, u"Réponse "_s + QString::number(next.toInt()), step.section(u'+', 1), {}, {}});
        } else if (step.startsWith(u'=')) {
            QVERIFY(catalogue.rewrite(dravé, ref, corrected));
        } else if (step == u"u" || step == u"r") {
            lastRefusal = (step == u"u" ? catalogue.undo() : catalogue.redo()).refusal.value_or(QString());
        } else if (step == u"!+") {
            fixture.insert(dravé, {{next, u"Réponse "_s + QString::number(next.toInt()), u"Zoé"_s, {}, {}}});
        } else if (step == u"!gap") {
            fixture.sql(
                u"INSERT INTO journal (id, date, sorte, description, nombre) VALUES (10001, '', 'x', 'x', 0)"_s);
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
        const QList<JournalRecord> journal = catalogue.journal();
        QCOMPARE(journal.size(), changes);
        // The import is one change of two entries.
        QVERIFY(steps.first() != u"i" ||
                JournalFormat::detail(journal.last()).endsWith(u" (et 1 autre(s) entrée(s))"_s));
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
    // A journal row that someone else damaged is reported, never taken for an entry.
    for (const QString& damaged : {u"[\"001\", \"a\"]"_s, u"[\"001\\q\",\"\",\"\",\"\",\"\"]"_s}) {
        fixture.sql(u"UPDATE \"journal_entrées\" SET \"après\" = '%1'"_s.arg(damaged));
        QVERIFY_THROWS_EXCEPTION(CatalogueError, catalogue.undo());
    }
    QCOMPARE(catalogue.count(Category::dravé()), 1);
}

void TestHistory::changeOfSeveralEntries_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("removed"); // the name the change takes out of the register
    QTest::addColumn<QString>("refusal");
    const QString merge = u"la fusion de « LÉA » dans « Léa »"_s;
    QTest::newRow("merge") << 0 << u"LÉA"_s << QString();
    QTest::newRow("name not registered") << 0 << u"Lea"_s
                                         << CatalogueTexts::changeRefused().arg(
                                                merge, CatalogueTexts::authorAbsent().arg(u"Lea"_s));
    QTest::newRow("no such series") << 4 << u"LÉA"_s
                                    << CatalogueTexts::changeRefused().arg(merge, CatalogueTexts::emptyChange());
}

void TestHistory::changeOfSeveralEntries()
{
    // An author merge as one change: two entries rewritten and a spelling out of the register, undone as one.
    QFETCH(int, category);
    QFETCH(QString, removed);
    QFETCH(QString, refusal);
    Fixture fixture;
    const QList<PuzzleEntry> before = Fixture::series(3, {u"LÉA"_s, u"Max"_s});
    fixture.insert(Category::dravé(), before);
    fixture.registerAuthors({u"Léa"_s, u"Max"_s, u"LÉA"_s});
    Catalogue catalogue(fixture.folder().database());
    JournalChange merge{JournalKind::merge(), u"la fusion de « LÉA » dans « Léa »"_s, {}, {}, {removed}};
    QList<PuzzleEntry> after = before;
    for (int n : {0, 2}) {
        after[n].author = u"Léa"_s;
        merge.entries.append({n == 2 ? category : 0, before.at(n).ref, before.at(n), after.at(n)});
    }
    QCOMPARE(catalogue.applyChange(merge).value_or(QString()), refusal);
    const bool done = refusal.isEmpty();
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), done ? after : before);
    QCOMPARE(catalogue.authors().size(), done ? 2 : 3);
    QCOMPARE(catalogue.undoable().has_value(), done);
    if (done) {
        QCOMPARE(catalogue.undo().series, QList<int>{0});
        QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), before);
        QCOMPARE(catalogue.authors(), (QStringList{u"Léa"_s, u"Max"_s, u"LÉA"_s}));
    }
}

void TestHistory::windowTakesBackASlip()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2)); // by Léa, who is not registered
    auto window = Fixture().openShown(); // a second folder: only its own journal counts
    window = fixture.openShown();
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(Category::dravé());
    auto* undo = child<QAction>(window.get(), u"action_annuler"_s);
    auto* redo = child<QAction>(window.get(), u"action_retablir"_s);
    QVERIFY(undo && redo && !undo->isEnabled());

    // An add, named in the menu, taken back and put back; the grid follows each time.
    tab->setPanel({u"003"_s, u"Château"_s, u"Zoé"_s, {}, {}});
    child<QPushButton>(window.get(), u"bt_add_dravé"_s)->click();
    QCOMPARE(undo->text(), u"Annuler l'ajout de Dravé 003"_s);
    undo->trigger();
    QCOMPARE(std::pair(tab->model()->rowCount(), redo->text()), std::pair(2, u"Rétablir l'ajout de Dravé 003"_s));
    redo->trigger();
    QCOMPARE(tab->model()->cell(2, 1), u"Château"_s);

    // A slip on 001, found in the entry's history from the grid's context menu, and its earlier version put back.
    tab->setPanel({u"001"_s, u"Faute"_s, u"Léa"_s, {}, {}});
    child<QPushButton>(window.get(), u"bt_maj_dravé"_s)->click();
    tab->grid()->setCurrentIndex(tab->model()->index(0, 0));
    child<QAction>(tab->grid(), u"historique_dravé"_s)->trigger();
    auto* history = window->findChild<HistoryWindow*>();
    QVERIFY(history && history->isVisible());
    QAbstractItemModelTester tester(history->model());
    QCOMPARE(history->model()->rowCount(), 1);
    child<QTableView>(history, u"historique_liste"_s)->setCurrentIndex(history->model()->index(0, 0));
    child<QPushButton>(history, u"historique_restaurer"_s)->click();
    QCOMPARE(tab->model()->cell(0, 1), u"Réponse 1"_s);
    QCOMPARE(undo->text(), u"Annuler la restauration d'une version de Dravé 001"_s);
    QCOMPARE(window->catalogue().authors(), (QStringList{u"Zoé"_s, u"Léa"_s})); // as an add would
    QCOMPARE(history->model()->data(history->model()->index(0, HistoryModel::Detail)).toString(),
             u"Nom : Faute → Réponse 1"_s);
    // The add's row offers no earlier version.
    child<QAction>(window.get(), u"action_historique"_s)->trigger();
    child<QLineEdit>(history, u"historique_filtre"_s)->setText(u"ajout de dravé 003"_s);
    QCOMPARE(history->model()->rowCount(), 3); // the add, its undo and its redo
    child<QTableView>(history, u"historique_liste"_s)->setCurrentIndex(history->model()->index(2, 0));
    child<QPushButton>(history, u"historique_restaurer"_s)->click();
    QCOMPARE(fixture.messenger.lastText(), HistoryTexts::noSuchVersion());
    auto* series = child<QComboBox>(history, u"historique_série"_s);
    series->setCurrentIndex(2); // Plomé
    QCOMPARE(history->model()->rowCount(), 0);
    series->setCurrentIndex(1);
    QCOMPARE(history->model()->rowCount(), 3);
    QCOMPARE(fixture.messenger.shown.size(), 1);
}

void TestHistory::restoreBackup_data()
{
    QTest::addColumn<int>("row"); // 0 the copy taken before the add, 2 a damaged one
    QTest::addColumn<bool>("renamed");
    QTest::addColumn<QString>("message");
    QTest::newRow("restored") << 0 << true << HistoryTexts::restored().section(u"%1"_s, 0, 0);
    QTest::newRow("rename fails") << 0 << false << CatalogueTexts::restoreFailed().section(u"%1"_s, 0, 0);
    QTest::newRow("damaged copy") << 2 << true << HistoryTexts::chooseBackup();
}

void TestHistory::restoreBackup()
{
    QFETCH(int, row);
    QFETCH(bool, renamed);
    QFETCH(QString, message);
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    const CatalogueBackup backups(fixture.folder().backups());
    backups.take(Catalogue(fixture.folder().database()), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    writeFile(fixture.folder().backups() + u"/Mézor-2025-01-01_00-00-00.db"_s, "pas une base");
    auto window = fixture.openShown();
    Catalogue& catalogue = window->catalogue();
    catalogue.append(Category::dravé(), Fixture::series(3).at(2));
    QVERIFY(window->reload());
    const QStringList folder = QDir(fixture.folder().path()).entryList(QDir::Files);

    child<QAction>(window.get(), u"action_sauvegardes"_s)->trigger();
    auto* restore = window->findChild<BackupRestoreWindow*>();
    auto* list = child<QTableWidget>(restore, u"sauvegardes_liste"_s);
    QCOMPARE(std::pair(list->item(1, 1)->text(), list->item(2, 0)->flags()), std::pair(u"2"_s, Qt::ItemFlags()));
    QVERIFY(list->item(2, 5)->text() != u"ok"_s);
    restore->setCommit([renamed](QSaveFile& file) {
        if (!renamed) {
            file.cancelWriting();
        }
        return file.commit();
    });
    list->setCurrentCell(row, 0);
    fixture.messenger.answers = {true};
    child<QPushButton>(restore, u"sauvegardes_restaurer"_s)->click();

    QVERIFY2(fixture.messenger.lastText().startsWith(message), qPrintable(fixture.messenger.lastText()));
    const bool replaced = renamed && row == 0;
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), Fixture::series(replaced ? 2 : 3));
    QCOMPARE(window->categoryTab(Category::dravé())->model()->rowCount(), replaced ? 2 : 3);
    // Nothing half-made is left beside the catalogue; a copy of the current one is taken before it is replaced.
    QCOMPARE(QDir(fixture.folder().path()).entryList(QDir::Files), folder);
    QCOMPARE(backups.copies(catalogue).size(), row == 0 ? 4 : 3);
}

void TestHistory::commands_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("left"); // Dravé entries afterwards
    QTest::newRow("history") << QStringList{u"--history"_s} << 1 << 0 << 3;
    QTest::newRow("history, last 1") << QStringList{u"--history"_s, u"--last"_s, u"1"_s} << 1 << 0 << 3;
    QTest::newRow("bad count") << QStringList{u"--history"_s, u"--last"_s, u"0"_s} << 1 << 2 << 3;
    QTest::newRow("count without history") << QStringList{u"--undo"_s, u"--last"_s, u"1"_s} << 1 << 2 << 3;
    QTest::newRow("undo") << QStringList{u"--undo"_s} << 1 << 0 << 2;
    QTest::newRow("nothing left to undo") << QStringList{u"--undo"_s} << 2 << 1 << 2;
}

void TestHistory::commands()
{
    QFETCH(QStringList, options);
    QFETCH(int, runs);
    QFETCH(int, status);
    QFETCH(int, left);
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    Catalogue(fixture.folder().database()).append(Category::dravé(), Fixture::series(3).at(2));
    int last = -1;
    for (int run = 0; run < runs; ++run) {
        last = CommandLine::run(QStringList{u"mezor"_s, fixture.folder().path()} + options);
    }
    QCOMPARE(last, status);
    const Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.count(Category::dravé()), left);
    const QList<JournalRecord> journal = catalogue.journal();
    QCOMPARE(JournalFormat::line(journal.last()).section(u';', 0, 1),
             JournalFormat::date(journal.last()) +
                 u"  Dravé 003  l'ajout de Dravé 003%1 — Nom : — → Réponse 3; Auteur : — → Léa"_s.arg(
                     left == 2 ? HistoryTexts::undoneMark() : QString()));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
