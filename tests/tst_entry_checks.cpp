#include "editing/EditingTexts.h"
#include "editing/EntryChecks.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString dravéNumber = QStringLiteral("Numéro de dravé non numérique ou absent.");
const QString titresNumber = QStringLiteral("Numéro de titres non numérique ou absent.");
const QString length = QStringLiteral("Le numéro doit être sur 3 caractères.");
const QString apostrophe = QStringLiteral("Apostrophe non autorisée dans le pseudo.");
const QString noAnswer = QStringLiteral("Nom non renseigné.");
const QString noAuthor = QStringLiteral("Auteur non renseigné.");
const QString nd = QStringLiteral("Non disponible");

QString sequence(int expected)
{
    return QStringLiteral("Le numéro ne suit pas. Il doit être égal à %1").arg(expected);
}

} // namespace

class TestEntryChecks : public QObject {
    Q_OBJECT

private slots:
    void addOrder_data();
    void addOrder();
    void updateOrder_data();
    void updateOrder();
    void addressDefaults_data();
    void addressDefaults();
    void storedAddressesKept_data();
    void storedAddressesKept();
};

void TestEntryChecks::addOrder_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("author");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("042 after 41 entries") << 0 << "042"
                                          << "Lyon"
                                          << "Léa" << 42 << QString();
    QTest::newRow("043 after 41 entries") << 0 << "043"
                                          << "Lyon"
                                          << "Léa" << 42 << sequence(42);
    QTest::newRow("041 after 41 entries") << 0 << "041"
                                          << "Lyon"
                                          << "Léa" << 42 << sequence(42);
    QTest::newRow("41 is too short") << 0 << "41"
                                     << "Lyon"
                                     << "Léa" << 42 << length;
    QTest::newRow("42 expected is too short") << 0 << "42"
                                              << "Lyon"
                                              << "Léa" << 42 << length;
    QTest::newRow("0042 is too long") << 0 << "0042"
                                      << "Lyon"
                                      << "Léa" << 42 << length;
    QTest::newRow("001 opens an empty series") << 0 << "001"
                                               << "Lyon"
                                               << "Léa" << 1 << QString();
    QTest::newRow("000 in an empty series") << 0 << "000"
                                            << "Lyon"
                                            << "Léa" << 1 << sequence(1);
    QTest::newRow("sequence past 999") << 0 << "999"
                                       << "Lyon"
                                       << "Léa" << 1000 << sequence(1000);
    QTest::newRow("letters") << 0 << "abc"
                             << "Lyon"
                             << "Léa" << 42 << dravéNumber;
    QTest::newRow("empty number") << 0 << ""
                                  << "Lyon"
                                  << "Léa" << 42 << dravéNumber;
    QTest::newRow("message of the series") << 3 << "x"
                                           << "Lyon"
                                           << "Léa" << 42 << titresNumber;
    // Three characters whose value is the expected number, but not three digits.
    QTest::newRow("leading space") << 0 << " 42"
                                   << "Lyon"
                                   << "Léa" << 42 << dravéNumber;
    QTest::newRow("trailing space") << 0 << "42 "
                                    << "Lyon"
                                    << "Léa" << 42 << dravéNumber;
    QTest::newRow("sign") << 0 << "+42"
                          << "Lyon"
                          << "Léa" << 42 << dravéNumber;
    QTest::newRow("decimal point") << 0 << "42."
                                   << "Lyon"
                                   << "Léa" << 42 << dravéNumber;
    QTest::newRow("decimal comma") << 0 << "42,"
                                   << "Lyon"
                                   << "Léa" << 42 << dravéNumber;
    QTest::newRow("exponent") << 0 << "1e2"
                              << "Lyon"
                              << "Léa" << 100 << dravéNumber;
    QTest::newRow("negative") << 0 << "-01"
                              << "Lyon"
                              << "Léa" << 1 << dravéNumber;
    QTest::newRow("other digits") << 0 << "٠٤٢"
                                  << "Lyon"
                                  << "Léa" << 42 << dravéNumber;
    QTest::newRow("apostrophe before a bad number") << 0 << "abc"
                                                    << "Lyon"
                                                    << "O'Neil" << 42 << apostrophe;
    QTest::newRow("apostrophe before everything") << 0 << ""
                                                  << ""
                                                  << "'" << 42 << apostrophe;
    QTest::newRow("typographic apostrophe passes") << 0 << "042"
                                                   << "Lyon"
                                                   << "O’Neil" << 42 << QString();
    QTest::newRow("number before answer") << 0 << "043"
                                          << ""
                                          << "" << 42 << sequence(42);
    QTest::newRow("answer of spaces") << 0 << "042"
                                      << "   "
                                      << "Léa" << 42 << noAnswer;
    QTest::newRow("answer before author") << 0 << "042"
                                          << ""
                                          << "  " << 42 << noAnswer;
    QTest::newRow("author of spaces") << 0 << "042"
                                      << "Lyon"
                                      << "   " << 42 << noAuthor;
    QTest::newRow("spaces around text pass") << 0 << "042"
                                             << " Lyon "
                                             << " Léa " << 42 << QString();
}

void TestEntryChecks::addOrder()
{
    QFETCH(int, category);
    QFETCH(QString, number);
    QFETCH(QString, answer);
    QFETCH(QString, author);
    QFETCH(int, expected);
    QFETCH(QString, message);

    const auto refusal =
        EntryChecks::refuseAdd(Category::all().at(category), {number, answer, author, {}, {}}, expected);
    QCOMPARE(refusal.value_or(QString()), message);
}

void TestEntryChecks::updateOrder_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("message");

    // No length, sequence or apostrophe test: these go on to the look-up of the number.
    QTest::newRow("two digits") << 0 << "42"
                                << "Lyon"
                                << "Léa" << QString();
    QTest::newRow("four digits") << 0 << "0042"
                                 << "Lyon"
                                 << "Léa" << QString();
    QTest::newRow("apostrophe stored") << 0 << "042"
                                       << "Lyon"
                                       << "O'Neil" << QString();
    QTest::newRow("letters") << 0 << "abc"
                             << "Lyon"
                             << "Léa" << dravéNumber;
    QTest::newRow("empty number") << 3 << ""
                                  << "Lyon"
                                  << "Léa" << titresNumber;
    QTest::newRow("leading space") << 0 << " 42"
                                   << "Lyon"
                                   << "Léa" << dravéNumber;
    QTest::newRow("exponent") << 0 << "1e2"
                              << "Lyon"
                              << "Léa" << dravéNumber;
    QTest::newRow("number before answer") << 0 << "x"
                                          << ""
                                          << "" << dravéNumber;
    QTest::newRow("answer of spaces") << 0 << "042"
                                      << "  "
                                      << "" << noAnswer;
    QTest::newRow("author of spaces") << 0 << "042"
                                      << "Lyon"
                                      << "  " << noAuthor;
}

void TestEntryChecks::updateOrder()
{
    QFETCH(int, category);
    QFETCH(QString, number);
    QFETCH(QString, answer);
    QFETCH(QString, author);
    QFETCH(QString, message);

    const auto refusal = EntryChecks::refuseUpdate(Category::all().at(category), {number, answer, author, {}, {}});
    QCOMPARE(refusal.value_or(QString()), message);
}

void TestEntryChecks::addressDefaults_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("storedUrl");
    QTest::addColumn<QString>("storedLink");

    QTest::newRow("both empty") << ""
                                << "" << nd << nd;
    QTest::newRow("spaces are kept") << " "
                                     << ""
                                     << " " << nd;
    QTest::newRow("both given") << "http://a/1.jpg"
                                << "http://a/t1"
                                << "http://a/1.jpg"
                                << "http://a/t1";
}

void TestEntryChecks::addressDefaults()
{
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(QString, storedUrl);
    QFETCH(QString, storedLink);

    const PuzzleEntry stored = EntryChecks::withAddressDefaults({u"042"_s, u"Lyon"_s, u"Léa"_s, url, link});
    QCOMPARE(stored.url, storedUrl);
    QCOMPARE(stored.link, storedLink);
}

void TestEntryChecks::storedAddressesKept_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("storedUrl");
    QTest::addColumn<QString>("storedLink");

    QTest::newRow("empty boxes keep both") << ""
                                           << ""
                                           << "http://old/1.jpg"
                                           << "http://old/t1";
    QTest::newRow("placeholder replaces") << nd << "" << nd << "http://old/t1";
    QTest::newRow("spaces replace") << "http://new/1.jpg"
                                    << " "
                                    << "http://new/1.jpg"
                                    << " ";
}

void TestEntryChecks::storedAddressesKept()
{
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(QString, storedUrl);
    QFETCH(QString, storedLink);

    const PuzzleEntry old{u"042"_s, u"Lyon"_s, u"Léa"_s, u"http://old/1.jpg"_s, u"http://old/t1"_s};
    const PuzzleEntry stored = EntryChecks::withStoredAddresses({u"042"_s, u"Lille"_s, u"Max"_s, url, link}, old);
    QCOMPARE(stored, (PuzzleEntry{u"042"_s, u"Lille"_s, u"Max"_s, storedUrl, storedLink}));
}

QTEST_GUILESS_MAIN(TestEntryChecks)
#include "tst_entry_checks.moc"
