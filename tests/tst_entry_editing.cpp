#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using Icon = Messenger::Icon;

char* toString(const PuzzleEntry& entry)
{
    return QTest::toString(QStringList{entry.ref, entry.answer, entry.author, entry.url, entry.link}.join(u'|'));
}

namespace {

const QString nd = u"Non disponible"_s;

std::unique_ptr<MainWindow> openShown(Fixture& fixture)
{
    auto window = fixture.openWindow();
    if (window) {
        window->show();
    }
    return window && QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
}

/// What the keeper sees and what the file holds, to tell that a refused or failed operation changed nothing.
struct State {
    QList<QStringList> rows;
    PuzzleEntry panel;
    QList<PuzzleEntry> stored;
    QStringList authors;
};

State state(const MainWindow& window, const Category& category)
{
    const CategoryTab* tab = window.categoryTab(category);
    // A connection of its own reads what the file really holds.
    const Catalogue file(window.catalogue().path());
    return {tab->model()->rows(), tab->panel(), file.entries(category, EntryOrder::Stored), file.authors()};
}

void click(MainWindow& window, const Category& category, QStringView button)
{
    auto* widget = child<QPushButton>(&window, category.name(button));
    QVERIFY(widget);
    widget->click();
}

PuzzleEntry stored(const MainWindow& window, const Category& category, const QString& ref)
{
    return Catalogue(window.catalogue().path()).entry(category, ref).value_or(PuzzleEntry{});
}

// QTest::keyClicks takes Latin-1 only as ASCII; accented letters go in as key events carrying their text.
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

/// Another program holding the whole file under an exclusive lock until destroyed.
struct FileLock {
    explicit FileLock(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other program"_s);
        db.setDatabaseName(path);
        held = db.open() && QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s);
    }
    ~FileLock()
    {
        QSqlDatabase::database(u"other program"_s, false).close(); // closing ends the transaction
        QSqlDatabase::removeDatabase(u"other program"_s);
    }
    bool held = false;
};

enum class Breakage { ReadOnlyConnection, Locked, EngineRefuses, ReadOnlyFile };

} // namespace

class TestEntryEditing : public QObject {
    Q_OBJECT

private slots:
    void addThroughTheWindow_data();
    void addThroughTheWindow();
    void refusedChangesNothing_data();
    void refusedChangesNothing();
    void updateThroughTheWindow_data();
    void updateThroughTheWindow();
    void writeFailure_data();
    void writeFailure();
};

void TestEntryEditing::addThroughTheWindow_data()
{
    QTest::addColumn<int>("category");
    for (const Category& category : Category::all()) {
        QTest::newRow(qPrintable(category.caption)) << category.index;
    }
}

void TestEntryEditing::addThroughTheWindow()
{
    QFETCH(int, category);
    const Category& cat = Category::all().at(category);
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(41, {u"Léa"_s, u"Max"_s});
    fixture.insert(cat, entries);
    auto window = openShown(fixture);
    QVERIFY(window);
    window->tabs()->setCurrentIndex(cat.tabIndex);
    CategoryTab* tab = window->categoryTab(cat);
    std::reverse(entries.begin(), entries.end());
    tab->fill(entries); // as a sort by another column shows it: the expected number is still the row count
    tab->showFirstRows();
    auto* number = child<QLineEdit>(window.get(), cat.name(u"no_"));
    auto* answer = child<QLineEdit>(window.get(), cat.name(u"nom_"));
    auto* author = child<QComboBox>(window.get(), cat.name(u"list_"));
    auto* link = child<QLineEdit>(window.get(), cat.name(u"url_", u"_sor"));
    auto* add = child<QPushButton>(window.get(), cat.name(u"bt_add_"));
    QVERIFY(number && answer && author && link && add);
    const int listed = author->count();

    type(number, u"042"_s);
    type(answer, u" Le Puy "_s);
    type(author->lineEdit(), u"Noé"_s);
    type(link, u"http://forum/42"_s);
    QTest::mouseClick(add, Qt::LeftButton);

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(stored(*window, cat, u"042"_s),
             (PuzzleEntry{u"042"_s, u" Le Puy "_s, u"Noé"_s, nd, u"http://forum/42"_s}));
    QCOMPARE(tab->model()->rowCount(), 42);
    QCOMPARE(tab->model()->row(0).first(), u"041"_s);
    QCOMPARE(tab->model()->row(41), (QStringList{u"042"_s, u" Le Puy "_s, u"Noé"_s}));
    QCOMPARE(tab->grid()->currentIndex().row(), 41);
    QVERIFY(tab->topGridRow() > 1);
    const QRect cell = tab->grid()->visualRect(tab->model()->index(41, 0));
    QVERIFY(tab->grid()->viewport()->rect().contains(cell.center()));
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(author->count(), listed);

    // The series has moved on by one; the same author in other letters is not registered twice.
    tab->setPanel({u"043"_s, u"Lyon"_s, u"nOÉ"_s, {}, {}});
    add->click();
    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(tab->model()->row(42).first(), u"043"_s);
    QCOMPARE(Catalogue(fixture.folder().database()).authors(),
             cat.registersAuthors ? QStringList{u"Noé"_s} : QStringList{});
}

void TestEntryEditing::refusedChangesNothing_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<int>("category");
    QTest::addColumn<PuzzleEntry>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<PuzzleEntry>("panel"); // after the refusal

    const auto row = [](const char* name, bool adding, const Category& cat, const QString& number,
                        const QString& answer, const QString& author, const QString& message) {
        const PuzzleEntry typed{number, answer, author, {}, {}};
        QTest::newRow(name) << adding << cat.index << typed << message << typed;
    };
    row("add, out of sequence", true, Category::plomé(), u"005"_s, u"Lyon"_s, u"Max"_s,
        u"Le numéro ne suit pas. Il doit être égal à 4"_s);
    row("add, apostrophe", true, Category::plomé(), u"004"_s, u"Lyon"_s, u"O'Neil"_s,
        u"Apostrophe non autorisée dans le pseudo."_s);
    row("update, two digits are sought as typed", false, Category::tusqué(), u"2"_s, u"Lyon"_s, u"Max"_s,
        u"N° 2 inconnu."_s);
    row("update, number not in the table", false, Category::tusqué(), u"005"_s, u"Lyon"_s, u"Max"_s,
        u"N° 005 inconnu."_s);
    row("update, answer of spaces", false, Category::tusqué(), u"002"_s, u"  "_s, u"Max"_s, u"Nom non renseigné."_s);
    // The grid still counts 3 rows; the refused add has already filled the empty address, and not registered Nouvel.
    QTest::newRow("add, number stored behind the grid")
        << true << Category::dravé().index << PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, u"http://f/4"_s}
        << u"N° 004 déjà existant."_s << PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, nd, u"http://f/4"_s};
}

void TestEntryEditing::refusedChangesNothing()
{
    QFETCH(bool, adding);
    QFETCH(int, category);
    QFETCH(PuzzleEntry, typed);
    QFETCH(QString, message);
    QFETCH(PuzzleEntry, panel);
    const Category& cat = Category::all().at(category);
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    auto window = openShown(fixture);
    QVERIFY(window);
    // Another program added 004 behind the grid's back.
    fixture.insert(cat, {{u"004"_s, u"Nantes"_s, u"Léa"_s, u"http://a/4.jpg"_s, u"http://a/t4"_s}});
    window->categoryTab(cat)->setPanel(typed);
    const State before = state(*window, cat);

    click(*window, cat, adding ? u"bt_add_" : u"bt_maj_");

    QCOMPARE(fixture.messenger.texts(), QStringList{message});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Warning);
    const State after = state(*window, cat);
    QCOMPARE(after.panel, panel);
    QCOMPARE(after.rows, before.rows);
    QCOMPARE(after.stored, before.stored);
    QCOMPARE(after.authors, before.authors);
}

void TestEntryEditing::updateThroughTheWindow_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("storedUrl");
    QTest::addColumn<int>("gridRow"); // model row showing the number, -1 when none

    // An empty image box keeps the stored address; "Non disponible" typed in it replaces it.
    QTest::newRow("shown in another row") << u"025"_s << QString() << u"http://127.0.0.1/25.jpg"_s << 5;
    QTest::newRow("not shown") << u"031"_s << nd << nd << -1;
}

void TestEntryEditing::updateThroughTheWindow()
{
    QFETCH(QString, number);
    QFETCH(QString, url);
    QFETCH(QString, storedUrl);
    QFETCH(int, gridRow);
    const Category& cat = Category::dravé();
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(30);
    fixture.insert(cat, entries);
    auto window = openShown(fixture);
    QVERIFY(window);
    fixture.insert(cat, {{u"031"_s, u"Nantes"_s, u"Léa"_s, u"http://a/31.jpg"_s, u"http://a/t31"_s}});
    CategoryTab* tab = window->categoryTab(cat);
    std::reverse(entries.begin(), entries.end());
    tab->fill(entries); // 030 first, 001 last
    tab->scrollToGridRow(5);
    // The keeper selected the row of 024, then typed another number.
    tab->grid()->setCurrentIndex(tab->model()->index(6, 0));
    const int top = tab->topGridRow();
    QList<QStringList> expected = tab->model()->rows();
    type(child<QLineEdit>(window.get(), u"no_dravé"_s), number);
    type(child<QLineEdit>(window.get(), u"nom_dravé"_s), u"Lille "_s);
    type(child<QComboBox>(window.get(), u"list_dravé"_s)->lineEdit(), u"O'Neil"_s);
    type(child<QLineEdit>(window.get(), u"url_dravé"_s), url);
    type(child<QLineEdit>(window.get(), u"url_dravé_sor"_s), u"http://new/t"_s);
    QTest::mouseClick(child<QPushButton>(window.get(), u"bt_maj_dravé"_s), Qt::LeftButton);

    QVERIFY2(fixture.messenger.shown.isEmpty(), qPrintable(fixture.messenger.lastText()));
    QCOMPARE(stored(*window, cat, number),
             (PuzzleEntry{number, u"Lille "_s, u"O'Neil"_s, storedUrl, u"http://new/t"_s}));
    if (gridRow >= 0) {
        expected[gridRow] = {number, u"Lille "_s, u"O'Neil"_s};
    }
    QCOMPARE(tab->model()->rows(), expected);
    QCOMPARE(tab->topGridRow(), top);
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(Catalogue(fixture.folder().database()).authors(), QStringList{});
}

void TestEntryEditing::writeFailure_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("message");

    const QList<std::tuple<const char*, Breakage, QString>> causes{
        {"read-only connection", Breakage::ReadOnlyConnection, CatalogueTexts::readOnly()},
        {"locked file", Breakage::Locked, CatalogueTexts::locked()},
        {"refused by the engine", Breakage::EngineRefuses, CatalogueTexts::writeFailed()},
        {"read-only file", Breakage::ReadOnlyFile, CatalogueTexts::readOnly()}};
    for (const auto& [name, breakage, message] : causes) {
        QTest::addRow("add, %s", name) << true << breakage << message;
        QTest::addRow("update, %s", name) << false << breakage << message;
    }
}

void TestEntryEditing::writeFailure()
{
    QFETCH(bool, adding);
    QFETCH(Breakage, breakage);
    QFETCH(QString, message);
    const Category& cat = Category::dravé();
    Fixture fixture;
    fixture.insert(cat, Fixture::series(3));
    const QString path = fixture.folder().database();
    if (breakage == Breakage::ReadOnlyFile) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther));
        if (QFile probe(path); probe.open(QIODevice::ReadWrite)) {
            QSKIP("File permissions do not stop this user (root) from writing");
        }
    }
    auto window = openShown(fixture);
    QVERIFY(window);
    CategoryTab* tab = window->categoryTab(cat);
    // A new author on an add: registering it belongs to the same failed transaction.
    const PuzzleEntry typed = adding ? PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, {}}
                                     : PuzzleEntry{u"002"_s, u"Lille"_s, u"Max"_s, {}, {}};
    tab->setPanel(typed);
    tab->grid()->setCurrentIndex(tab->model()->index(1, 0));
    const State before = state(*window, cat);

    std::optional<FileLock> lock;
    if (breakage == Breakage::ReadOnlyConnection) {
        // The engine then answers every write as it does for a read-only file, whoever runs the test.
        QVERIFY(QSqlQuery(window->catalogue().database()).exec(u"PRAGMA query_only = ON"_s));
    } else if (breakage == Breakage::Locked) {
        QVERIFY(lock.emplace(path).held);
    } else if (breakage == Breakage::EngineRefuses) {
        // As the engine refuses a write when the disk is full.
        for (const QString& event : {u"INSERT"_s, u"UPDATE"_s}) {
            fixture.sql(
                u"CREATE TRIGGER refuse_%1 BEFORE %1 ON \"dravé\" BEGIN SELECT RAISE(ABORT, 'full'); END"_s.arg(event));
        }
    }

    click(*window, cat, adding ? u"bt_add_" : u"bt_maj_");

    // The automatic backup taken before the run's first write fails for the same cause and says so first.
    if (breakage != Breakage::EngineRefuses && fixture.messenger.shown.size() == 2) {
        QCOMPARE(fixture.messenger.shown.first().text, CatalogueTexts::backupFailed().arg(fixture.folder().backups()));
        fixture.messenger.shown.removeFirst();
    }
    QCOMPARE(fixture.messenger.texts(), QStringList{message.arg(path)});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Critical);
    QVERIFY(!fixture.messenger.shown.first().detail.isEmpty());
    QCOMPARE(tab->panel(), typed);
    QCOMPARE(tab->model()->rows(), before.rows);
    QCOMPARE(tab->grid()->currentIndex().row(), 1);

    lock.reset();
    if (breakage == Breakage::ReadOnlyFile) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    const State after = state(*window, cat);
    QCOMPARE(after.stored, before.stored);
    QCOMPARE(after.authors, before.authors);
    if (breakage == Breakage::ReadOnlyFile) {
        return; // the open catalogue stays read-only until the program is restarted
    }

    // Once the cause is gone, the same click goes through.
    QSqlQuery(window->catalogue().database()).exec(u"PRAGMA query_only = OFF"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse_INSERT"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse_UPDATE"_s);
    click(*window, cat, adding ? u"bt_add_" : u"bt_maj_");
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(stored(*window, cat, typed.ref).answer, typed.answer);
}

QTEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
