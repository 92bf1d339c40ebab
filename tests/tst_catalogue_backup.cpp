#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestCatalogueBackup : public QObject {
    Q_OBJECT

private slots:
    void rotation_data();
    void rotation();
    void sameSecond();
    void copyOpensAsCatalogue();
    void takenOncePerRunBeforeFirstWrite();
    void failureReportedAndWriteGoesOn();

private:
    static PuzzleEntry entry(int number);
};

PuzzleEntry TestCatalogueBackup::entry(int number)
{
    return Fixture::series(number).last();
}

void TestCatalogueBackup::rotation_data()
{
    QTest::addColumn<int>("taken");
    QTest::addColumn<int>("left");

    QTest::newRow("one") << 1 << 1;
    QTest::newRow("exactly ten") << 10 << 10;
    QTest::newRow("eleven") << 11 << 10;
    QTest::newRow("twenty-five") << 25 << 10;
}

void TestCatalogueBackup::rotation()
{
    QFETCH(int, taken);
    QFETCH(int, left);

    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    const CatalogueBackup backup(fixture.folder().backups());
    // A file of the keeper's own in the folder is never part of the rotation.
    QVERIFY(QDir().mkpath(fixture.folder().backups()));
    const QString foreign = fixture.folder().backups() + QStringLiteral("/Mézor-à garder.db");
    QFile(foreign).open(QIODevice::WriteOnly);

    // Days apart, and across a year's end, so that name order must follow the date rather than the day number.
    const QDateTime first(QDate(2026, 12, 25), QTime(9, 5, 7));
    QStringList made;
    for (int n = 0; n < taken; ++n) {
        made.append(backup.take(catalogue, first.addDays(n)));
    }

    QCOMPARE(backup.copies(catalogue), made.mid(taken - left));
    QCOMPARE(
        QFileInfo(made.last()).fileName(),
        QStringLiteral("Mézor-%1.db").arg(first.addDays(taken - 1).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"))));
    QVERIFY(QFileInfo::exists(foreign));
}

void TestCatalogueBackup::sameSecond()
{
    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    const CatalogueBackup backup(fixture.folder().backups());
    const QDateTime when(QDate(2026, 12, 6), QTime(18, 45, 3));

    QStringList made;
    for (int n = 0; n < 12; ++n) {
        made.append(backup.take(catalogue, when));
    }
    QCOMPARE(QFileInfo(made.at(0)).fileName(), QStringLiteral("Mézor-2026-12-06_18-45-03.db"));
    QCOMPARE(QFileInfo(made.at(1)).fileName(), QStringLiteral("Mézor-2026-12-06_18-45-03_02.db"));
    // The two oldest of the same second go, as with copies of different seconds.
    QCOMPARE(backup.copies(catalogue), made.mid(2));
}

void TestCatalogueBackup::copyOpensAsCatalogue()
{
    Fixture fixture;
    fixture.insert(Category::plomé(), Fixture::series(300, {QStringLiteral("Zoé"), QStringLiteral("bob")}));
    fixture.registerAuthors({QStringLiteral("Zoé"), QStringLiteral("bob")});
    QString copy;
    {
        Catalogue catalogue(fixture.folder().database());
        copy = CatalogueBackup(fixture.folder().backups()).take(catalogue);
        // Writing after the copy must not reach the copy.
        QCOMPARE(catalogue.append(Category::plomé(), entry(301)), Catalogue::AppendResult::Added);
    }

    Catalogue restored(copy);
    QCOMPARE(restored.entries(Category::plomé(), EntryOrder::ByNumber),
             Fixture::series(300, {QStringLiteral("Zoé"), QStringLiteral("bob")}));
    QCOMPARE(restored.authors(), (QStringList{QStringLiteral("Zoé"), QStringLiteral("bob")}));
    QCOMPARE(restored.count(Category::dravé()), 0);
}

void TestCatalogueBackup::takenOncePerRunBeforeFirstWrite()
{
    Fixture fixture;
    const CatalogueBackup backup(fixture.folder().backups());

    for (int run = 1; run <= 2; ++run) {
        // Start-up wires the backup as the program does.
        std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), fixture.messenger);
        QVERIFY(loaded);
        Catalogue& catalogue = *loaded->catalogue;
        QCOMPARE(backup.copies(catalogue).size(), run - 1); // opening and reading write nothing
        catalogue.entries(Category::dravé(), EntryOrder::ByNumber);
        QCOMPARE(backup.copies(catalogue).size(), run - 1);

        QCOMPARE(catalogue.append(Category::dravé(), entry(2 * run - 1)), Catalogue::AppendResult::Added);
        QVERIFY(catalogue.rewrite(Category::dravé(), entry(2 * run - 1).ref, entry(2 * run - 1)));
        QCOMPARE(catalogue.append(Category::dravé(), entry(2 * run)), Catalogue::AppendResult::Added);

        const QStringList copies = backup.copies(catalogue);
        QCOMPARE(copies.size(), run);
        // The copy of this run holds what the previous runs wrote and nothing of this one.
        QCOMPARE(Catalogue(copies.last()).count(Category::dravé()), 2 * (run - 1));
    }
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestCatalogueBackup::failureReportedAndWriteGoesOn()
{
    Fixture fixture;
    // A file where the folder should be: the copy cannot be made, even for root.
    QFile blocker(fixture.folder().backups());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), fixture.messenger);
    QVERIFY(loaded);
    Catalogue& catalogue = *loaded->catalogue;
    QCOMPARE(catalogue.append(Category::tusqué(), entry(1)), Catalogue::AppendResult::Added);
    QCOMPARE(catalogue.append(Category::tusqué(), entry(2)), Catalogue::AppendResult::Added);

    // Told once, with the folder named; both writes went through.
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Warning);
    QCOMPARE(fixture.messenger.shown.first().text,
             CatalogueTexts::backupFailed().arg(QDir::toNativeSeparators(fixture.folder().backups())));
    QVERIFY(!fixture.messenger.shown.first().detail.isEmpty());
    QCOMPARE(catalogue.count(Category::tusqué()), 2);
    QVERIFY(QFileInfo(fixture.folder().backups()).isFile());
}

QTEST_MAIN(TestCatalogueBackup)
#include "tst_catalogue_backup.moc"
