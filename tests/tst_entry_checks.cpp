#include "editing/EntryChecks.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString dravéNumber = u"Numéro de dravé non numérique ou absent."_s;
const QString titresNumber = u"Numéro de titres non numérique ou absent."_s;
const QString length = u"Le numéro doit être sur 3 caractères."_s;
const QString apostrophe = u"Apostrophe non autorisée dans le pseudo."_s;
const QString noAnswer = u"Nom non renseigné."_s;
const QString noAuthor = u"Auteur non renseigné."_s;
const QString nd = u"Non disponible"_s;

QString sequence(int expected)
{
    return u"Le numéro ne suit pas. Il doit être égal à %1"_s.arg(expected);
}

/// A refused row; `expected` is the add's expected number, 0 for an update.
void refused(const char* name, const QString& number, const QString& answer, const QString& author, int expected,
             const QString& message, const Category& category = Category::dravé())
{
    QTest::newRow(name) << category.index << PuzzleEntry{number, answer, author, {}, {}} << expected << message
                        << PuzzleEntry{} << EntryChecks::EditedAddresses{};
}

/// An accepted row, with the two addresses that are then stored; `edited`: the boxes the keeper edited (an update).
void accepted(const char* name, const PuzzleEntry& typed, int expected, const QString& url, const QString& link,
              EntryChecks::EditedAddresses edited = {})
{
    QTest::newRow(name) << 0 << typed << expected << QString()
                        << PuzzleEntry{typed.ref, typed.answer, typed.author, url, link} << edited;
}

} // namespace

class TestEntryChecks : public QObject {
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
};

void TestEntryChecks::checks_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<PuzzleEntry>("typed");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<PuzzleEntry>("stored");
    QTest::addColumn<EntryChecks::EditedAddresses>("edited");

    // Texts are kept with their spaces, only the plain apostrophe is refused, and only an exactly empty address box
    // takes the placeholder (an add) or keeps the stored address http://old/… (an update).
    accepted("add 042 after 41 entries", {u"042"_s, u" Lyon "_s, u" O’Neil "_s, {}, u"http://a/t"_s}, 42, nd,
             u"http://a/t"_s);
    accepted("add 001 opens an empty series", {u"001"_s, u"Lyon"_s, u"Léa"_s, u" "_s, {}}, 1, u" "_s, nd);
    refused("add 043 after 41 entries", u"043"_s, u"Lyon"_s, u"Léa"_s, 42, sequence(42));
    refused("add 041 after 41 entries", u"041"_s, u"Lyon"_s, u"Léa"_s, 42, sequence(42));
    refused("add 42, too short", u"42"_s, u"Lyon"_s, u"Léa"_s, 42, length);
    refused("add 0042, too long", u"0042"_s, u"Lyon"_s, u"Léa"_s, 42, length);
    refused("add, sequence past 999", u"999"_s, u"Lyon"_s, u"Léa"_s, 1000, sequence(1000));
    refused("add, letters", u"abc"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    refused("add, empty number, message of the series", {}, u"Lyon"_s, u"Léa"_s, 42, titresNumber,
            Category::vantorel());
    // Three characters whose value is the expected number, but not three plain digits.
    refused("add, leading space", u" 42"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    refused("add, exponent", u"1e2"_s, u"Lyon"_s, u"Léa"_s, 100, dravéNumber);
    refused("add, other digits", u"٠٤٢"_s, u"Lyon"_s, u"Léa"_s, 42, dravéNumber);
    refused("add, apostrophe before a bad number", u"abc"_s, u"Lyon"_s, u"O'Neil"_s, 42, apostrophe);
    refused("add, number before answer", u"043"_s, {}, {}, 42, sequence(42));
    refused("add, answer of spaces before author", u"042"_s, u"   "_s, u"  "_s, 42, noAnswer);
    refused("add, author of spaces", u"042"_s, u"Lyon"_s, u"   "_s, 42, noAuthor);
    // No length, sequence or apostrophe test on an update: these go on to the look-up of the number.
    accepted("update, two digits", {u"42"_s, u"Lyon"_s, u"Léa"_s, {}, u" "_s}, 0, u"http://old/1.jpg"_s, u" "_s);
    accepted("update, apostrophe stored", {u"042"_s, u"Lyon"_s, u"O'Neil"_s, nd, {}}, 0, nd, u"http://old/t1"_s);
    // A box the keeper emptied by hand says the address is gone; one the program emptied keeps it.
    accepted("update, image box emptied by hand", {u"042"_s, u"Lyon"_s, u"Léa"_s, {}, {}}, 0, nd, u"http://old/t1"_s,
             {true, false});
    accepted("update, forum box emptied by hand", {u"042"_s, u"Lyon"_s, u"Léa"_s, {}, {}}, 0, u"http://old/1.jpg"_s, nd,
             {false, true});
    refused("update, empty number, message of the series", {}, u"Lyon"_s, u"Léa"_s, 0, titresNumber,
            Category::vantorel());
    refused("update, letters before answer", u"x"_s, {}, {}, 0, dravéNumber);
    refused("update, answer of spaces before author", u"042"_s, u"  "_s, {}, 0, noAnswer);
    refused("update, author of spaces", u"042"_s, u"Lyon"_s, u"  "_s, 0, noAuthor);
}

void TestEntryChecks::checks()
{
    QFETCH(int, category);
    QFETCH(PuzzleEntry, typed);
    QFETCH(int, expected);
    QFETCH(QString, message);
    QFETCH(PuzzleEntry, stored);
    QFETCH(EntryChecks::EditedAddresses, edited);

    const Category& cat = Category::all().at(category);
    const auto refusal =
        expected > 0 ? EntryChecks::refuseAdd(cat, typed, expected) : EntryChecks::refuseUpdate(cat, typed);
    QCOMPARE(refusal.value_or(QString()), message);
    if (message.isEmpty()) {
        const PuzzleEntry old{typed.ref, u"Avant"_s, u"Léa"_s, u"http://old/1.jpg"_s, u"http://old/t1"_s};
        QCOMPARE(expected > 0 ? EntryChecks::withAddressDefaults(typed)
                              : EntryChecks::withStoredAddresses(typed, old, edited),
                 stored);
    }
}

QTEST_GUILESS_MAIN(TestEntryChecks)
#include "tst_entry_checks.moc"
