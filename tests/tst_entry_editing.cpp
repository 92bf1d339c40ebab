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
const QStringList authors{u"Léa"_s, u"Max"_s};

/// A catalogue whose series holds entries 001 … count, and the main window shown on it.
struct Scene {
    Scene(const Category& category, int count)
        : category(category)
    {
        fixture.insert(category, Fixture::series(count, authors));
    }
    bool open()
    {
        window = fixture.openWindow();
        if (!window) {
            return false;
        }
        window->show();
        tab = window->categoryTab(category);
        return QTest::qWaitForWindowExposed(window.get());
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
    /// Fills the grid from 030 … down to 001, as a sort by another column shows it.
    void reverseGrid()
    {
        QList<PuzzleEntry> entries = Fixture::series(tab->model()->rowCount(), authors);
        std::reverse(entries.begin(), entries.end());
        tab->fill(entries);
    }

    const Category& category;
    Fixture fixture;
    std::unique_ptr<MainWindow> window;
    CategoryTab* tab = nullptr;
};

enum class Breakage { ReadOnlyConnection, Locked, EngineRefuses, ReadOnlyFile };

} // namespace

class TestEntryEditing : public QObject {
    Q_OBJECT

private slots:
    void addThroughTheWindow();
    void updateThroughTheWindow();
    void refusedChangesNothing_data();
    void refusedChangesNothing();
    void writeFailure_data();
    void writeFailure();
};

void TestEntryEditing::addThroughTheWindow()
{
    Scene scene(Category::plomé(), 41);
    QVERIFY(scene.open());
    scene.window->tabs()->setCurrentIndex(Category::plomé().tabIndex);
    CategoryTab* tab = scene.tab;
    scene.reverseGrid(); // the expected number is still the row count
    tab->showFirstRows();
    auto* author = scene.widget<QComboBox>(u"list_");
    const int listed = author->count();

    QTest::keyClicks(scene.widget<QLineEdit>(u"no_"), u"042"_s);
    QTest::keyClicks(scene.widget<QLineEdit>(u"nom_"), u" Le Puy "_s);
    QTest::keyClicks(author->lineEdit(), u"Noe"_s);
    QTest::keyClicks(scene.widget<QLineEdit>(u"url_", u"_sor"), u"http://forum/42"_s);
    QTest::mouseClick(scene.widget<QPushButton>(u"bt_add_"), Qt::LeftButton);

    QVERIFY2(scene.fixture.messenger.shown.isEmpty(), qPrintable(scene.fixture.messenger.lastText()));
    QCOMPARE(scene.stored(u"042"_s), (PuzzleEntry{u"042"_s, u" Le Puy "_s, u"Noe"_s, nd, u"http://forum/42"_s}));
    // Appended at the bottom, made current and scrolled into view; the author lists stay as built at start.
    QCOMPARE(tab->model()->rowCount(), 42);
    QCOMPARE(tab->model()->row(41), (QStringList{u"042"_s, u" Le Puy "_s, u"Noe"_s}));
    QCOMPARE(tab->grid()->currentIndex().row(), 41);
    QVERIFY(tab->topGridRow() > 1);
    QVERIFY(tab->grid()->viewport()->rect().contains(tab->grid()->visualRect(tab->model()->index(41, 0)).center()));
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QCOMPARE(author->count(), listed);
}

void TestEntryEditing::updateThroughTheWindow()
{
    Scene scene(Category::dravé(), 30);
    QVERIFY(scene.open());
    CategoryTab* tab = scene.tab;
    scene.reverseGrid();
    tab->scrollToGridRow(5);
    // The keeper selected the row of 024, then typed the number shown in the first row, with an empty image box.
    tab->grid()->setCurrentIndex(tab->model()->index(6, 0));
    const int top = tab->topGridRow();
    QList<QStringList> rows = tab->model()->rows();
    tab->setPanel({u"030"_s, u"Lille "_s, u"O'Neil"_s, {}, u"http://new/t"_s});
    QTest::mouseClick(scene.widget<QPushButton>(u"bt_maj_"), Qt::LeftButton);

    QVERIFY2(scene.fixture.messenger.shown.isEmpty(), qPrintable(scene.fixture.messenger.lastText()));
    QCOMPARE(scene.stored(u"030"_s),
             (PuzzleEntry{u"030"_s, u"Lille "_s, u"O'Neil"_s, u"http://127.0.0.1/30.jpg"_s, u"http://new/t"_s}));
    rows[0] = {u"030"_s, u"Lille "_s, u"O'Neil"_s};
    QCOMPARE(tab->model()->rows(), rows);
    QCOMPARE(tab->topGridRow(), top);
    QCOMPARE(tab->panel(), PuzzleEntry{});
    QVERIFY(Catalogue(scene.fixture.folder().database()).authors().isEmpty()); // an update registers no author
}

void TestEntryEditing::refusedChangesNothing_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<PuzzleEntry>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<PuzzleEntry>("panel"); // after the refusal

    const auto row = [](const char* name, bool adding, const QString& number, const QString& answer,
                        const QString& message) {
        const PuzzleEntry typed{number, answer, u"Max"_s, {}, {}};
        QTest::newRow(name) << adding << typed << message << typed;
    };
    // The grid counts 3 rows; another program has stored 004 behind its back.
    row("add, out of sequence", true, u"005"_s, u"Lyon"_s, u"Le numéro ne suit pas. Il doit être égal à 4"_s);
    row("update, answer of spaces", false, u"002"_s, u"  "_s, u"Nom non renseigné."_s);
    row("update, two digits are sought as typed", false, u"2"_s, u"Lyon"_s, u"N° 2 inconnu."_s);
    // The refused add has already filled the empty addresses, and not registered Nouvel.
    QTest::newRow("add, number stored behind the grid")
        << true << PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, {}} << u"N° 004 déjà existant."_s
        << PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, nd, nd};
}

void TestEntryEditing::refusedChangesNothing()
{
    QFETCH(bool, adding);
    QFETCH(PuzzleEntry, typed);
    QFETCH(QString, message);
    QFETCH(PuzzleEntry, panel);
    Scene scene(Category::dravé(), 3);
    QVERIFY(scene.open());
    scene.fixture.insert(Category::dravé(), {{u"004"_s, u"Nantes"_s, u"Léa"_s, u"http://a/4.jpg"_s, u"http://a/t4"_s}});
    scene.tab->setPanel(typed);
    const auto before = scene.state();

    scene.widget<QPushButton>(adding ? u"bt_add_" : u"bt_maj_")->click();

    QCOMPARE(scene.fixture.messenger.texts(), QStringList{message});
    QCOMPARE(scene.fixture.messenger.shown.first().icon, Icon::Warning);
    QCOMPARE(scene.tab->panel(), panel);
    scene.tab->setPanel(typed);
    QCOMPARE(scene.state(), before);
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
    Scene scene(Category::dravé(), 3);
    Fixture& fixture = scene.fixture;
    const QString path = fixture.folder().database();
    if (breakage == Breakage::ReadOnlyFile) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther));
        if (QFile probe(path); probe.open(QIODevice::ReadWrite)) {
            QSKIP("File permissions do not stop this user (root) from writing");
        }
    }
    QVERIFY(scene.open());
    // A new author on an add: registering it belongs to the same failed transaction.
    const PuzzleEntry typed = adding ? PuzzleEntry{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, {}}
                                     : PuzzleEntry{u"002"_s, u"Lille"_s, u"Max"_s, {}, {}};
    scene.tab->setPanel(typed);
    const auto before = scene.state();

    std::optional<Catalogue> other;
    if (breakage == Breakage::ReadOnlyConnection) {
        // The engine then answers every write as it does for a read-only file, whoever runs the test.
        QVERIFY(QSqlQuery(scene.window->catalogue().database()).exec(u"PRAGMA query_only = ON"_s));
    } else if (breakage == Breakage::Locked) {
        // Another program holds the whole file until its connection is closed.
        QVERIFY(QSqlQuery(other.emplace(path).database()).exec(u"BEGIN EXCLUSIVE"_s));
    } else if (breakage == Breakage::EngineRefuses) {
        // As the engine refuses a write when the disk is full.
        for (const QString& event : {u"INSERT"_s, u"UPDATE"_s}) {
            fixture.sql(
                u"CREATE TRIGGER refuse_%1 BEFORE %1 ON \"dravé\" BEGIN SELECT RAISE(ABORT, 'full'); END"_s.arg(event));
        }
    }
    const auto click = [&] { scene.widget<QPushButton>(adding ? u"bt_add_" : u"bt_maj_")->click(); };
    click();

    // The automatic backup taken before the run's first write fails for the same cause and says so first.
    if (breakage != Breakage::EngineRefuses && fixture.messenger.shown.size() == 2) {
        QCOMPARE(fixture.messenger.shown.first().text, CatalogueTexts::backupFailed().arg(fixture.folder().backups()));
        fixture.messenger.shown.removeFirst();
    }
    QCOMPARE(fixture.messenger.texts(), QStringList{message.arg(path)});
    QCOMPARE(fixture.messenger.shown.first().icon, Icon::Critical);
    QVERIFY(!fixture.messenger.shown.first().detail.isEmpty());
    other.reset();
    if (breakage == Breakage::ReadOnlyFile) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    QCOMPARE(scene.state(), before);
    if (breakage == Breakage::ReadOnlyFile) {
        return; // the open catalogue stays read-only until the program is restarted
    }

    // Once the cause is gone, the same click goes through.
    QSqlQuery(scene.window->catalogue().database()).exec(u"PRAGMA query_only = OFF"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse_INSERT"_s);
    fixture.sql(u"DROP TRIGGER IF EXISTS refuse_UPDATE"_s);
    click();
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(scene.tab->panel(), PuzzleEntry{});
    QCOMPARE(scene.stored(typed.ref).answer, typed.answer);
}

QTEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
