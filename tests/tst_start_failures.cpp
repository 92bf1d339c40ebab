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
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

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

// A real catalogue, broken by `breakage` when given. With many rows its first pages no longer describe the rest
// once it is cut.
QByteArray catalogue(int rows, const QString& breakage = {})
{
    Fixture fixture;
    for (const Category& category : Category::all()) {
        fixture.insert(category, Fixture::series(rows, {QStringLiteral("Léa"), QStringLiteral("Zoé")}));
    }
    if (!breakage.isEmpty()) {
        fixture.sql(breakage);
    }
    return contents(fixture.folder().database());
}

} // namespace

class TestStartFailures : public QObject {
    Q_OBJECT

private slots:
    void noDatabase_data();
    void noDatabase();
    void refusedStart_data();
    void refusedStart();
    void lockedDatabase();
    void secondInstance();
    void readOnly_data();
    void readOnly();
};

void TestStartFailures::noDatabase_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QByteArray>("settings"); // null: a new folder, without settings either
    QTest::addColumn<QString>("setting");

    QTest::newRow("no: nothing made") << false << QByteArray() << QString();
    QTest::newRow("yes: folder, catalogue and settings made") << true << QByteArray() << QString();
    QTest::newRow("yes: own settings kept")
        << true << QByteArray("; à moi\r\nprogramme=cherche.exe\r\n[dernier_numero]\r\n")
        << QStringLiteral("cherche.exe");
}

void TestStartFailures::noDatabase()
{
    QFETCH(bool, answer);
    QFETCH(QByteArray, settings);
    QFETCH(QString, setting);

    Fixture fixture;
    const CatalogueFolder folder(settings.isNull() ? fixture.folder().file(u"nouveau dossier")
                                                   : fixture.folder().path());
    if (!settings.isNull()) {
        QVERIFY(QFile::remove(folder.database()));
        writeFile(folder.settings(), settings);
    }
    fixture.messenger.answers = {answer};

    std::optional<LoadedCatalogue> loaded = Startup::open(folder, fixture.messenger);

    QCOMPARE(fixture.messenger.questions,
             QStringList{UiTexts::createQuestion().arg(QDir::toNativeSeparators(folder.path()))});
    QCOMPARE(fixture.messenger.texts(), QStringList());
    QCOMPARE(bool(loaded), answer);
    if (!answer) {
        QVERIFY(!QFileInfo::exists(folder.path()));
        return;
    }
    QCOMPARE(loaded->programSetting, setting);
    QCOMPARE(contents(folder.settings()), settings.isNull() ? QByteArray("programme=\r\n") : settings);
    // The new catalogue is a working one: an entry goes in and comes back.
    const PuzzleEntry first = Fixture::series(1).first();
    QCOMPARE(loaded->catalogue->append(Category::vantorel(), first), Catalogue::AppendResult::Added);
    QCOMPARE(loaded->catalogue->entry(Category::vantorel(), first.ref), first);
}

void TestStartFailures::refusedStart_data()
{
    QTest::addColumn<QByteArray>("bytes");    // null: the fixture's catalogue
    QTest::addColumn<QByteArray>("settings"); // null: no settings file
    QTest::addColumn<QString>("text");        // {db}: the catalogue file, {ini}: the settings file
    QTest::addColumn<QString>("detail");      // a fragment of the box's detail

    QList<quint32> words(16 * 1024);
    QRandomGenerator(20261206).fillRange(words.data(), words.size());
    const QByteArray noise(reinterpret_cast<const char*>(words.constData()), words.size() * 4);
    const QByteArray full = catalogue(150);
    QVERIFY(full.size() > 64 * 1024);

    const QByteArray ini = "programme=cherche.exe\r\n";
    const QString unreadable = CatalogueTexts::notACatalogue().arg(u"{db}");
    QTest::newRow("random bytes") << noise << ini << unreadable << QString();
    QTest::newRow("truncated to its header") << full.left(100) << ini << unreadable << QString();
    QTest::newRow("truncated to half") << full.left(full.size() / 2) << ini << unreadable << QString();
    QTest::newRow("text file") << QByteArray("ref;nom;auteur\r\n001;Réponse;Léa\r\n") << ini << unreadable << QString();
    // SQLite reads an empty file as a database without tables.
    const QString missing = CatalogueTexts::missingTables();
    QTest::newRow("empty file") << QByteArray("") << ini << missing.arg(u"{db}", u"dravé") << QString();
    QTest::newRow("no auteurs") << catalogue(2, QStringLiteral("DROP TABLE auteurs")) << ini
                                << missing.arg(u"{db}", u"auteurs") << QString();
    // The Plomé answer is `lieu`: a Plomé table with `nom` instead is not ours.
    QTest::newRow("plomé with nom") << catalogue(2, QStringLiteral("ALTER TABLE \"plomé\" RENAME COLUMN lieu TO nom"))
                                    << ini << missing.arg(u"{db}", u"plomé") << QString();

    // An out-of-date catalogue or settings file: the keeper learns which file and what is wrong.
    const QString outOfDate = UiTexts::outOfDate();
    QTest::newRow("no titres") << catalogue(2, QStringLiteral("DROP TABLE titres")) << ini << outOfDate
                               << CatalogueTexts::outOfDate().arg(u"{db}");
    QTest::newRow("titres without lien") << catalogue(2, QStringLiteral("ALTER TABLE titres DROP COLUMN lien")) << ini
                                         << outOfDate << u"titres » : lien"_s;
    QTest::newRow("no settings file") << QByteArray() << QByteArray() << outOfDate
                                      << UiTexts::noSettingsFile().arg(u"{ini}");
    QTest::newRow("no programme line") << QByteArray()
                                       << QByteArray("Programme=cherche.exe\r\n programme=a\r\n[dernier_numero]\r\n")
                                       << outOfDate << UiTexts::noProgramLine().arg(u"{ini}");
}

void TestStartFailures::refusedStart()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, settings);
    QFETCH(QString, text);
    QFETCH(QString, detail);

    Fixture fixture;
    const QString database = fixture.folder().database();
    const auto place = [&](QString s) {
        return s.replace(QStringLiteral("{db}"), database)
            .replace(QStringLiteral("{ini}"), fixture.folder().settings());
    };
    if (bytes.isNull()) {
        bytes = contents(database);
    } else {
        writeFile(database, bytes);
    }
    QVERIFY(QFile::remove(fixture.folder().settings()));
    if (!settings.isNull()) {
        writeFile(fixture.folder().settings(), settings);
    }
    const QStringList before = folderEntries(fixture.folder().path());

    QVERIFY(!fixture.openWindow());

    QCOMPARE(fixture.messenger.texts(), QStringList{place(text)});
    const FakeMessenger::Shown& shown = fixture.messenger.shown.first();
    QCOMPARE(shown.icon, Messenger::Icon::Critical);
    QVERIFY(!shown.detail.isEmpty());
    QVERIFY2(shown.detail.contains(place(detail)), qPrintable(shown.detail));
    QVERIFY(fixture.messenger.questions.isEmpty());
    QVERIFY(contents(database) == bytes);
    QCOMPARE(folderEntries(fixture.folder().path()), before);
}

void TestStartFailures::lockedDatabase()
{
    Fixture fixture;
    const QByteArray bytes = contents(fixture.folder().database());
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
        other.setDatabaseName(fixture.folder().database());
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));

        QVERIFY(!fixture.openWindow());
        QCOMPARE(fixture.messenger.texts(), QStringList{CatalogueTexts::locked().arg(fixture.folder().database())});
        QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Critical);
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other program"));
    QVERIFY(contents(fixture.folder().database()) == bytes);
    // Once the other program lets go, the same folder opens.
    QVERIFY(fixture.openWindow());
}

void TestStartFailures::secondInstance()
{
    Fixture fixture;
    auto first = Startup::lockFolder(fixture.folder(), fixture.messenger);
    QVERIFY(first && *first);

    QVERIFY(!Startup::lockFolder(fixture.folder(), fixture.messenger));
    QCOMPARE(fixture.messenger.texts(),
             QStringList{UiTexts::alreadyRunning().arg(QDir::toNativeSeparators(fixture.folder().path()))});
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Critical);

    // The lock goes with the first instance; the next start gets it.
    first->reset();
    auto third = Startup::lockFolder(fixture.folder(), fixture.messenger);
    QVERIFY(third && *third);
    QCOMPARE(fixture.messenger.shown.size(), 1);
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

    // The first write is refused with a message naming the file, and the file stays as it was.
    try {
        window->catalogue().append(Category::dravé(), Fixture::series(4).last());
        QFAIL("a write into a read-only catalogue was reported as done");
    } catch (const CatalogueError& error) {
        QCOMPARE(error.message(), CatalogueTexts::readOnly().arg(fixture.folder().database()));
    }
    QCOMPARE(window->catalogue().count(Category::dravé()), 3);
    QVERIFY(contents(fixture.folder().database()) == bytes);
    // In a read-only folder the backup cannot be made either, and the keeper is told.
    QCOMPARE(fixture.messenger.shown.size(), wholeFolder ? 1 : 0);
}

QTEST_MAIN(TestStartFailures)
#include "tst_start_failures.moc"
