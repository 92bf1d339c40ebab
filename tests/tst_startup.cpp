#include "app/CommandLine.h"
#include "app/Opening.h"
#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueTexts.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "transfer/TransferController.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"
#include "ui/UiTexts.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLockFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void openedWindow();
    void gridModelIsSound();
    void chosenFolder();
    void missingCatalogue_data();
    void missingCatalogue();
    void refusedStart_data();
    void refusedStart();
    void folderLock_data();
    void folderLock();
    void readOnly_data();
    void readOnly();
    void refusedCommandLeavesNoFolder();
};

void TestStartup::openedWindow()
{
    // Forty entries stored from the last number down; the Dravé authors: 14 times "bob", 26 times "Zoé".
    QList<PuzzleEntry> stored = Fixture::series(40, {u"bob"_s, u"Zoé"_s, u"Zoé"_s});
    std::reverse(stored.begin(), stored.end());
    Fixture fixture;
    fixture.insert(Category::dravé(), stored);
    fixture.insert(Category::vantorel(), stored);
    auto window = fixture.openShown();
    QVERIFY(window);
    const CategoryTab* dravé = window->categoryTab(Category::dravé());
    const CategoryTab* vantorel = window->categoryTab(Category::vantorel());

    // The grids open on their last entries, whenever the view gets its size: the first tab once the window is laid
    // out, a tab shown for the first time, and after a resize.
    const auto lastShown = [](const CategoryTab* tab) {
        const QTableView* grid = tab->grid();
        const QRect last = grid->visualRect(tab->model()->index(tab->model()->rowCount() - 1, 0));
        return tab->topGridRow() > 1 && grid->viewport()->rect().contains(last);
    };
    QTRY_VERIFY(lastShown(dravé));
    window->tabs()->setCurrentIndex(Category::vantorel().tabIndex);
    QTRY_VERIFY(lastShown(vantorel));
    window->resize(window->width() + 40, window->height() + 160);
    QTRY_VERIFY(lastShown(vantorel));

    // Loading brings the Dravé tab forward without running the tab-change step.
    QSignalSpy changes(window.get(), &MainWindow::tabChanged);
    QVERIFY(window->reload());
    // The controls as the keeper first sees them; some names only this test reaches.
    QCOMPARE((std::tuple{window->tabs()->currentIndex(), changes.count(), window->lastSelection()->text(),
                         window->searchTab()->options()->checkedId()}),
             (std::tuple{0, 0, u"0"_s, -1}));
    QStringList shown = {window->objectName(), window->windowTitle(), window->tabs()->objectName()};
    for (int i = 0; i < window->tabs()->count(); ++i) {
        shown.append(window->tabs()->tabText(i));
    }
    QCOMPARE(shown, (QStringList{u"Form1"_s, u"Dravé - Plomé - Tusqué - Vantorel - 4.3.2"_s, u"onglet"_s, u"Dravé"_s,
                                 u"Plomé"_s, u"Tusqué"_s, u"Recherche"_s, u"Stats"_s, u"Vantorel"_s}));
    // Per series: the answer's label, the scroll buttons, the address label; the image options as they start.
    QStringList panels;
    for (const Category& c : Category::all()) {
        const auto* inWindow = child<QAbstractButton>(window.get(), c.name(u"win_"));
        const auto* showImage = child<QAbstractButton>(window.get(), c.name(u"chk_img_"));
        QVERIFY2(inWindow && inWindow->isChecked() && showImage && !showImage->isChecked(), qPrintable(c.caption));
        for (const QString& name : {c.panelLabels.at(1), c.firstRowsButton, c.lastRowsButton, c.panelLabels.at(4)}) {
            QVERIFY2(child<QWidget>(window.get(), name), qPrintable(name));
            panels.append(child<QWidget>(window.get(), name)->property("text").toString().trimmed());
        }
    }
    QCOMPARE(panels.join(u' ').remove(u':'),
             u"Nom << >> Lien Sorvane Lieu << >> Lien Sorvane Nom << >> Lien Sorvane Nom << >> Lien Sorvane"_s);
    for (const QString& name : {u"Label20"_s, u"last_sel"_s, u"nb_founded"_s, u"pus"_s, u"Check1"_s, u"List2"_s}) {
        const auto* widget = child<QWidget>(window.get(), name);
        QVERIFY2(widget && widget->isHidden() == (name != u"Label20"), qPrintable(name)); // the others are unused
    }

    // Vantorel keeps the table's stored order; the other series come in number order.
    QList<QStringList> rows;
    for (const PuzzleEntry& entry : stored) {
        rows.append({entry.ref, entry.answer, entry.author});
    }
    QCOMPARE(vantorel->model()->rows(), rows);
    std::reverse(rows.begin(), rows.end());
    QCOMPARE(dravé->model()->rows(), rows);
    QCOMPARE(dravé->model()->headers(), (QStringList{u" N°"_s, u" Nom"_s, u" Auteur"_s}));
    // Each series lists its own authors (in AuthorList's order: "Zoé", then "bob"); the edit text starts empty. An
    // empty series leaves only the header row.
    const CategoryTab* empty = window->categoryTab(Category::tusqué());
    QCOMPARE(
        (std::tuple{dravé->authorBox()->count(), dravé->authorBox()->itemText(0), dravé->authorBox()->currentText(),
                    empty->model()->rowCount(), empty->topGridRow(), empty->authorBox()->count()}),
        (std::tuple{2, u"Zoé"_s, QString(), 0, 0, 0}));
    // Once loaded, a change of tab is reported.
    window->tabs()->setCurrentIndex(Tabs::Search);
    QCOMPARE(changes.count(), 1);
}

void TestStartup::gridModelIsSound()
{
    GridModel model({u"a"_s, u"b"_s});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({{u"1"_s, u"x"_s}});
    model.appendRow({u"2"_s, u"y"_s});
    model.setRow(0, {u"1"_s, u"z"_s});
    model.setCellBackground(1, 1, Qt::yellow);
    const QVariant yellow = model.data(model.index(1, 1), Qt::BackgroundRole);
    model.setCellBackground(1, 1, QColor());
    QCOMPARE((std::tuple{yellow.value<QColor>(), model.data(model.index(1, 1), Qt::BackgroundRole).isValid()}),
             (std::tuple{QColor(Qt::yellow), false}));
    QCOMPARE((std::tuple{model.findRow(0, u"2"_s), model.findRow(0, u"3"_s)}), (std::tuple{1, -1}));
    model.setRows({});
    QCOMPARE(model.gridRowCount(), 1);
}

void TestStartup::chosenFolder()
{
    // The command line first; else the program's folder when it holds a catalogue, ours or the old program's;
    // else the data folder.
    QTemporaryDir program, old;
    QCOMPARE(CatalogueFolder::choose({}, program.path(), u"/données"_s), u"/données"_s);
    writeFile(CatalogueFolder(program.path()).database(), {});
    writeFile(CatalogueFolder(old.path()).file(u"Mézor.mdb"), {});
    QCOMPARE(CatalogueFolder::choose({}, program.path(), u"/données"_s), program.path());
    QCOMPARE(CatalogueFolder::choose({}, old.path(), u"/données"_s), old.path());
    QCOMPARE(CatalogueFolder::choose(u"/ailleurs"_s, program.path(), u"/données"_s), u"/ailleurs"_s);
}

void TestStartup::missingCatalogue_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QByteArray>("settings"); // null: a new folder, without settings either
    QTest::newRow("no: nothing made") << false << QByteArray();
    QTest::newRow("yes: folder, catalogue and settings made") << true << QByteArray();
    QTest::newRow("yes: own settings kept") << true << QByteArray("; à moi\r\nprogramme=cherche.exe\r\n");
}

void TestStartup::missingCatalogue()
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
    QCOMPARE((std::tuple{fixture.messenger.texts(), bool(loaded), QFileInfo::exists(folder.path())}),
             (std::tuple{QStringList(), answer, answer}));
    if (answer) {
        QCOMPARE(loaded->programSetting, settings.isNull() ? QString() : u"cherche.exe"_s);
        QCOMPARE(fileBytes(folder.settings()), settings.isNull() ? QByteArray("programme=\r\n") : settings);
    }
}

void TestStartup::refusedStart_data()
{
    QTest::addColumn<QByteArray>("bytes");    // null: the fixture's catalogue
    QTest::addColumn<QString>("sql");         // run by another program, which keeps the file open meanwhile
    QTest::addColumn<QByteArray>("settings"); // null: no settings file
    QTest::addColumn<QString>("text");        // {db}: the catalogue file, {ini}: the settings file
    QTest::addColumn<QString>("detail");      // a fragment of the box's detail

    // With many rows the first pages of the file no longer describe the rest once it is cut or overwritten.
    Fixture large;
    large.insert(Category::dravé(), Fixture::series(600));
    const QByteArray full = fileBytes(large.folder().database());
    QByteArray overwritten = full;
    overwritten.replace(full.size() / 2, 4096, QByteArray(4096, '\xA5'));

    const QByteArray own, ini = "programme=cherche.exe\r\n"; // own: the fixture's catalogue
    const QString none, db = u"{db}"_s, unreadable = CatalogueTexts::notACatalogue().arg(db);
    const QString missing = CatalogueTexts::missingTables(), outOfDate = UiTexts::outOfDate();
    QTest::newRow("text file") << QByteArray("ref;nom;auteur\r\n001;Réponse;Léa\r\n") << none << ini << unreadable
                               << none;
    QTest::newRow("cut in half") << full.left(full.size() / 2) << none << ini << unreadable << none;
    // The schema still reads: only the check of the pages finds the damage.
    QTest::newRow("a page overwritten") << overwritten << none << ini << unreadable << u"in database main"_s;
    QTest::newRow("locked") << own << u"BEGIN EXCLUSIVE"_s << ini << CatalogueTexts::locked().arg(db) << none;
    // SQLite reads an empty file as a database without tables.
    QTest::newRow("empty file") << QByteArray("") << none << ini << missing.arg(db, u"dravé") << none;
    QTest::newRow("no auteurs") << own << u"DROP TABLE auteurs"_s << ini << missing.arg(db, u"auteurs") << none;
    // The Plomé answer is `lieu`: a Plomé table with `nom` instead is not ours.
    const QString nom = u"ALTER TABLE \"plomé\" RENAME COLUMN lieu TO nom"_s,
                  lien = u"ALTER TABLE titres DROP COLUMN lien"_s;
    QTest::newRow("plomé with nom") << own << nom << ini << missing.arg(db, u"plomé") << none;
    // An out-of-date catalogue or settings file: the keeper learns which file and what is wrong.
    QTest::newRow("no titres") << own << u"DROP TABLE titres"_s << ini << outOfDate
                               << CatalogueTexts::outOfDate().arg(db);
    QTest::newRow("titres without lien") << own << lien << ini << outOfDate
                                         << CatalogueTexts::absentFields().arg(u"titres", u"lien");
    QTest::newRow("no settings file") << own << none << QByteArray() << outOfDate
                                      << UiTexts::noSettingsFile().arg(u"{ini}");
    // A search program that ran away: the file is not read into memory, and the keeper is told why.
    QTest::newRow("settings file filled by a runaway program")
        << own << none << QByteArray("programme=\r\n") + QByteArray(2 * 1024 * 1024, 'x') << outOfDate
        << CatalogueTexts::settingsTooLarge().arg(u"{ini}").arg(1024);
    const QByteArray noProgram = "Programme=cherche.exe\r\n programme=a\r\n[dernier_numero]\r\n";
    QTest::newRow("no programme line") << own << none << noProgram << outOfDate
                                       << UiTexts::noProgramLine().arg(u"{ini}");
}

void TestStartup::refusedStart()
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
        writeFile(database, bytes);
    }
    QVERIFY(QFile::remove(fixture.folder().settings()));
    if (!settings.isNull()) {
        fixture.writeSettings(settings);
    }
    QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, QString::fromUtf8(QTest::currentDataTag()));
    other.setDatabaseName(database);
    QVERIFY(sql.isEmpty() || (other.open() && QSqlQuery(other).exec(sql)));
    bytes = fileBytes(database);
    const auto entries = [&] {
        return QDir(fixture.folder().path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    const QStringList before = entries();

    QVERIFY(!fixture.openWindow());

    QCOMPARE(fixture.messenger.texts(), QStringList{place(text)});
    const FakeMessenger::Shown& shown = fixture.messenger.shown.first();
    QVERIFY2(shown.icon == Messenger::Icon::Critical && shown.detail.contains(place(detail)), qPrintable(shown.detail));
    QVERIFY(fileBytes(database) == bytes);
    QCOMPARE(entries(), before);
    other.close();
}

void TestStartup::folderLock_data()
{
    QTest::addColumn<QString>("folderName");  // empty: the fixture's own folder
    QTest::addColumn<QByteArray>("leftLock"); // a lock file found there (pid, program, host), null: none
    QTest::addColumn<int>("age");             // of that lock file, in seconds
    QTest::addColumn<bool>("answer");         // to a question about the lock
    QTest::addColumn<QString>("asked");       // what the question names, empty when none
    QTest::addColumn<bool>("taken");
    const QByteArray here = "4194303\nmezor\n" + Opening::lockHostName().toUtf8() + '\n';
    const QByteArray elsewhere = "4242\nmezor\nautre-pc\n";
    const QString none;
    QTest::newRow("a second Mézor is refused") << none << QByteArray() << 0 << false << none << true;
    QTest::newRow("a new folder is locked at once") << u"nouveau"_s << QByteArray() << 0 << false << none << true;
    QTest::newRow("left here by a process now gone") << none << here << 0 << false << none << true;
    QTest::newRow("held elsewhere, the keeper leaves") << none << elsewhere << 3600 << false << u"autre-pc"_s << false;
    QTest::newRow("held elsewhere, the keeper takes over") << none << elsewhere << 0 << true << u"autre-pc"_s << true;
    // A start cut short (a stick pulled out) leaves a lock that names no one: stale once a few seconds old.
    QTest::newRow("empty, left long ago") << none << ""_ba << 60 << false << none << true;
    QTest::newRow("unreadable, left long ago") << none << "\xFF\xFE\n"_ba << 6 << false << none << true;
    QTest::newRow("empty, being written now") << none << ""_ba << 3 << false << none << false;
}

void TestStartup::folderLock()
{
    QFETCH(QString, folderName);
    QFETCH(QByteArray, leftLock);
    QFETCH(int, age);
    QFETCH(bool, answer);
    QFETCH(QString, asked);
    QFETCH(bool, taken);
    Fixture fixture;
    const CatalogueFolder folder(folderName.isEmpty() ? fixture.folder().path() : fixture.folder().file(folderName));
    if (!leftLock.isNull()) {
        writeFile(folder.lockFile(), leftLock);
        QFile file(folder.lockFile());
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
    }
    fixture.messenger.answers = {answer};

    auto lock = Opening::lockFolder(folder, fixture.messenger);

    QCOMPARE(fixture.messenger.questions.size(), asked.isEmpty() ? 0 : 1);
    QVERIFY(asked.isEmpty() || fixture.messenger.questions.first().contains(asked));
    QCOMPARE(bool(lock && lock->isHeld()), taken);
    // A lock not taken is left as it was; whoever took it holds it now, and the next Mézor is refused.
    QVERIFY(taken ? !Opening::lockFolder(folder, fixture.messenger) : fileBytes(folder.lockFile()) == leftLock);
    const QString refusal = UiTexts::alreadyRunning().arg(QDir::toNativeSeparators(folder.path()));
    QCOMPARE(fixture.messenger.texts(), !asked.isEmpty() && !taken ? QStringList() : QStringList{refusal});
    QVERIFY(fixture.messenger.shown.isEmpty() || fixture.messenger.shown.first().icon == Messenger::Icon::Critical);
    // Released, the lock leaves no folder the start made for it.
    lock.reset();
    QCOMPARE(QFileInfo::exists(folder.path()), folderName.isEmpty());
}

void TestStartup::readOnly_data()
{
    QTest::addColumn<bool>("wholeFolder");
    QTest::newRow("read-only catalogue file") << false;
    QTest::newRow("read-only folder") << true;
}

void TestStartup::readOnly()
{
    QFETCH(bool, wholeFolder);
    Fixture fixture;
    const QString folder = fixture.folder().path();
    const QTemporaryDir out; // for the exports
    using P = QFile::Permission;
    const QFile::Permissions read = P::ReadOwner | P::ReadOther | P::ExeOwner | P::ExeOther;
    const QFile::Permissions write = P::WriteOwner | P::WriteOther;
    QVERIFY(QFile::setPermissions(folder, wholeFolder ? read : read | write) &&
            QFile::setPermissions(fixture.folder().database(), P::ReadOwner | P::ReadOther) &&
            QFile::setPermissions(out.path(), read | write));
#ifdef Q_OS_UNIX
    // Permissions do not stop root: the process acts as the user "nobody" meanwhile.
    const bool asNobody = geteuid() == 0 && setegid(65534) == 0 && seteuid(65534) == 0;
#endif
    const auto restore = qScopeGuard([&] {
#ifdef Q_OS_UNIX
        QVERIFY(!asNobody || (seteuid(0) == 0 && setegid(0) == 0));
#endif
        QFile::setPermissions(folder, read | write);
    });
    if (QFile probe(wholeFolder ? folder + u"/essai"_s : fixture.folder().database());
        probe.open(QIODevice::ReadWrite)) {
        QSKIP("Permissions do not stop this user's writes: read-only cases cannot be set up here.");
    }
    const QByteArray bytes = fileBytes(fixture.folder().database());

    // Where no lock can be written the catalogue is opened only to be read, without a question.
    auto lock = Opening::lockFolder(fixture.folder(), fixture.messenger);
    QVERIFY2(lock && lock->isHeld() == !wholeFolder, qPrintable(fixture.messenger.texts().join(u"|")));
    auto window = Startup::openWindow(fixture.folder(), {&fixture.messenger, &fixture.desktop, &fixture.programs},
                                      lock->access());
    QVERIFY2(window && fixture.messenger.shown.isEmpty() && fixture.messenger.questions.isEmpty(),
             qPrintable(fixture.messenger.texts().join(u"|")));

    // The first write is refused with a message naming the file, and the file stays as it was.
    try {
        window->catalogue().append(Category::dravé(), Fixture::series(1).first());
        QFAIL("a write into a read-only catalogue was reported as done");
    } catch (const CatalogueError& error) {
        QCOMPARE(error.message(), CatalogueTexts::readOnly().arg(fixture.folder().database()));
    }
    QCOMPARE(window->catalogue().count(Category::dravé()), 0);
    QVERIFY(fileBytes(fixture.folder().database()) == bytes);
    // Reading goes on: the menu's export, then the commands that only read; a command that writes needs the lock.
    window->findChild<TransferController*>()->setFolderChooser([&](const QString&) { return out.filePath(u"w"_s); });
    window->findChild<QAction*>(u"mnu_exporter"_s)->trigger();
    QVERIFY2(fixture.messenger.lastText().startsWith(u"Catalogue exporté"_s), qPrintable(fixture.messenger.lastText()));
    window.reset();
    lock.reset();
    const QStringList run{u"mezor"_s, folder};
    QCOMPARE(CommandLine::run(run + QStringList{u"--export"_s, out.filePath(u"c"_s)}), 0);
    QCOMPARE(CommandLine::run(run + QStringList{u"--check-links"_s}), 0);
    QCOMPARE(CommandLine::run(run + QStringList{u"--archive-images"_s}), wholeFolder ? 1 : 0);
}

void TestStartup::refusedCommandLeavesNoFolder()
{
    // An export from a mistyped folder, an import of an empty folder: refused, and no folder is left behind.
    const QTemporaryDir dir, csv;
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--export"_s, csv.path(), dir.filePath(u"typo/deep/folder"_s)}), 1);
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--import"_s, csv.path(), dir.filePath(u"newcat"_s)}), 1);
    QVERIFY(QDir(dir.path()).exists() && QDir(dir.path()).isEmpty()); // an empty folder it did not make stays
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
