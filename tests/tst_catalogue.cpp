#include "app/Startup.h"
#include "catalogue/AuthorList.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "catalogue/SettingsFile.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "ui/UiTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void authorList_data()
    {
        QTest::addColumn<QStringList>("authors");
        QTest::addColumn<QStringList>("expected");
        // Most entries first (12 before 2), then names in descending French order, without regard to case or accents.
        const QStringList twice{u"Alice"_s, u"bob"_s, u"Élodie"_s, u"Fabien"_s,
                                u"Alice"_s, u"bob"_s, u"Élodie"_s, u"Fabien"_s};
        QTest::newRow("most entries first, equal counts in descending name order")
            << twice + QStringList(12, u"Zoé"_s)
            << QStringList{u"Zoé"_s, u"Fabien"_s, u"Élodie"_s, u"bob"_s, u"Alice"_s};
        QTest::newRow("trailing spaces count under the trimmed name, letter case makes another author")
            << QStringList{u"Léa"_s, u"Léa "_s, u"léa"_s, u"Léa"_s, u"Max"_s, u"Max"_s}
            << QStringList{u"Léa"_s, u"Max"_s, u"léa"_s};
        QTest::newRow("no entry") << QStringList{} << QStringList{};

        // 29 slots, taken in order of first entry: Auteur30 and Auteur31 come too late, though Auteur31 posts most.
        QStringList authors;
        for (int i = 1; i <= 31; ++i) {
            authors.prepend(u"Auteur%1"_s.arg(i, 2, 10, QLatin1Char('0')));
        }
        QTest::newRow("29 authors at most")
            << authors.mid(2) + authors.first(2) + QStringList(5, authors.at(0)) << authors.mid(2);
    }

    void authorList()
    {
        QFETCH(QStringList, authors);
        QFETCH(QStringList, expected);
        QList<PuzzleEntry> entries;
        for (const QString& author : authors) {
            entries.append({{}, {}, author, {}, {}});
        }
        QCOMPARE(AuthorList::build(entries), expected);
    }

    void settingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<std::optional<QString>>("setting");
        QTest::newRow("UTF-8 with its mark, CRLF; the first exact key wins, spaces kept")
            << QByteArray("\xef\xbb\xbfProgramme=a\r\n programme=b\r\nprogramme= r\xc3\xa9 \r\nprogramme=c\r\n")
            << QStringList{u"Programme=a"_s, u" programme=b"_s, u"programme= ré "_s, u"programme=c"_s}
            << std::optional(u" ré "_s);
        QTest::newRow("Windows-1252, CR only, no setting")
            << QByteArray("Programme=r\xe9\rsuite \x80\r") << QStringList{u"Programme=ré"_s, u"suite €"_s}
            << std::optional<QString>();
        QTest::newRow("LF only, empty line kept, last line unterminated, empty setting")
            << QByteArray("a\n\nprogramme=") << QStringList{u"a"_s, QString(), u"programme="_s}
            << std::optional(QString());
    }

    void settingsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(std::optional<QString>, setting);
        QCOMPARE(SettingsFile::splitLines(SettingsFile::decode(bytes)), lines);
        QCOMPARE(SettingsFile::programSetting(lines), setting);
    }

    void openedAsTheProgramDoes()
    {
        // Adds and corrections themselves, hostile texts included, and the copy taken before the first write of a
        // run are proven through the main window.
        Fixture fixture;
        fixture.insert(Category::dravé(), Fixture::series(2));
        // A file where the backup folder should be: the copy cannot be made, even for root.
        const QString folder = fixture.folder().backups();
        QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
        std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), fixture.messenger);
        QVERIFY(loaded);
        Catalogue& catalogue = *loaded->catalogue;
        QCOMPARE(catalogue.append(Category::plomé(), Fixture::series(1).at(0)), Catalogue::AppendResult::Added);
        QVERIFY(!catalogue.rewrite(Category::plomé(), u"002"_s, Fixture::series(2).at(1)));
        QVERIFY(catalogue.authors().isEmpty()); // only the Dravé series feeds the register

        // Another program writes to the file: the next reads must not answer from what was read before.
        QCOMPARE(catalogue.count(Category::dravé()), 2);
        fixture.insert(Category::dravé(), {Fixture::series(3).at(2)});
        fixture.registerAuthors({u"Max"_s, u"Léa"_s});
        QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), Fixture::series(3));
        // Another letter case, accents included, is the same author (SQLite folds only ASCII); another accent or a
        // space makes another. Our own writes are seen at once.
        for (const QString& author : {u"mAX"_s, u"LÉA"_s, u"Lea"_s, u"Léa "_s}) {
            catalogue.append(Category::dravé(), {author, u"x"_s, author, {}, {}});
        }
        QCOMPARE(catalogue.authors(), (QStringList{u"Max"_s, u"Léa"_s, u"Lea"_s, u"Léa "_s}));
        QCOMPARE(catalogue.count(Category::dravé()), 7);
        // The failed copy was told once, with the folder named, and the writes went on.
        QCOMPARE(fixture.messenger.texts(),
                 QStringList{CatalogueTexts::backupFailed().arg(QDir::toNativeSeparators(folder))});
        QCOMPARE(std::pair(fixture.messenger.shown.first().icon, fixture.messenger.shown.first().detail.isEmpty()),
                 std::pair(Messenger::Icon::Warning, false));
    }

    void fileOfAnotherTool()
    {
        // Numbers stored as integers, and no unique index: 2 is there twice.
        Fixture fixture;
        fixture.sql(u"DROP TABLE \"dravé\""_s);
        fixture.sql(u"CREATE TABLE \"dravé\" (ref INTEGER, nom TEXT, auteur TEXT, url TEXT, lien TEXT)"_s);
        fixture.sql(u"INSERT INTO \"dravé\" VALUES (10, 'Lyon', 'Léa', '-', '-'), (2, 'Paris', 'Max', '-', '-'), "
                    "(1, 'Metz', 'Léa', '-', '-'), (2, 'Nice', 'Zoé', 'n', 'n')"_s);
        Catalogue catalogue(fixture.folder().database());
        const auto rows = [&] {
            QStringList shown;
            for (const PuzzleEntry& entry : catalogue.entries(Category::dravé(), EntryOrder::ByNumber)) {
                shown.append(entry.ref + u' ' + entry.answer);
            }
            return shown;
        };
        QCOMPARE(rows(), (QStringList{u"1 Metz"_s, u"2 Paris"_s, u"2 Nice"_s, u"10 Lyon"_s}));

        // A correction changes the first entry of the number only; the start reports the repeated number once.
        QVERIFY(catalogue.rewrite(Category::dravé(), u"2"_s, {u"2"_s, u"Paris corrigé"_s, u"Max"_s, u"-"_s, u"-"_s}));
        QCOMPARE(rows(), (QStringList{u"1 Metz"_s, u"2 Paris corrigé"_s, u"2 Nice"_s, u"10 Lyon"_s}));
        QVERIFY(Startup::open(fixture.folder(), fixture.messenger));
        QCOMPARE(fixture.messenger.texts(), QStringList{UiTexts::repeatedNumbers().arg(u"Dravé 2"_s)});
    }

    void seriesReadAheadGiveWayToLaterWrites_data()
    {
        QTest::addColumn<bool>("ours");
        QTest::newRow("another program's commit") << false;
        QTest::newRow("our own add") << true;
    }

    void seriesReadAheadGiveWayToLaterWrites()
    {
        // The load step reads the series on a worker; a write between its mark and the adoption wins.
        QFETCH(bool, ours);
        Fixture fixture;
        const QList<PuzzleEntry> three = Fixture::series(3);
        fixture.insert(Category::tusqué(), three.first(2));
        Catalogue catalogue(fixture.folder().database());
        const qint64 mark = catalogue.contentMark();
        std::optional<SeriesContent> read = Catalogue::readSeries(catalogue.path());
        QVERIFY(read);
        QCOMPARE(read->at(Category::tusqué().index), three.first(2));
        if (ours) {
            QCOMPARE(catalogue.append(Category::tusqué(), three.at(2)), Catalogue::AppendResult::Added);
        } else {
            fixture.insert(Category::tusqué(), {three.at(2)});
        }
        catalogue.adoptSeries(std::move(*read), mark);
        QCOMPARE(catalogue.entries(Category::tusqué(), EntryOrder::ByNumber), three);
        QVERIFY(!Catalogue::readSeries(fixture.folder().file(u"absent.db")));
    }

    void backupRotation_data()
    {
        QTest::addColumn<int>("taken");
        QTest::addColumn<int>("daysApart");
        QTest::addColumn<QString>("newest");

        // From 2026-12-25, so that a run across the year's end must sort by date rather than by day number.
        QTest::newRow("exactly ten") << 10 << 1 << u"Mézor-2027-01-03_09-05-07.db"_s;
        QTest::newRow("eleven") << 11 << 1 << u"Mézor-2027-01-04_09-05-07.db"_s;
        // Copies of one second are numbered from _02, and rotate as copies of different seconds do.
        QTest::newRow("eleven in the same second") << 11 << 0 << u"Mézor-2026-12-25_09-05-07_11.db"_s;
    }

    void backupRotation()
    {
        QFETCH(int, taken);
        QFETCH(int, daysApart);
        QFETCH(QString, newest);
        Fixture fixture;
        Catalogue catalogue(fixture.folder().database());
        const CatalogueBackup backup(fixture.folder().backups());
        // A file of the keeper's own in the folder is never part of the rotation.
        const QString foreign = fixture.folder().backups() + u"/Mézor-à garder.db"_s;
        writeFile(foreign, {});

        QStringList made;
        for (int n = 0; n < taken; ++n) {
            made.append(backup.take(catalogue, QDateTime(QDate(2026, 12, 25), QTime(9, 5, 7)).addDays(n * daysApart)));
        }
        QCOMPARE(QFileInfo(made.last()).fileName(), newest);
        QCOMPARE(backup.copies(catalogue), made.mid(std::max(0, taken - 10))); // the ten newest
        QVERIFY(QFileInfo::exists(foreign));
    }

    void backupRefused()
    {
        // A copy that the database refuses to write is reported, and leaves no file behind.
        Fixture fixture;
        Catalogue catalogue(fixture.folder().database());
        QVERIFY(QSqlQuery(catalogue.database()).exec(u"PRAGMA query_only = 1"_s));
        const CatalogueBackup backup(fixture.folder().backups());
        QVERIFY_THROWS_EXCEPTION(CatalogueError, backup.take(catalogue, QDateTime::currentDateTime()));
        QCOMPARE(QDir(fixture.folder().backups()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
