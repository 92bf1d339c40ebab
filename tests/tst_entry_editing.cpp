#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

char* toString(const PuzzleEntry& entry)
{
    return QTest::toString(QStringList{entry.ref, entry.answer, entry.author, entry.url, entry.link}.join(u'|'));
}

namespace {

const QString nd = u"Non disponible"_s;
const QStringList authors{u"Léa"_s, u"Max"_s};

/// A catalogue whose series holds entries 001 … count, and the main window on it.
struct Scene {
    Scene(const Category& category, int count)
        : category(category)
    {
        fixture.insert(category, Fixture::series(count, authors));
    }
    bool open()
    {
        window = fixture.openWindow();
        tab = window ? window->categoryTab(category) : nullptr;
        return tab;
    }
    template <typename T> T* widget(QStringView prefix, QStringView suffix = {})
    {
        return child<T>(window.get(), category.name(prefix, suffix));
    }
    // A connection of its own reads what the file really holds.
    PuzzleEntry stored(const QString& ref) const
    {
        return Catalogue(fixture.folder().database()).entry(category, ref).value_or(PuzzleEntry{});
    }
    /// What the keeper sees and what the file holds, to tell that a refused or failed operation changed nothing.
    auto state() const
    {
        const Catalogue file(fixture.folder().database());
        return std::tuple{tab->model()->rows(), tab->panel(), file.entries(category, EntryOrder::Stored),
                          file.authors()};
    }

    const Category& category;
    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = nullptr;
};

enum class Cause { Refused, StoredBehind, ReadOnlyConnection, Locked, EngineRefuses, ReadOnlyFile };

} // namespace

class TestEntryEditing : public QObject {
    Q_OBJECT

private slots:
    void addThenUpdateThroughTheWindow();
    void changesNothing_data();
    void changesNothing();
};

void TestEntryEditing::addThenUpdateThroughTheWindow()
{
    Scene scene(Category::plomé(), 40);
    QVERIFY(scene.open());
    scene.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(scene.window.get()));
    scene.window->tabs()->setCurrentIndex(Category::plomé().tabIndex);
    CategoryTab* tab = scene.tab;
    // 040 first, 001 last, as a sort by another column shows it: the expected number is still the row count.
    QList<PuzzleEntry> entries = Fixture::series(40, authors);
    std::reverse(entries.begin(), entries.end());
    tab->fill(entries);
    tab->showFirstRows();
    auto* author = scene.widget<QComboBox>(u"list_");
    const int listed = author->count();

    QTest::keyClicks(scene.widget<QLineEdit>(u"no_"), u"041"_s);
    QTest::keyClicks(scene.widget<QLineEdit>(u"nom_"), u" Le Puy "_s);
    // The start of a registered name ("Max") stays what was typed: a new pseudonym is not replaced by another.
    scene.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(scene.window.get()));
    author->setFocus();
    QTest::keyClicks(author->lineEdit(), u"Ma"_s);
    QTest::keyClick(author->lineEdit(), Qt::Key_Tab);
    QTest::keyClicks(scene.widget<QLineEdit>(u"url_", u"_sor"), u"http://forum/41"_s);
    QTest::mouseClick(scene.widget<QPushButton>(u"bt_add_"), Qt::LeftButton);

    QCOMPARE(scene.stored(u"041"_s), (PuzzleEntry{u"041"_s, u" Le Puy "_s, u"Ma"_s, nd, u"http://forum/41"_s}));
    // Appended at the bottom, made current and scrolled into view; the author lists stay as built at start.
    QCOMPARE(tab->model()->rowCount(), 41);
    QCOMPARE(tab->model()->row(40), (QStringList{u"041"_s, u" Le Puy "_s, u"Ma"_s}));
    QCOMPARE(tab->grid()->currentIndex().row(), 40);
    QVERIFY(tab->topGridRow() > 1);
    QVERIFY(tab->grid()->viewport()->rect().contains(tab->grid()->visualRect(tab->model()->index(40, 0)).center()));
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(author->count(), listed);

    // An update rewrites the row that shows its number (the first), not the current one, and scrolls nowhere; an
    // empty image box keeps the stored address.
    const int top = tab->topGridRow();
    QList<QStringList> rows = tab->model()->rows();
    tab->setPanel({u"040"_s, u"Lille "_s, u"O'Neil"_s, {}, u"http://new/t"_s});
    scene.widget<QPushButton>(u"bt_maj_")->click();
    QCOMPARE(scene.stored(u"040"_s),
             (PuzzleEntry{u"040"_s, u"Lille "_s, u"O'Neil"_s, u"http://127.0.0.1/40.jpg"_s, u"http://new/t"_s}));
    rows[0] = {u"040"_s, u"Lille "_s, u"O'Neil"_s};
    QCOMPARE(tab->model()->rows(), rows);
    QCOMPARE(tab->topGridRow(), top);
    QCOMPARE(tab->panel(), PuzzleEntry{});

    // An address box the keeper empties by hand says the address is gone.
    tab->setPanel({u"039"_s, u"Nice"_s, u"Max"_s, u"http://a/39.jpg"_s, u"http://a/t39"_s});
    QLineEdit* url = scene.widget<QLineEdit>(u"url_");
    url->selectAll();
    QTest::keyClick(url, Qt::Key_Delete);
    scene.widget<QPushButton>(u"bt_maj_")->click();
    QCOMPARE(scene.stored(u"039"_s), (PuzzleEntry{u"039"_s, u"Nice"_s, u"Max"_s, nd, u"http://a/t39"_s}));
    QVERIFY2(scene.fixture.messenger.shown.isEmpty(), qPrintable(scene.fixture.messenger.lastText()));
}

void TestEntryEditing::changesNothing_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<Cause>("cause");
    QTest::addColumn<PuzzleEntry>("typed");
    QTest::addColumn<QString>("message");

    // The grid counts 3 rows. A new author on an add: registering it belongs to the same operation.
    const PuzzleEntry add{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, {}};
    const PuzzleEntry update{u"002"_s, u"Lille"_s, u"Max"_s, {}, {}};
    QTest::newRow("add, out of sequence")
        << true << Cause::Refused << PuzzleEntry{u"005"_s, u"Lyon"_s, u"Max"_s, {}, {}}
        << u"Le numéro ne suit pas. Il doit être égal à 4"_s;
    QTest::newRow("update, answer of spaces")
        << false << Cause::Refused << PuzzleEntry{u"002"_s, u"  "_s, u"Max"_s, {}, {}} << u"Nom non renseigné."_s;
    QTest::newRow("update, two digits are sought as typed")
        << false << Cause::Refused << PuzzleEntry{u"2"_s, u"Lyon"_s, u"Max"_s, {}, {}} << u"N° 2 inconnu."_s;
    QTest::newRow("add, number stored behind the grid")
        << true << Cause::StoredBehind << add << u"N° 004 déjà existant."_s;
    const QList<std::tuple<const char*, Cause, QString>> failures{
        {"read-only connection", Cause::ReadOnlyConnection, CatalogueTexts::readOnly()},
        {"locked file", Cause::Locked, CatalogueTexts::locked()},
        {"refused by the engine", Cause::EngineRefuses, CatalogueTexts::writeFailed()},
        {"read-only file", Cause::ReadOnlyFile, CatalogueTexts::readOnly()}};
    for (const auto& [name, cause, message] : failures) {
        QTest::addRow("add, %s", name) << true << cause << add << message;
        QTest::addRow("update, %s", name) << false << cause << update << message;
    }
}

void TestEntryEditing::changesNothing()
{
    QFETCH(bool, adding);
    QFETCH(Cause, cause);
    QFETCH(PuzzleEntry, typed);
    QFETCH(QString, message);
    Scene scene(Category::dravé(), 3);
    Fixture& fixture = scene.fixture;
    const QString path = fixture.folder().database();
    const bool failure = cause >= Cause::ReadOnlyConnection;
    if (cause == Cause::ReadOnlyFile) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther));
        if (QFile probe(path); probe.open(QIODevice::ReadWrite)) {
            QSKIP("File permissions do not stop this user (root) from writing");
        }
    }
    QVERIFY(scene.open());
    if (cause == Cause::StoredBehind) {
        fixture.insert(Category::dravé(), {{u"004"_s, u"Nantes"_s, u"Léa"_s, u"http://a/4.jpg"_s, u"http://a/t4"_s}});
    }
    scene.tab->setPanel(typed);
    const auto before = scene.state();
    // The automatic backup, which has its own tests, would report the same failure first.
    scene.window->catalogue().setBeforeFirstWrite({});
    std::optional<Catalogue> other;
    if (cause == Cause::ReadOnlyConnection) {
        // The engine then answers every write as it does for a read-only file, whoever runs the test.
        QVERIFY(QSqlQuery(scene.window->catalogue().database()).exec(u"PRAGMA query_only = ON"_s));
    } else if (cause == Cause::Locked) {
        // Another program holds the whole file until its connection is closed.
        QVERIFY(QSqlQuery(other.emplace(path).database()).exec(u"BEGIN EXCLUSIVE"_s));
    } else if (cause == Cause::EngineRefuses) {
        // As the engine refuses a write when the disk is full.
        fixture.sql(u"CREATE TRIGGER refuse BEFORE %1 ON \"dravé\" BEGIN SELECT RAISE(ABORT, 'full'); END"_s.arg(
            adding ? u"INSERT"_s : u"UPDATE"_s));
    }
    const auto click = [&] { scene.widget<QPushButton>(adding ? u"bt_add_" : u"bt_maj_")->click(); };
    click();

    QCOMPARE(fixture.messenger.texts(), QStringList{failure ? message.arg(path) : message});
    QCOMPARE(fixture.messenger.shown.first().icon, failure ? Messenger::Icon::Critical : Messenger::Icon::Warning);
    QCOMPARE(fixture.messenger.shown.first().detail.isEmpty(), !failure);
    // The add refused for a number stored behind the grid has already filled the empty addresses.
    const bool filled = cause == Cause::StoredBehind;
    QCOMPARE(scene.tab->panel(),
             (PuzzleEntry{typed.ref, typed.answer, typed.author, filled ? nd : QString(), filled ? nd : QString()}));
    scene.tab->setPanel(typed);
    other.reset();
    QCOMPARE(scene.state(), before);
    if (!failure || cause == Cause::ReadOnlyFile) {
        return; // the open catalogue stays read-only until the program is restarted
    }

    // Once the cause is gone, the same click goes through.
    QSqlQuery(scene.window->catalogue().database()).exec(u"PRAGMA query_only = OFF"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse"_s);
    click();
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(scene.tab->panel(), PuzzleEntry{});
    QCOMPARE(scene.stored(typed.ref).answer, typed.answer);
}

QTEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
