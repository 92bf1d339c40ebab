#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Fixture.h"
#include "ui/UiTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList folderEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

// A real catalogue with several hundred rows, whose first pages no longer describe the rest once it is cut.
QByteArray fullCatalogue()
{
    Fixture fixture;
    for (const Category& category : Category::all()) {
        fixture.insert(category, Fixture::series(150, {QStringLiteral("Léa"), QStringLiteral("Zoé")}));
    }
    fixture.registerAuthors({QStringLiteral("Léa"), QStringLiteral("Zoé")});
    return contents(fixture.folder().database());
}

} // namespace

class TestStartFailures : public QObject {
    Q_OBJECT

private slots:
    void noDatabase_data();
    void noDatabase();
    void unreadableDatabase_data();
    void unreadableDatabase();
    void lockedDatabase();
    void missingTable_data();
    void missingTable();
    void settingsFile_data();
    void settingsFile();
    void secondInstance();
    void readOnly_data();
    void readOnly();
};

void TestStartFailures::noDatabase_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("newFolder");
    QTest::addColumn<QByteArray>("settings"); // null: no settings file
    QTest::addColumn<QByteArray>("settingsAfter");
    QTest::addColumn<QString>("setting");

    const QByteArray own = "; à moi\r\nprogramme=cherche.exe\r\n[dernier_numero]\r\n";
    QTest::newRow("no: nothing made") << false << false << QByteArray() << QByteArray() << QString();
    QTest::newRow("no, new folder: nothing made") << false << true << QByteArray() << QByteArray() << QString();
    QTest::newRow("yes: catalogue and settings made")
        << true << false << QByteArray() << QByteArray("programme=\r\n") << QString();
    QTest::newRow("yes, new folder") << true << true << QByteArray() << QByteArray("programme=\r\n") << QString();
    QTest::newRow("yes: own settings kept") << true << false << own << own << QStringLiteral("cherche.exe");
}

void TestStartFailures::noDatabase()
{
    QFETCH(bool, answer);
    QFETCH(bool, newFolder);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, settingsAfter);
    QFETCH(QString, setting);

    Fixture fixture;
    const CatalogueFolder folder(newFolder ? fixture.folder().file(u"nouveau dossier") : fixture.folder().path());
    if (!newFolder) {
        QVERIFY(QFile::remove(folder.database()));
        QVERIFY(QFile::remove(folder.settings()));
        if (!settings.isNull()) {
            writeFile(folder.settings(), settings);
        }
    }
    const QStringList before = folderEntries(folder.path());

    fixture.messenger.answers = {answer};
    std::optional<LoadedCatalogue> loaded = Startup::open(folder, fixture.messenger);

    QCOMPARE(fixture.messenger.questions,
             QStringList{UiTexts::createQuestion().arg(QDir::toNativeSeparators(folder.path()))});
    QCOMPARE(fixture.messenger.texts(), QStringList());
    if (!answer) {
        QVERIFY(!loaded);
        QCOMPARE(folderEntries(folder.path()), before);
        QCOMPARE(QFileInfo::exists(folder.path()), !newFolder);
        return;
    }
    QVERIFY(loaded);
    for (const Category& category : Category::all()) {
        QCOMPARE(loaded->catalogue->count(category), 0);
    }
    QCOMPARE(loaded->catalogue->authors(), QStringList());
    QCOMPARE(loaded->programSetting, setting);
    QCOMPARE(contents(folder.settings()), settingsAfter);
    // The new catalogue is a working one: an entry goes in and comes back.
    const PuzzleEntry first = Fixture::series(1).first();
    QCOMPARE(loaded->catalogue->append(Category::vantorel(), first), Catalogue::AppendResult::Added);
    QCOMPARE(loaded->catalogue->entry(Category::vantorel(), first.ref), first);
}

void TestStartFailures::unreadableDatabase_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // %1: the catalogue file

    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator random(20261206);
    for (char& byte : noise) {
        byte = static_cast<char>(random.bounded(256));
    }
    const QByteArray full = fullCatalogue();
    QVERIFY(full.size() > 64 * 1024);

    const QString unreadable = CatalogueTexts::notACatalogue();
    QTest::newRow("random bytes") << noise << unreadable;
    QTest::newRow("truncated to 2 KB") << full.left(2048) << unreadable;
    QTest::newRow("truncated to its header") << full.left(100) << unreadable;
    QTest::newRow("truncated to half") << full.left(full.size() / 2) << unreadable;
    QTest::newRow("text file") << QByteArray("ref;nom;auteur\r\n001;Réponse;Léa\r\n") << unreadable;
    QTest::newRow("header then noise") << full.left(100) + noise << unreadable;
    // SQLite reads an empty file as a database without tables.
    QTest::newRow("empty file") << QByteArray("") << CatalogueTexts::missingTables().arg(u"%1", u"dravé");
}

void TestStartFailures::unreadableDatabase()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    Fixture fixture;
    writeFile(fixture.folder().database(), bytes);
    const QStringList before = folderEntries(fixture.folder().path());

    QVERIFY(!fixture.openWindow());

    QCOMPARE(fixture.messenger.shown.size(), 1);
    const FakeMessenger::Shown& shown = fixture.messenger.shown.first();
    QCOMPARE(shown.icon, Messenger::Icon::Critical);
    QCOMPARE(shown.text, message.arg(fixture.folder().database()));
    QVERIFY(!shown.detail.isEmpty());
    QVERIFY(fixture.messenger.questions.isEmpty());
    QVERIFY(contents(fixture.folder().database()) == bytes);
    QCOMPARE(folderEntries(fixture.folder().path()), before);
}

void TestStartFailures::lockedDatabase()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(3));
    const QByteArray bytes = contents(fixture.folder().database());
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
        other.setDatabaseName(fixture.folder().database());
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY2(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")), qPrintable(lock.lastError().text()));

        QVERIFY(!fixture.openWindow());
        QCOMPARE(fixture.messenger.shown.size(), 1);
        QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Critical);
        QCOMPARE(fixture.messenger.shown.first().text, CatalogueTexts::locked().arg(fixture.folder().database()));

        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other program"));
    QVERIFY(contents(fixture.folder().database()) == bytes);

    // Once the other program lets go, the same folder opens.
    QVERIFY(fixture.openWindow());
    QCOMPARE(fixture.messenger.shown.size(), 1);
}

void TestStartFailures::missingTable_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<bool>("outOfDate");
    QTest::addColumn<QString>("missing");

    QTest::newRow("no titres") << QStringLiteral("DROP TABLE titres") << true << QStringLiteral("titres");
    QTest::newRow("titres without lien") << QStringLiteral("ALTER TABLE titres DROP COLUMN lien") << true
                                         << QStringLiteral("lien");
    QTest::newRow("no dravé") << QStringLiteral("DROP TABLE \"dravé\"") << false << QStringLiteral("dravé");
    QTest::newRow("no tusqué") << QStringLiteral("DROP TABLE \"tusqué\"") << false << QStringLiteral("tusqué");
    QTest::newRow("no auteurs") << QStringLiteral("DROP TABLE auteurs") << false << QStringLiteral("auteurs");
    // The Plomé answer is `lieu`: a Plomé table with `nom` instead is not ours.
    QTest::newRow("plomé with nom") << QStringLiteral("ALTER TABLE \"plomé\" RENAME COLUMN lieu TO nom") << false
                                    << QStringLiteral("plomé");
}

void TestStartFailures::missingTable()
{
    QFETCH(QString, breakage);
    QFETCH(bool, outOfDate);
    QFETCH(QString, missing);

    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    fixture.sql(breakage);
    const QByteArray bytes = contents(fixture.folder().database());

    QVERIFY(!fixture.openWindow());

    QCOMPARE(fixture.messenger.shown.size(), 1);
    const FakeMessenger::Shown& shown = fixture.messenger.shown.first();
    QCOMPARE(shown.icon, Messenger::Icon::Critical);
    if (outOfDate) {
        QCOMPARE(shown.text, QStringLiteral("Vous n'avez pas la dernière version de la base de données."));
        // The keeper learns which file and what is missing.
        QVERIFY2(shown.detail.contains(fixture.folder().database()), qPrintable(shown.detail));
        QVERIFY2(shown.detail.contains(missing), qPrintable(shown.detail));
    } else {
        QCOMPARE(shown.text, CatalogueTexts::missingTables().arg(fixture.folder().database(), missing));
    }
    QVERIFY(contents(fixture.folder().database()) == bytes);
}

void TestStartFailures::settingsFile_data()
{
    QTest::addColumn<QByteArray>("settings"); // null: no settings file
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("detail"); // %1: the settings file
    QTest::addColumn<QString>("setting");

    const QString noFile = UiTexts::noSettingsFile();
    const QString noLine = UiTexts::noProgramLine();
    QTest::newRow("missing") << QByteArray() << false << noFile << QString();
    QTest::newRow("empty") << QByteArray("") << false << noLine << QString();
    QTest::newRow("section only") << QByteArray("[dernier_numero]\r\ndravé=012\r\n") << false << noLine << QString();
    QTest::newRow("capital P") << QByteArray("Programme=cherche.exe\r\n") << false << noLine << QString();
    QTest::newRow("space before") << QByteArray(" programme=cherche.exe\r\n") << false << noLine << QString();
    QTest::newRow("without equals") << QByteArray("programme cherche.exe\r\n") << false << noLine << QString();
    QTest::newRow("last line without end")
        << QByteArray("; rien\r\nprogramme=cherche.exe") << true << QString() << QStringLiteral("cherche.exe");
    QTest::newRow("odd lines skipped, space kept")
        << QByteArray("Programme=a\r\n programme=b\nprogramme= c.exe \rprogramme=d\r\n") << true << QString()
        << QStringLiteral(" c.exe ");
}

void TestStartFailures::settingsFile()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, opens);
    QFETCH(QString, detail);
    QFETCH(QString, setting);

    Fixture fixture;
    QVERIFY(QFile::remove(fixture.folder().settings()));
    if (!settings.isNull()) {
        writeFile(fixture.folder().settings(), settings);
    }
    const QByteArray bytes = contents(fixture.folder().database());

    auto window = fixture.openWindow();

    QCOMPARE(bool(window), opens);
    QVERIFY(contents(fixture.folder().database()) == bytes);
    if (opens) {
        QCOMPARE(window->programSetting(), setting);
        QVERIFY(fixture.messenger.shown.isEmpty());
        return;
    }
    QCOMPARE(fixture.messenger.shown.size(), 1);
    const FakeMessenger::Shown& shown = fixture.messenger.shown.first();
    QCOMPARE(shown.icon, Messenger::Icon::Critical);
    QCOMPARE(shown.text, UiTexts::outOfDate());
    QCOMPARE(shown.detail, detail.arg(fixture.folder().settings()));
    // Nothing was created in its place.
    QCOMPARE(QFileInfo::exists(fixture.folder().settings()), !settings.isNull());
}

void TestStartFailures::secondInstance()
{
    Fixture fixture;
    FakeMessenger& messenger = fixture.messenger;

    auto first = Startup::lockFolder(fixture.folder(), messenger);
    QVERIFY(first && *first);
    QVERIFY(messenger.shown.isEmpty());

    auto second = Startup::lockFolder(fixture.folder(), messenger);
    QVERIFY(!second);
    QCOMPARE(messenger.shown.size(), 1);
    QCOMPARE(messenger.shown.first().icon, Messenger::Icon::Critical);
    QCOMPARE(messenger.shown.first().text,
             UiTexts::alreadyRunning().arg(QDir::toNativeSeparators(fixture.folder().path())));

    // The lock goes with the first instance; the next start gets it.
    first->reset();
    auto third = Startup::lockFolder(fixture.folder(), messenger);
    QVERIFY(third && *third);
    QCOMPARE(messenger.shown.size(), 1);
}

void TestStartFailures::readOnly_data()
{
    QTest::addColumn<bool>("wholeFolder");

    QTest::newRow("read-only catalogue file") << false;
    QTest::newRow("read-only folder") << true;
}

void TestStartFailures::readOnly()
{
    QFETCH(bool, wholeFolder);

    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(3));
    const QString target = wholeFolder ? fixture.folder().path() : fixture.folder().database();
    const QFile::Permissions writable = QFileInfo(target).permissions();
    // WriteUser too: on Unix Qt maps it onto the owner's bit.
    QVERIFY(QFile::setPermissions(
        target, writable & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther)));
    auto restore = qScopeGuard([&] { QFile::setPermissions(target, writable); });
    if (QFileInfo(target).isWritable()) {
        // Root (as in the build containers) writes whatever the permissions say.
        QSKIP("Permissions do not stop this user's writes (root): read-only cases cannot be set up here.");
    }
    const QByteArray bytes = contents(fixture.folder().database());

    // A folder where no lock can be written is opened without one, and reading needs no writing.
    auto lock = Startup::lockFolder(fixture.folder(), fixture.messenger);
    QVERIFY(lock);
    QCOMPARE(bool(*lock), !wholeFolder);
    auto window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(fixture.messenger.shown.isEmpty());

    // The first write is refused with a message naming the file (in a read-only folder SQLite opens the file
    // read-only too, since it could not write its journal), and the file stays as it was.
    Catalogue& catalogue = window->catalogue();
    const PuzzleEntry fourth = Fixture::series(4).last();
    try {
        catalogue.append(Category::dravé(), fourth);
        QFAIL("a write into a read-only catalogue was reported as done");
    } catch (const CatalogueError& error) {
        QCOMPARE(error.message(), CatalogueTexts::readOnly().arg(fixture.folder().database()));
    }
    QCOMPARE(catalogue.count(Category::dravé()), 3);
    QVERIFY(contents(fixture.folder().database()) == bytes);
    // In a read-only folder the backup cannot be made either, and the keeper is told.
    QCOMPARE(fixture.messenger.shown.size(), wholeFolder ? 1 : 0);
}

QTEST_MAIN(TestStartFailures)
#include "tst_start_failures.moc"
