#include "app/AuthorList.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/SettingsFile.h"
#include "support/Fixture.h"

#include <QTest>

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void authorList_data();
    void authorList();
    void authorListKeepsTheFirst29Authors();
    void programSetting_data();
    void programSetting();
    void decoding_data();
    void decoding();
    void sortOrders_data();
    void sortOrders();
    void storedOrderIsKept();
    void appendAndRewriteRoundTrip();
    void authorRegisterIgnoresCase_data();
    void authorRegisterIgnoresCase();
    void plomeUsesItsPlaceField();
    void changesByAnotherConnectionAreSeen();
};

namespace {

QList<PuzzleEntry> byAuthors(const QStringList& authors)
{
    QList<PuzzleEntry> entries;
    for (const QString& author : authors) {
        entries.append({QString(), QString(), author, QString(), QString()});
    }
    return entries;
}

QStringList repeated(const QString& name, int times)
{
    QStringList names;
    for (int i = 0; i < times; ++i) {
        names.append(name);
    }
    return names;
}

} // namespace

void TestCatalogue::authorList_data()
{
    QTest::addColumn<QStringList>("authors");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("most entries first, equal counts in descending name order")
        << (repeated(QStringLiteral("Alice"), 5) + repeated(QStringLiteral("Zoé"), 12) +
            repeated(QStringLiteral("bob"), 5))
        << QStringList{QStringLiteral("Zoé"), QStringLiteral("bob"), QStringLiteral("Alice")};
    QTest::newRow("trailing spaces count under the trimmed name")
        << QStringList{QStringLiteral("Léa"), QStringLiteral("Léa "), QStringLiteral("Léa"), QStringLiteral("Max"),
                       QStringLiteral("Max")}
        << QStringList{QStringLiteral("Léa"), QStringLiteral("Max")};
    QTest::newRow("letter case makes another author")
        << QStringList{QStringLiteral("Léa"), QStringLiteral("léa"), QStringLiteral("Léa")}
        << QStringList{QStringLiteral("Léa"), QStringLiteral("léa")};
    QTest::newRow("accented names in French order, descending")
        << QStringList{QStringLiteral("Zacharie"), QStringLiteral("Élodie"), QStringLiteral("Fabien")}
        << QStringList{QStringLiteral("Zacharie"), QStringLiteral("Fabien"), QStringLiteral("Élodie")};
    QTest::newRow("no entry") << QStringList{} << QStringList{};
}

void TestCatalogue::authorList()
{
    QFETCH(QStringList, authors);
    QFETCH(QStringList, expected);
    QCOMPARE(AuthorList::build(byAuthors(authors)), expected);
}

void TestCatalogue::authorListKeepsTheFirst29Authors()
{
    QStringList authors;
    for (int i = 1; i <= 31; ++i) {
        authors.append(QStringLiteral("Auteur%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    // The 31st author posts most, but came after the 29 slots were taken.
    authors += repeated(QStringLiteral("Auteur31"), 5);
    authors += repeated(QStringLiteral("Auteur02"), 2);
    const QStringList list = AuthorList::build(byAuthors(authors));
    QCOMPARE(list.size(), 29);
    QCOMPARE(list.first(), QStringLiteral("Auteur02"));
    QVERIFY(!list.contains(QStringLiteral("Auteur30")));
    QVERIFY(!list.contains(QStringLiteral("Auteur31")));
    QCOMPARE(list.last(), QStringLiteral("Auteur01"));
}

void TestCatalogue::programSetting_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("setting");
    QTest::newRow("lines before it are skipped")
        << QStringList{QStringLiteral("[x]"), QStringLiteral("autre=1"), QStringLiteral("programme=cherche.exe")}
        << true << QStringLiteral("cherche.exe");
    QTest::newRow("capital P does not count") << QStringList{QStringLiteral("Programme=a.exe")} << false << QString();
    QTest::newRow("leading space does not count")
        << QStringList{QStringLiteral(" programme=a.exe")} << false << QString();
    QTest::newRow("empty setting") << QStringList{QStringLiteral("programme=")} << true << QString();
    QTest::newRow("space after the sign is kept")
        << QStringList{QStringLiteral("programme= a.exe ")} << true << QStringLiteral(" a.exe ");
    QTest::newRow("first line wins") << QStringList{QStringLiteral("programme=un"), QStringLiteral("programme=deux")}
                                     << true << QStringLiteral("un");
    QTest::newRow("no line") << QStringList{} << false << QString();
}

void TestCatalogue::programSetting()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, found);
    QFETCH(QString, setting);
    const std::optional<QString> result = SettingsFile::programSetting(lines);
    QCOMPARE(result.has_value(), found);
    if (found) {
        QCOMPARE(*result, setting);
    }
}

void TestCatalogue::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("UTF-8, CRLF") << QByteArray("programme=r\xc3\xa9\r\nb\r\n")
                                 << QStringList{QStringLiteral("programme=ré"), QStringLiteral("b")};
    QTest::newRow("Windows-1252, CR only") << QByteArray("programme=r\xe9\rsuite \x80\r")
                                           << QStringList{QStringLiteral("programme=ré"), QStringLiteral("suite €")};
    QTest::newRow("LF only, last line unterminated")
        << QByteArray("a\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("empty lines are kept")
        << QByteArray("a\r\n\r\nb\r\n") << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("UTF-8 mark dropped") << QByteArray("\xef\xbb\xbfprogramme=x")
                                        << QStringList{QStringLiteral("programme=x")};
}

void TestCatalogue::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(SettingsFile::splitLines(SettingsFile::decode(bytes)), lines);
}

void TestCatalogue::sortOrders_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("refs");
    QTest::newRow("by number") << int(EntryOrder::ByNumber)
                               << QStringList{QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003"),
                                              QStringLiteral("004")};
    // French order without regard to case: "éclair" between "Eau" and "Zèbre", not after "Zèbre".
    QTest::newRow("by answer") << int(EntryOrder::ByAnswer)
                               << QStringList{QStringLiteral("004"), QStringLiteral("002"), QStringLiteral("001"),
                                              QStringLiteral("003")};
    // Equal authors keep number order.
    QTest::newRow("by author") << int(EntryOrder::ByAuthor)
                               << QStringList{QStringLiteral("002"), QStringLiteral("004"), QStringLiteral("001"),
                                              QStringLiteral("003")};
}

void TestCatalogue::sortOrders()
{
    QFETCH(int, order);
    QFETCH(QStringList, refs);
    Fixture fixture;
    fixture.insert(Category::tusqué(),
                   {{QStringLiteral("003"), QStringLiteral("Zèbre"), QStringLiteral("zoé"), {}, {}},
                    {QStringLiteral("001"), QStringLiteral("éclair"), QStringLiteral("Zoé"), {}, {}},
                    {QStringLiteral("004"), QStringLiteral("abricot"), QStringLiteral("alice"), {}, {}},
                    {QStringLiteral("002"), QStringLiteral("Eau"), QStringLiteral("Alice"), {}, {}}});
    Catalogue catalogue(fixture.folder().database());
    QStringList result;
    for (const PuzzleEntry& entry : catalogue.entries(Category::tusqué(), EntryOrder(order))) {
        result.append(entry.ref);
    }
    QCOMPARE(result, refs);
}

void TestCatalogue::storedOrderIsKept()
{
    Fixture fixture;
    QList<PuzzleEntry> entries = Fixture::series(4);
    std::swap(entries[1], entries[3]);
    fixture.insert(Category::vantorel(), entries);
    Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.entries(Category::vantorel(), EntryOrder::Stored), entries);
    QCOMPARE(catalogue.entries(Category::vantorel(), EntryOrder::ByNumber), Fixture::series(4));
}

void TestCatalogue::appendAndRewriteRoundTrip()
{
    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    const PuzzleEntry entry{QStringLiteral("001"), QStringLiteral("  L'Été ; DROP TABLE \"dravé\" --  "),
                            QStringLiteral("Zoé"), QStringLiteral("Non disponible"),
                            QStringLiteral("http://x/?a=1&b=%")};
    QCOMPARE(catalogue.append(Category::plomé(), entry), Catalogue::AppendResult::Added);
    QCOMPARE(catalogue.append(Category::plomé(), entry), Catalogue::AppendResult::AlreadyExists);
    QCOMPARE(catalogue.entry(Category::plomé(), QStringLiteral("001")), std::optional<PuzzleEntry>(entry));
    QCOMPARE(catalogue.count(Category::plomé()), 1);
    QCOMPARE(catalogue.count(Category::dravé()), 0);

    PuzzleEntry changed = entry;
    changed.answer = QStringLiteral("Nîmes");
    QVERIFY(catalogue.rewrite(Category::plomé(), QStringLiteral("001"), changed));
    QVERIFY(!catalogue.rewrite(Category::plomé(), QStringLiteral("002"), changed));
    QCOMPARE(catalogue.entries(Category::plomé(), EntryOrder::Stored), QList<PuzzleEntry>{changed});
    // Only the Dravé series feeds the register.
    QVERIFY(catalogue.authors().isEmpty());
}

void TestCatalogue::authorRegisterIgnoresCase_data()
{
    QTest::addColumn<QString>("registered");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("known");
    QTest::newRow("same") << QStringLiteral("Léa") << QStringLiteral("Léa") << true;
    QTest::newRow("capitals with accent") << QStringLiteral("Léa") << QStringLiteral("LÉA") << true;
    QTest::newRow("small letters") << QStringLiteral("ÉLODIE") << QStringLiteral("élodie") << true;
    QTest::newRow("accent is not case") << QStringLiteral("Léa") << QStringLiteral("Lea") << false;
    QTest::newRow("spaces count") << QStringLiteral("Léa") << QStringLiteral("Léa ") << false;
}

void TestCatalogue::authorRegisterIgnoresCase()
{
    QFETCH(QString, registered);
    QFETCH(QString, typed);
    QFETCH(bool, known);
    Fixture fixture;
    fixture.registerAuthors({registered});
    Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.isAuthorRegistered(typed), known);

    catalogue.append(Category::dravé(), {QStringLiteral("001"), QStringLiteral("x"), typed, {}, {}});
    QCOMPARE(catalogue.authors().size(), known ? 1 : 2);
}

void TestCatalogue::plomeUsesItsPlaceField()
{
    Fixture fixture;
    // A stray `nom` column in plomé must never be read or written.
    fixture.sql(QStringLiteral("ALTER TABLE \"plomé\" ADD COLUMN nom TEXT NOT NULL DEFAULT 'faux'"));
    fixture.insert(Category::plomé(), {{QStringLiteral("001"), QStringLiteral("Lyon"), QStringLiteral("a"), {}, {}}});
    Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.entries(Category::plomé(), EntryOrder::ByAnswer).value(0).answer, QStringLiteral("Lyon"));
}

void TestCatalogue::changesByAnotherConnectionAreSeen()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    fixture.registerAuthors({QStringLiteral("Léa")});
    Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.count(Category::dravé()), 2);
    QCOMPARE(catalogue.authors().size(), 1);
    // Another program writes to the file: the next reads must not answer from what was read before.
    fixture.insert(Category::dravé(), {Fixture::series(3).at(2)});
    fixture.registerAuthors({QStringLiteral("Max")});
    QCOMPARE(catalogue.count(Category::dravé()), 3);
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), Fixture::series(3));
    QVERIFY(catalogue.isAuthorRegistered(QStringLiteral("MAX")));
    // And our own writes are seen at once.
    catalogue.append(Category::dravé(), Fixture::series(4).at(3));
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::Stored).size(), 4);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
