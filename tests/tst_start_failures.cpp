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
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class TestStartFailures : public QObject {
    Q_OBJECT

private slots:
    void missingCatalogue_data();
    void missingCatalogue();
    void refusedStart_data();
    void refusedStart();
    void folderLock_data();
    void folderLock();
    void readOnly_data();
    void readOnly();
};

void TestStartFailures::missingCatalogue_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QByteArray>("settings"); // null: a new folder, without settings either
    QTest::newRow("no: nothing made") << false << QByteArray();
    QTest::newRow("yes: folder, catalogue and settings made") << true << QByteArray();
    QTest::newRow("yes: own settings kept") << true << QByteArray("; à moi\r\nprogramme=cherche.exe\r\n");
}

void TestStartFailures::missingCatalogue()
{
    QFETCH(bool, answer);
    QFETCH(QByteArray, settings);
    Fixture fixture;
    const CatalogueFolder folder(settings.isNull() ? fixture.folder().file(u"nouveau dossier")
                                                   : fixture.folder().path());
    if (!settings.isNull()) {
        QVERIFY(QFile::remove(folder.database()));
        fixture.writeSettings(settings);
    }
    fixture.messenger.answers = {answer};

    std::optional<LoadedCatalogue> loaded = Startup::open(folder, fixture.messenger);

    QCOMPARE(fixture.messenger.questions,
             QStringList{UiTexts::createQuestion().arg(QDir::toNativeSeparators(folder.path()))});
    QCOMPARE(fixture.messenger.texts(), QStringList());
    QCOMPARE(bool(loaded), answer);
    QCOMPARE(QFileInfo::exists(folder.path()), answer);
    if (!answer) {
        return;
    }
    QCOMPARE(loaded->programSetting, settings.isNull() ? QString() : u"cherche.exe"_s);
    QCOMPARE(contents(folder.settings()), settings.isNull() ? QByteArray("programme=\r\n") : settings);
}

void TestStartFailures::refusedStart_data()
{
    QTest::addColumn<QByteArray>("bytes");    // null: the fixture's catalogue
    QTest::addColumn<QString>("sql");         // run by another program, which keeps the file open meanwhile
    QTest::addColumn<QByteArray>("settings"); // null: no settings file
    QTest::addColumn<QString>("text");        // {db}: the catalogue file, {ini}: the settings file
    QTest::addColumn<QString>("detail");      // a fragment of the box's detail

    // With many rows the first pages of the file no longer describe the rest once it is cut or overwritten.
    Fixture large;
    large.insert(Category::dravé(), Fixture::series(600));
    const QByteArray full = contents(large.folder().database());
    QByteArray overwritten = full;
    overwritten.replace(full.size() / 2, 4096, QByteArray(4096, '\xA5'));

    const QByteArray own; // the fixture's catalogue
    const QString none;
    const QByteArray ini = "programme=cherche.exe\r\n";
    const QString unreadable = CatalogueTexts::notACatalogue().arg(u"{db}");
    QTest::newRow("text file") << QByteArray("ref;nom;auteur\r\n001;Réponse;Léa\r\n") << none << ini << unreadable
                               << none;
    QTest::newRow("cut in half") << full.left(full.size() / 2) << none << ini << unreadable << none;
    // The schema still reads: only the check of the pages finds the damage.
    QTest::newRow("a page overwritten") << overwritten << none << ini << unreadable << u"in database main"_s;
    QTest::newRow("locked") << own << u"BEGIN EXCLUSIVE"_s << ini << CatalogueTexts::locked().arg(u"{db}") << none;
    // SQLite reads an empty file as a database without tables.
    const QString missing = CatalogueTexts::missingTables();
    QTest::newRow("empty file") << QByteArray("") << none << ini << missing.arg(u"{db}", u"dravé") << none;
    QTest::newRow("no auteurs") << own << u"DROP TABLE auteurs"_s << ini << missing.arg(u"{db}", u"auteurs") << none;
    // The Plomé answer is `lieu`: a Plomé table with `nom` instead is not ours.
    QTest::newRow("plomé with nom") << own << u"ALTER TABLE \"plomé\" RENAME COLUMN lieu TO nom"_s << ini
                                    << missing.arg(u"{db}", u"plomé") << none;

    // An out-of-date catalogue or settings file: the keeper learns which file and what is wrong.
    const QString outOfDate = UiTexts::outOfDate();
    QTest::newRow("no titres") << own << u"DROP TABLE titres"_s << ini << outOfDate
                               << CatalogueTexts::outOfDate().arg(u"{db}");
    QTest::newRow("titres without lien") << own << u"ALTER TABLE titres DROP COLUMN lien"_s << ini << outOfDate
                                         << CatalogueTexts::absentFields().arg(u"titres", u"lien");
    QTest::newRow("no settings file") << own << none << QByteArray() << outOfDate
                                      << UiTexts::noSettingsFile().arg(u"{ini}");
    QTest::newRow("no programme line") << own << none
                                       << QByteArray("Programme=cherche.exe\r\n programme=a\r\n[dernier_numero]\r\n")
                                       << outOfDate << UiTexts::noProgramLine().arg(u"{ini}");
}

void TestStartFailures::refusedStart()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, sql);
    QFETCH(QByteArray, settings);
    QFETCH(QString, text);
    QFETCH(QString, detail);

    Fixture fixture;
    const QString database = fixture.folder().database();
    const auto place = [&](QString s) {
        return s.replace(u"{db}"_s, database).replace(u"{ini}"_s, fixture.folder().settings());
    };
    if (!bytes.isNull()) {
        QFile file(database);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    }
    QVERIFY(QFile::remove(fixture.folder().settings()));
    if (!settings.isNull()) {
        fixture.writeSettings(settings);
    }
    QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, QString::fromUtf8(QTest::currentDataTag()));
    other.setDatabaseName(database);
    QVERIFY(sql.isEmpty() || (other.open() && QSqlQuery(other).exec(sql)));
    bytes = contents(database);
    const QStringList before = folderEntries(fixture.folder().path());

    QVERIFY(!fixture.openWindow());

    QCOMPARE(fixture.messenger.texts(), QStringList{place(text)});
    const FakeMessenger::Shown& shown = fixture.messenger.shown.first();
    QCOMPARE(shown.icon, Messenger::Icon::Critical);
    QVERIFY2(shown.detail.contains(place(detail)), qPrintable(shown.detail));
    QVERIFY(contents(database) == bytes);
    QCOMPARE(folderEntries(fixture.folder().path()), before);
    other.close();
}

void TestStartFailures::folderLock_data()
{
    QTest::addColumn<QString>("folderName");  // empty: the fixture's own folder
    QTest::addColumn<QByteArray>("leftLock"); // a lock file found there: pid, program, host
    QTest::addColumn<bool>("answer");         // to a question about the lock
    QTest::addColumn<QString>("asked");       // what the question names, empty when none
    QTest::addColumn<bool>("taken");
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    QTest::newRow("a second Mézor is refused") << QString() << QByteArray() << false << QString() << true;
    QTest::newRow("a new folder is locked at once") << u"nouveau"_s << QByteArray() << false << QString() << true;
    QTest::newRow("left here by a process now gone") << QString() << "4194303\nmezor\n" + here + '\n'
                                                     << false << QString() << true;
    QTest::newRow("held elsewhere, the keeper leaves")
        << QString() << QByteArray("4242\nmezor\nautre-pc\n") << false << u"autre-pc"_s << false;
    QTest::newRow("held elsewhere, the keeper takes it over")
        << QString() << QByteArray("4242\nmezor\nautre-pc\n") << true << u"autre-pc"_s << true;
}

void TestStartFailures::folderLock()
{
    QFETCH(QString, folderName);
    QFETCH(QByteArray, leftLock);
    QFETCH(bool, answer);
    QFETCH(QString, asked);
    QFETCH(bool, taken);
    Fixture fixture;
    const CatalogueFolder folder(folderName.isEmpty() ? fixture.folder().path() : fixture.folder().file(folderName));
    if (!leftLock.isEmpty()) {
        QFile file(folder.lockFile());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(leftLock) == leftLock.size());
    }
    fixture.messenger.answers = {answer};

    auto lock = Startup::lockFolder(folder, fixture.messenger);

    QCOMPARE(fixture.messenger.questions.size(), asked.isEmpty() ? 0 : 1);
    QVERIFY(asked.isEmpty() || fixture.messenger.questions.first().contains(asked));
    QCOMPARE(bool(lock && *lock), taken);
    const QString refusal = UiTexts::alreadyRunning().arg(QDir::toNativeSeparators(folder.path()));
    if (!taken) {
        QCOMPARE(contents(folder.lockFile()), leftLock);
        QCOMPARE(fixture.messenger.texts(), QStringList());
        return;
    }
    // Whoever took the lock holds it now: the next Mézor is refused.
    QVERIFY(!Startup::lockFolder(folder, fixture.messenger));
    QCOMPARE(fixture.messenger.texts(), QStringList{refusal});
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Critical);
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
    const QString target = wholeFolder ? fixture.folder().path() : fixture.folder().database();
    const QFile::Permissions writable = QFileInfo(target).permissions();
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
    auto restore = qScopeGuard([&] { QFile::setPermissions(target, writable); });
    if (QFileInfo(target).isWritable()) {
        QSKIP("Permissions do not stop this user's writes (root): read-only cases cannot be set up here.");
    }
    const QByteArray bytes = contents(fixture.folder().database());

    // A folder where no lock can be written is opened without one once the keeper says so; reading needs no writing.
    fixture.messenger.answers = {true};
    auto lock = Startup::lockFolder(fixture.folder(), fixture.messenger);
    QVERIFY(lock && bool(*lock) == !wholeFolder);
    QCOMPARE(fixture.messenger.questions.size(), wholeFolder ? 1 : 0);
    auto window = fixture.openWindow();
    QVERIFY(window && fixture.messenger.shown.isEmpty());

    // The first write is refused with a message naming the file, and the file stays as it was.
    try {
        window->catalogue().append(Category::dravé(), Fixture::series(1).first());
        QFAIL("a write into a read-only catalogue was reported as done");
    } catch (const CatalogueError& error) {
        QCOMPARE(error.message(), CatalogueTexts::readOnly().arg(fixture.folder().database()));
    }
    QCOMPARE(window->catalogue().count(Category::dravé()), 0);
    QVERIFY(contents(fixture.folder().database()) == bytes);
    // In a read-only folder the backup cannot be made either, and the keeper is told.
    QCOMPARE(fixture.messenger.shown.size(), wholeFolder ? 1 : 0);
}

QTEST_MAIN(TestStartFailures)
#include "tst_start_failures.moc"
