#include "catalogue/AuthorList.h"
#include "catalogue/Catalogue.h"
#include "catalogue/SettingsFile.h"
#include "support/Fixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void authorList_data();
    void authorList();
    void programSetting_data();
    void programSetting();
    void decoding_data();
    void decoding();
    void sortOrders_data();
    void sortOrders();
    void appendAndRewriteRoundTrip();
    void authorRegisterIgnoresCase_data();
    void authorRegisterIgnoresCase();
    void changesByAnotherConnectionAreSeen();
};

namespace {

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
        << (repeated(u"Alice"_s, 5) + repeated(u"Zoé"_s, 12) + repeated(u"bob"_s, 5))
        << QStringList{u"Zoé"_s, u"bob"_s, u"Alice"_s};
    QTest::newRow("trailing spaces count under the trimmed name")
        << QStringList{u"Léa"_s, u"Léa "_s, u"Léa"_s, u"Max"_s, u"Max"_s} << QStringList{u"Léa"_s, u"Max"_s};
    QTest::newRow("letter case makes another author")
        << QStringList{u"Léa"_s, u"léa"_s, u"Léa"_s} << QStringList{u"Léa"_s, u"léa"_s};
    QTest::newRow("accented names in French order, descending")
        << QStringList{u"Zacharie"_s, u"Élodie"_s, u"Fabien"_s} << QStringList{u"Zacharie"_s, u"Fabien"_s, u"Élodie"_s};
    QTest::newRow("no entry") << QStringList{} << QStringList{};

    // 29 slots, taken in order of first entry: Auteur30 and Auteur31 come too late, though Auteur31 posts most.
    QStringList authors;
    QStringList kept{u"Auteur02"_s};
    for (int i = 1; i <= 31; ++i) {
        authors.append(u"Auteur%1"_s.arg(i, 2, 10, QLatin1Char('0')));
        if (i <= 29 && i != 2) {
            kept.insert(1, authors.last());
        }
    }
    QTest::newRow("29 authors at most") << authors + repeated(u"Auteur31"_s, 5) + repeated(u"Auteur02"_s, 2) << kept;
}

void TestCatalogue::authorList()
{
    QFETCH(QStringList, authors);
    QFETCH(QStringList, expected);
    QList<PuzzleEntry> entries;
    for (const QString& author : authors) {
        entries.append({QString(), QString(), author, QString(), QString()});
    }
    QCOMPARE(AuthorList::build(entries), expected);
}

void TestCatalogue::programSetting_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("setting");
    QTest::newRow("lines before it are skipped")
        << QStringList{u"[x]"_s, u"autre=1"_s, u"programme=cherche.exe"_s} << true << u"cherche.exe"_s;
    QTest::newRow("capital P does not count") << QStringList{u"Programme=a.exe"_s} << false << QString();
    QTest::newRow("leading space does not count") << QStringList{u" programme=a.exe"_s} << false << QString();
    QTest::newRow("empty setting") << QStringList{u"programme="_s} << true << QString();
    QTest::newRow("space after the sign is kept") << QStringList{u"programme= a.exe "_s} << true << u" a.exe "_s;
    QTest::newRow("first line wins") << QStringList{u"programme=un"_s, u"programme=deux"_s} << true << u"un"_s;
    QTest::newRow("no line") << QStringList{} << false << QString();
}

void TestCatalogue::programSetting()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, found);
    QFETCH(QString, setting);
    QCOMPARE(SettingsFile::programSetting(lines), found ? std::optional<QString>(setting) : std::nullopt);
}

void TestCatalogue::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("UTF-8, CRLF") << QByteArray("programme=r\xc3\xa9\r\nb\r\n")
                                 << QStringList{u"programme=ré"_s, u"b"_s};
    QTest::newRow("Windows-1252, CR only")
        << QByteArray("programme=r\xe9\rsuite \x80\r") << QStringList{u"programme=ré"_s, u"suite €"_s};
    QTest::newRow("LF only, last line unterminated") << QByteArray("a\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty lines are kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("UTF-8 mark dropped") << QByteArray("\xef\xbb\xbfprogramme=x") << QStringList{u"programme=x"_s};
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
    QTest::newRow("stored") << int(EntryOrder::Stored) << QStringList{u"003"_s, u"001"_s, u"004"_s, u"002"_s};
    QTest::newRow("by number") << int(EntryOrder::ByNumber) << QStringList{u"001"_s, u"002"_s, u"003"_s, u"004"_s};
    // French order without regard to case: "éclair" between "Eau" and "Zèbre", not after "Zèbre".
    QTest::newRow("by answer") << int(EntryOrder::ByAnswer) << QStringList{u"004"_s, u"002"_s, u"001"_s, u"003"_s};
    // Equal authors keep number order.
    QTest::newRow("by author") << int(EntryOrder::ByAuthor) << QStringList{u"002"_s, u"004"_s, u"001"_s, u"003"_s};
}

void TestCatalogue::sortOrders()
{
    QFETCH(int, order);
    QFETCH(QStringList, refs);
    Fixture fixture;
    fixture.insert(Category::tusqué(), {{u"003"_s, u"Zèbre"_s, u"zoé"_s, {}, {}},
                                        {u"001"_s, u"éclair"_s, u"Zoé"_s, {}, {}},
                                        {u"004"_s, u"abricot"_s, u"alice"_s, {}, {}},
                                        {u"002"_s, u"Eau"_s, u"Alice"_s, {}, {}}});
    Catalogue catalogue(fixture.folder().database());
    QStringList result;
    for (const PuzzleEntry& entry : catalogue.entries(Category::tusqué(), EntryOrder(order))) {
        result.append(entry.ref);
    }
    QCOMPARE(result, refs);
}

void TestCatalogue::appendAndRewriteRoundTrip()
{
    Fixture fixture;
    // A stray `nom` column in plomé must never be read or written.
    fixture.sql(u"ALTER TABLE \"plomé\" ADD COLUMN nom TEXT NOT NULL DEFAULT 'faux'"_s);
    Catalogue catalogue(fixture.folder().database());
    const PuzzleEntry entry{u"001"_s, u"  L'Été ; DROP TABLE \"dravé\" --  "_s, u"Zoé"_s, u"Non disponible"_s,
                            u"http://x/?a=1&b=%"_s};
    QCOMPARE(catalogue.append(Category::plomé(), entry), Catalogue::AppendResult::Added);
    QCOMPARE(catalogue.append(Category::plomé(), entry), Catalogue::AppendResult::AlreadyExists);
    QCOMPARE(catalogue.entry(Category::plomé(), u"001"_s), std::optional<PuzzleEntry>(entry));
    QCOMPARE(catalogue.count(Category::plomé()), 1);
    QCOMPARE(catalogue.count(Category::dravé()), 0);

    PuzzleEntry changed = entry;
    changed.answer = u"Nîmes"_s;
    QVERIFY(catalogue.rewrite(Category::plomé(), u"001"_s, changed));
    QVERIFY(!catalogue.rewrite(Category::plomé(), u"002"_s, changed));
    QCOMPARE(catalogue.entries(Category::plomé(), EntryOrder::ByAnswer), QList<PuzzleEntry>{changed});
    // Only the Dravé series feeds the register.
    QVERIFY(catalogue.authors().isEmpty());
}

void TestCatalogue::authorRegisterIgnoresCase_data()
{
    QTest::addColumn<QString>("registered");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("known");
    QTest::newRow("same") << u"Léa"_s << u"Léa"_s << true;
    QTest::newRow("capitals with accent") << u"Léa"_s << u"LÉA"_s << true;
    QTest::newRow("small letters") << u"ÉLODIE"_s << u"élodie"_s << true;
    QTest::newRow("accent is not case") << u"Léa"_s << u"Lea"_s << false;
    QTest::newRow("spaces count") << u"Léa"_s << u"Léa "_s << false;
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
    catalogue.append(Category::dravé(), {u"001"_s, u"x"_s, typed, {}, {}});
    QCOMPARE(catalogue.authors().size(), known ? 1 : 2);
}

void TestCatalogue::changesByAnotherConnectionAreSeen()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    fixture.registerAuthors({u"Léa"_s});
    Catalogue catalogue(fixture.folder().database());
    QCOMPARE(catalogue.count(Category::dravé()), 2);
    QCOMPARE(catalogue.authors().size(), 1);
    // Another program writes to the file: the next reads must not answer from what was read before.
    fixture.insert(Category::dravé(), {Fixture::series(3).at(2)});
    fixture.registerAuthors({u"Max"_s});
    QCOMPARE(catalogue.count(Category::dravé()), 3);
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), Fixture::series(3));
    QVERIFY(catalogue.isAuthorRegistered(u"MAX"_s));
    // And our own writes are seen at once.
    catalogue.append(Category::dravé(), Fixture::series(4).at(3));
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::Stored).size(), 4);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
