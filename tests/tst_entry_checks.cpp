#include "editing/EditingTexts.h"
#include "editing/EntryChecks.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString dravéNumber = u"Numéro de dravé non numérique ou absent."_s;
const QString length = u"Le numéro doit être sur 3 caractères."_s;
const QString apostrophe = u"Apostrophe non autorisée dans le pseudo."_s;
const QString noAnswer = u"Nom non renseigné."_s;
const QString noAuthor = u"Auteur non renseigné."_s;
const QString nd = u"Non disponible"_s;

QString sequence(int expected)
{
    return u"Le numéro ne suit pas. Il doit être égal à %1"_s.arg(expected);
}

/// One Dravé row of the check table; `expected` is the add's expected number, 0 for an update.
void row(const char* name, const QString& number, const QString& answer, const QString& author, int expected,
         const QString& message, int category = 0)
{
    QTest::newRow(name) << category << number << answer << author << expected << message;
}

} // namespace

class TestEntryChecks : public QObject {
    Q_OBJECT

private slots:
    void checkOrder_data();
    void checkOrder();
    void addresses_data();
    void addresses();
};

void TestEntryChecks::checkOrder_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("author");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("message"); // empty: accepted

    row("add 042 after 41 entries", u"042"_s, u"Lyon"_s, u"Léa"_s, 42, {});
    row("add 043 after 41 entries", u"043"_s, u"Lyon"_s, u"Léa"_s, 42, sequence(42));
    row("add 041 after 41 entries", u"041"_s, u"Lyon"_s, u"Léa"_s, 42, sequence(42));
    row("add 42, too short", u"42"_s, u"Lyon"_s, u"Léa"_s, 42, length);
    row("add 0042, too long", u"0042"_s, u"Lyon"_s, u"Léa"_s, 42, length);
    row("add 001 opens an empty series", u"001"_s, u"Lyon"_s, u"Léa"_s, 1, {});
    row("add 000 in an empty series", u"000"_s, u"Lyon"_s, u"Léa"_s, 1, sequence(1));
    row("add, sequence past 999", u"999"_s, u"Lyon"_s, u"Léa"_s, 1000, sequence(1000));
    row("add, letters", u"abc"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, empty number", {}, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, message of the series", u"x"_s, u"Lyon"_s, u"Léa"_s, 42, u"Numéro de titres non numérique ou absent."_s,
        3);
    // Three characters whose value is the expected number, but not three digits.
    row("add, leading space", u" 42"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, trailing space", u"42 "_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, sign", u"+42"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, decimal point", u"42."_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, decimal comma", u"42,"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, exponent", u"1e2"_s, u"Lyon"_s, u"Léa"_s, 100, dravéNumber);
    row("add, negative", u"-01"_s, u"Lyon"_s, u"Léa"_s, 1, dravéNumber);
    row("add, other digits", u"٠٤٢"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    row("add, apostrophe before a bad number", u"abc"_s, u"Lyon"_s, u"O'Neil"_s, 42, apostrophe);
    row("add, apostrophe before everything", {}, {}, u"'"_s, 42, apostrophe);
    row("add, typographic apostrophe passes", u"042"_s, u"Lyon"_s, u"O’Neil"_s, 42, {});
    row("add, number before answer", u"043"_s, {}, {}, 42, sequence(42));
    row("add, answer of spaces", u"042"_s, u"   "_s, u"Léa"_s, 42, noAnswer);
    row("add, answer before author", u"042"_s, {}, u"  "_s, 42, noAnswer);
    row("add, author of spaces", u"042"_s, u"Lyon"_s, u"   "_s, 42, noAuthor);
    row("add, spaces around text pass", u"042"_s, u" Lyon "_s, u" Léa "_s, 42, {});
    // No length, sequence or apostrophe test on an update: these go on to the look-up of the number.
    row("update, two digits", u"42"_s, u"Lyon"_s, u"Léa"_s, 0, {});
    row("update, four digits", u"0042"_s, u"Lyon"_s, u"Léa"_s, 0, {});
    row("update, apostrophe stored", u"042"_s, u"Lyon"_s, u"O'Neil"_s, 0, {});
    row("update, letters", u"abc"_s, u"Lyon"_s, u"Léa"_s, 0, dravéNumber);
    row("update, empty number", {}, u"Lyon"_s, u"Léa"_s, 0, u"Numéro de titres non numérique ou absent."_s, 3);
    row("update, leading space", u" 42"_s, u"Lyon"_s, u"Léa"_s, 0, dravéNumber);
    row("update, exponent", u"1e2"_s, u"Lyon"_s, u"Léa"_s, 0, dravéNumber);
    row("update, number before answer", u"x"_s, {}, {}, 0, dravéNumber);
    row("update, answer of spaces", u"042"_s, u"  "_s, {}, 0, noAnswer);
    row("update, author of spaces", u"042"_s, u"Lyon"_s, u"  "_s, 0, noAuthor);
}

void TestEntryChecks::checkOrder()
{
    QFETCH(int, category);
    QFETCH(QString, number);
    QFETCH(QString, answer);
    QFETCH(QString, author);
    QFETCH(int, expected);
    QFETCH(QString, message);

    const Category& cat = Category::all().at(category);
    const PuzzleEntry typed{number, answer, author, {}, {}};
    const auto refusal =
        expected > 0 ? EntryChecks::refuseAdd(cat, typed, expected) : EntryChecks::refuseUpdate(cat, typed);
    QCOMPARE(refusal.value_or(QString()), message);
}

void TestEntryChecks::addresses_data()
{
    QTest::addColumn<bool>("updating");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("storedUrl");
    QTest::addColumn<QString>("storedLink");

    // An add fills empty boxes with the placeholder.
    QTest::newRow("add, both empty") << false << QString() << QString() << nd << nd;
    QTest::newRow("add, spaces are kept") << false << u" "_s << QString() << u" "_s << nd;
    QTest::newRow("add, both given") << false << u"http://a/1.jpg"_s << u"http://a/t1"_s << u"http://a/1.jpg"_s
                                     << u"http://a/t1"_s;
    // An update keeps the stored address (http://old/…) of an empty box.
    QTest::newRow("update, empty boxes keep both")
        << true << QString() << QString() << u"http://old/1.jpg"_s << u"http://old/t1"_s;
    QTest::newRow("update, placeholder replaces") << true << nd << QString() << nd << u"http://old/t1"_s;
    QTest::newRow("update, spaces replace")
        << true << u"http://new/1.jpg"_s << u" "_s << u"http://new/1.jpg"_s << u" "_s;
}

void TestEntryChecks::addresses()
{
    QFETCH(bool, updating);
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(QString, storedUrl);
    QFETCH(QString, storedLink);

    const PuzzleEntry typed{u"042"_s, u"Lille"_s, u"Max"_s, url, link};
    const PuzzleEntry old{u"042"_s, u"Lyon"_s, u"Léa"_s, u"http://old/1.jpg"_s, u"http://old/t1"_s};
    const PuzzleEntry stored =
        updating ? EntryChecks::withStoredAddresses(typed, old, {}) : EntryChecks::withAddressDefaults(typed);
    QCOMPARE(stored, (PuzzleEntry{u"042"_s, u"Lille"_s, u"Max"_s, storedUrl, storedLink}));
}

QTEST_GUILESS_MAIN(TestEntryChecks)
#include "tst_entry_checks.moc"
