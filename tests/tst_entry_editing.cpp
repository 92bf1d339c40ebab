// Adding and correcting an entry: the rules of the typed panel, then the real add, update and search of the main
// window, hostile texts included, and every refused or failed operation that must change nothing.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueTexts.h"
#include "editing/EntryChecks.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using Edited = EntryChecks::EditedAddresses;

char* toString(const PuzzleEntry& entry)
{
    return QTest::toString(QStringList{entry.ref, entry.answer, entry.author, entry.url, entry.link}.join(u'|'));
}

namespace {

const QString nd = u"Non disponible"_s;
const QString sequence = u"Le numéro ne suit pas. Il doit être égal à %1"_s;
const QString dravéNumber = u"Numéro de dravé non numérique ou absent."_s;
const QString noAnswer = u"Nom non renseigné."_s;
const QStringList authors{u"Léa"_s, u"Max"_s};

/// A refused row of the rules; `expected` is the add's expected number, 0 for an update.
void refused(const char* name, const QString& number, const QString& answer, const QString& author, int expected,
             const QString& message, const Category& category = Category::dravé())
{
    QTest::newRow(name) << category.index << PuzzleEntry{number, answer, author, {}, {}} << expected << message
                        << PuzzleEntry{} << Edited{};
}

/// An accepted row, with the two addresses then stored; `edited`: the boxes the keeper edited (an update).
void accepted(const char* name, const PuzzleEntry& typed, int expected, const QString& url, const QString& link,
              Edited edited = {})
{
    QTest::newRow(name) << 0 << typed << expected << QString()
                        << PuzzleEntry{typed.ref, typed.answer, typed.author, url, link} << edited;
}

/// A catalogue whose `category` holds entries 001 … count, and the main window shown on its tab.
struct Scene {
    Scene(const Category& category, int count, bool readOnlyFile = false)
        : category(category)
    {
        fixture.insert(category, Fixture::series(count, authors));
        if (readOnlyFile) {
            QFile::setPermissions(fixture.folder().database(), QFile::ReadOwner);
        }
        window = fixture.openShown(category.tabIndex);
        tab = window ? window->categoryTab(category) : nullptr;
    }
    void click(QStringView button) { child<QPushButton>(window.get(), category.name(button))->click(); }
    // A connection of its own reads what the file really holds.
    QList<PuzzleEntry> stored(const Category& of) const
    {
        return Catalogue(fixture.folder().database()).entries(of, EntryOrder::Stored);
    }
    /// What the keeper sees and what the file holds, to tell that a refused or failed operation changed nothing.
    auto state() const
    {
        return std::tuple{tab->model()->rows(), tab->panel(), stored(category),
                          Catalogue(fixture.folder().database()).authors()};
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
    void checks_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<PuzzleEntry>("typed");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<PuzzleEntry>("stored");
        QTest::addColumn<Edited>("edited");

        // Texts are kept with their spaces, only the plain apostrophe is refused, and only an exactly empty address box
        // takes the placeholder (an add) or keeps the stored address http://old/… (an update).
        accepted("add 042 after 41 entries", {u"042"_s, u" Lyon "_s, u" O’Neil "_s, {}, u"http://a/t"_s}, 42, nd,
                 u"http://a/t"_s);
        accepted("add 001 opens an empty series", {u"001"_s, u"Lyon"_s, u"Léa"_s, u" "_s, {}}, 1, u" "_s, nd);
        refused("add 043 after 41 entries", u"043"_s, u"Lyon"_s, u"Léa"_s, 42, sequence.arg(42));
        refused("add 041 after 41 entries", u"041"_s, u"Lyon"_s, u"Léa"_s, 42, sequence.arg(42));
        refused("add 41 after 41 entries, length before sequence", u"41"_s, u"Lyon"_s, u"Léa"_s, 42,
                u"Le numéro doit être sur 3 caractères."_s);
        refused("add 42, too short", u"42"_s, u"Lyon"_s, u"Léa"_s, 42, u"Le numéro doit être sur 3 caractères."_s);
        refused("add 0042, too long", u"0042"_s, u"Lyon"_s, u"Léa"_s, 42, u"Le numéro doit être sur 3 caractères."_s);
        refused("add, sequence past 999", u"999"_s, u"Lyon"_s, u"Léa"_s, 1000, sequence.arg(1000));
        refused("add, letters", u"abc"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
        refused("add, empty number, message of the series", {}, u"Lyon"_s, u"Léa"_s, 42,
                u"Numéro de titres non numérique ou absent."_s, Category::vantorel());
        // Three characters whose value is the expected number, but not three plain digits.
        refused("add, leading space", u" 42"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
        refused("add, other digits", u"٠٤٢"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
        refused("add, apostrophe before a bad number", u"abc"_s, u"Lyon"_s, u"O'Neil"_s, 42,
                u"Apostrophe non autorisée dans le pseudo."_s);
        refused("add, number before answer", u"043"_s, {}, {}, 42, sequence.arg(42));
        refused("add, answer of spaces before author", u"042"_s, u"   "_s, u"  "_s, 42, noAnswer);
        refused("add, author of spaces", u"042"_s, u"Lyon"_s, u"   "_s, 42, u"Auteur non renseigné."_s);
        // No length, sequence or apostrophe test on an update: these go on to the look-up of the number.
        accepted("update, two digits", {u"42"_s, u"Lyon"_s, u"Léa"_s, {}, u" "_s}, 0, u"http://old/1.jpg"_s, u" "_s);
        accepted("update, apostrophe stored", {u"042"_s, u"Lyon"_s, u"O'Neil"_s, nd, {}}, 0, nd, u"http://old/t1"_s,
                 {true, false});
        // The placeholder a refused add wrote into untouched boxes is no address the keeper gave.
        accepted("update, placeholder of a refused add", {u"042"_s, u"Lyon"_s, u"Léa"_s, nd, nd}, 0,
                 u"http://old/1.jpg"_s, u"http://old/t1"_s);
        // A box the keeper emptied by hand says the address is gone; one the program emptied keeps it.
        accepted("update, image box emptied by hand", {u"042"_s, u"Lyon"_s, u"Léa"_s, {}, {}}, 0, nd,
                 u"http://old/t1"_s, {true, false});
        accepted("update, forum box emptied by hand", {u"042"_s, u"Lyon"_s, u"Léa"_s, {}, {}}, 0, u"http://old/1.jpg"_s,
                 nd, {false, true});
        refused("update, empty number, message of the series", {}, u"Lyon"_s, u"Léa"_s, 0,
                u"Numéro de titres non numérique ou absent."_s, Category::vantorel());
        refused("update, letters before answer", u"x"_s, {}, {}, 0, dravéNumber);
        refused("update, answer of spaces before author", u"042"_s, u"  "_s, {}, 0, noAnswer);
        refused("update, author of spaces", u"042"_s, u"Lyon"_s, u"  "_s, 0, u"Auteur non renseigné."_s);
    }

    void checks()
    {
        QFETCH(int, category);
        QFETCH(PuzzleEntry, typed);
        QFETCH(int, expected);
        QFETCH(QString, message);
        QFETCH(PuzzleEntry, stored);
        QFETCH(Edited, edited);
        const Category& cat = Category::all().at(category);
        const PuzzleEntry old{typed.ref, u"Avant"_s, u"Léa"_s, u"http://old/1.jpg"_s, u"http://old/t1"_s};
        const auto refusal =
            expected > 0 ? EntryChecks::refuseAdd(cat, typed, expected) : EntryChecks::refuseUpdate(cat, typed);
        const PuzzleEntry kept = expected > 0 ? EntryChecks::withAddressDefaults(typed)
                                              : EntryChecks::withStoredAddresses(typed, old, edited);
        QCOMPARE(std::pair(refusal.value_or(QString()), refusal ? PuzzleEntry{} : kept), std::pair(message, stored));
    }

    void addUpdateAndSearch_data()
    {
        QTest::addColumn<QString>("text");      // the answer, an address and an author
        QTest::addColumn<QString>("criterion"); // a part of the text, which finds no "Réponse N"
        QTest::newRow("spaces kept") << u" Le Puy "_s << u"e P"_s;
        QTest::newRow("10,000 characters") << QString(10'000, u'é') << u"éé"_s;
        QTest::newRow("control characters") << u"a\tb\u0001c\u007fd\u001be"_s << u"\u0001c\u007f"_s;
        QTest::newRow("right-to-left") << u"مرحبا עולם \u202Eabc"_s << u"עולם \u202E"_s;
        QTest::newRow("emoji") << u"🧩 énigme 🎉👩‍👩‍👧"_s << u"👩‍👩‍👧"_s;
        QTest::newRow("SQL metacharacters") << u"x\"; DROP TABLE \"dravé\"; -- \\ ;"_s << u"-- \\"_s;
        QTest::newRow("SQL quote") << u"'; DROP TABLE dravé; --"_s << u"'"_s;
        QTest::newRow("percent") << u"100 % vrai"_s << u"%"_s;
        QTest::newRow("underscore") << u"mot_clé"_s << u"_"_s;
    }

    void addUpdateAndSearch()
    {
        QFETCH(QString, text);
        QFETCH(QString, criterion);
        Scene scene(Category::plomé(), 40);
        QVERIFY(scene.tab);
        scene.fixture.insert(Category::dravé(), Fixture::series(1));
        CategoryTab* tab = scene.tab;
        // 040 first, 001 last, as a sort by another column shows it: the expected number is still the row count.
        QList<PuzzleEntry> entries = Fixture::series(40, authors);
        tab->fill({entries.crbegin(), entries.crend()});
        tab->showFirstRows();
        QList<QStringList> rows = tab->model()->rows();
        const int listed = tab->authorBox()->count();

        // Nothing is written before the first change, which a copy of the file precedes.
        const CatalogueBackup backup(scene.fixture.folder().backups());
        QVERIFY(backup.copies(scene.window->catalogue()).isEmpty());
        QTest::keyClicks(tab->numberBox(), u"041"_s);
        tab->answerBox()->setText(text);
        tab->urlBox()->setText(text);
        // The start of a registered name ("Max") stays what was typed: a new pseudonym is not replaced by another.
        tab->authorBox()->setFocus();
        QTest::keyClicks(tab->authorBox()->lineEdit(), u"Ma"_s);
        QTest::keyClick(tab->authorBox()->lineEdit(), Qt::Key_Tab);
        scene.click(u"bt_add_");
        // Appended at the bottom, made current and scrolled into view; the author lists stay as built at start.
        rows.append({u"041"_s, text, u"Ma"_s});
        QCOMPARE(tab->model()->rows(), rows);
        QCOMPARE(tab->grid()->currentIndex().row(), 40);
        QVERIFY(tab->grid()->viewport()->rect().contains(tab->grid()->visualRect(tab->model()->index(40, 0)).center()));
        QCOMPARE(tab->panel(), PuzzleEntry{});
        QCOMPARE(tab->authorBox()->count(), listed);

        // An update rewrites the row that shows its number (the first), not the current one, and scrolls nowhere; an
        // empty image box keeps the stored address.
        const int top = tab->topGridRow();
        const QString quoted = u"«"_s + text + u"»"_s;
        tab->setPanel({u"040"_s, quoted, text, {}, text});
        scene.click(u"bt_maj_");
        rows[0] = {u"040"_s, quoted, text};
        QCOMPARE(tab->model()->rows(), rows);
        QCOMPARE(tab->topGridRow(), top);
        QCOMPARE(tab->panel(), PuzzleEntry{});
        // An address box the keeper empties by hand says the address is gone.
        tab->setPanel({u"039"_s, u"Nice"_s, u"Max"_s, u"http://a/39.jpg"_s, u"http://a/t39"_s});
        tab->urlBox()->selectAll();
        QTest::keyClick(tab->urlBox(), Qt::Key_Delete);
        scene.click(u"bt_maj_");
        entries[38] = {u"039"_s, u"Nice"_s, u"Max"_s, nd, u"http://a/t39"_s};
        entries[39] = {u"040"_s, quoted, text, entries[39].url, text};
        entries.append({u"041"_s, text, u"Ma"_s, text, nd});
        QCOMPARE(scene.stored(Category::plomé()), entries);
        QCOMPARE(scene.stored(Category::dravé()), Fixture::series(1));
        const QStringList copies = backup.copies(scene.window->catalogue());
        QCOMPARE(copies.size(), 1); // one for all three writes
        QCOMPARE(Catalogue(copies.first()).entries(Category::plomé(), EntryOrder::Stored),
                 Fixture::series(40, authors));

        SearchTab* search = scene.window->searchTab();
        search->option(Category::plomé().index)->click();
        search->criterion()->setText(criterion);
        search->searchButton()->click();
        // One row per hit, then an empty row.
        QCOMPARE(search->resultsModel()->rows(),
                 (QList<QStringList>{{u"040"_s, quoted}, {u"041"_s, text}, {QString(), QString()}}));
        QVERIFY2(scene.fixture.messenger.shown.isEmpty(), qPrintable(scene.fixture.messenger.lastText()));
    }

    void changesNothing_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<Cause>("cause");
        QTest::addColumn<PuzzleEntry>("typed");
        QTest::addColumn<QString>("message");

        // The grid counts 3 rows. A new author on an add: registering it belongs to the same operation.
        const PuzzleEntry add{u"004"_s, u"Lyon"_s, u"Nouvel"_s, {}, {}};
        const PuzzleEntry update{u"002"_s, u"Lille"_s, u"Max"_s, {}, {}};
        QTest::newRow("add, out of sequence")
            << true << Cause::Refused << PuzzleEntry{u"005"_s, u"Lyon"_s, u"Max"_s, {}, {}} << sequence.arg(4);
        QTest::newRow("update, answer of spaces")
            << false << Cause::Refused << PuzzleEntry{u"002"_s, u"  "_s, u"Max"_s, {}, {}} << noAnswer;
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

    void changesNothing()
    {
        QFETCH(bool, adding);
        QFETCH(Cause, cause);
        QFETCH(PuzzleEntry, typed);
        QFETCH(QString, message);
        Scene scene(Category::dravé(), 3, cause == Cause::ReadOnlyFile);
        QVERIFY(scene.tab);
        Fixture& fixture = scene.fixture;
        const QString path = fixture.folder().database();
        const bool failure = cause >= Cause::ReadOnlyConnection;
        if (QFile probe(path); cause == Cause::ReadOnlyFile && probe.open(QIODevice::ReadWrite)) {
            QSKIP("File permissions do not stop this user (root) from writing");
        }
        if (cause == Cause::StoredBehind) {
            fixture.insert(Category::dravé(), {Fixture::series(4).at(3)});
        }
        scene.tab->setPanel(typed);
        const auto before = scene.state();
        // The automatic backup, which has its own tests, would report the same failure first.
        scene.window->catalogue().setBeforeFirstWrite({});
        QSqlQuery own(scene.window->catalogue().database());
        std::optional<Catalogue> other;
        if (cause == Cause::ReadOnlyConnection) {
            // The engine then answers every write as it does for a read-only file, whoever runs the test.
            QVERIFY(own.exec(u"PRAGMA query_only = ON"_s));
        } else if (cause == Cause::Locked) {
            // Another program holds the whole file until its connection is closed.
            QVERIFY(QSqlQuery(other.emplace(path).database()).exec(u"BEGIN EXCLUSIVE"_s));
        } else if (cause == Cause::EngineRefuses) {
            // As the engine refuses a write when the disk is full.
            fixture.sql(u"CREATE TRIGGER refuse BEFORE %1 ON \"dravé\" BEGIN SELECT RAISE(ABORT, 'full'); END"_s.arg(
                adding ? u"INSERT"_s : u"UPDATE"_s));
        }
        const QString button = adding ? u"bt_add_"_s : u"bt_maj_"_s;
        scene.click(button);

        const FakeMessenger::Shown& shown = fixture.messenger.shown.value(0);
        QCOMPARE(fixture.messenger.texts(), QStringList{failure ? message.arg(path) : message});
        QCOMPARE(std::pair(shown.icon, shown.detail.isEmpty()),
                 std::pair(failure ? Messenger::Icon::Critical : Messenger::Icon::Warning, !failure));
        QCOMPARE(shown.detail.count(u'\n'), failure ? 1 : 0); // Qt's words, then the engine's on a line of its own
        // The add refused for a number stored behind the grid has already filled the empty addresses.
        const QString filled = cause == Cause::StoredBehind ? nd : QString();
        QCOMPARE(scene.tab->panel(), (PuzzleEntry{typed.ref, typed.answer, typed.author, filled, filled}));
        scene.tab->setPanel(typed);
        other.reset();
        QCOMPARE(scene.state(), before);
        if (!failure || cause == Cause::ReadOnlyFile) {
            return; // the open catalogue stays read-only until the program is restarted
        }

        // Once the cause is gone, the same click goes through.
        own.exec(u"PRAGMA query_only = OFF"_s);
        fixture.sql(u"DROP TRIGGER IF EXISTS refuse"_s);
        scene.click(button);
        QCOMPARE(fixture.messenger.shown.size(), 1);
        QCOMPARE(scene.tab->panel(), PuzzleEntry{});
        QCOMPARE(Catalogue(path).entry(Category::dravé(), typed.ref).value_or(PuzzleEntry{}).answer, typed.answer);
    }
};

QTEST_MAIN(TestEntryEditing)
#include "tst_entry_editing.moc"
