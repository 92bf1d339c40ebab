// The old program's Access file offered at start, read through stand-ins for mdbtools found on the PATH:
// `mdb-tables -1 FILE` lists the files of "mdb-tables.d" beside it, `mdb-export FILE TABLE` prints one of them.
#include "app/Startup.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "transfer/AccessFile.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

class TestOldCatalogue : public QObject {
    Q_OBJECT

private slots:
    void offeredAtStart_data();
    void offeredAtStart();
};

namespace {

// What mdb-export prints: the header unquoted, texts quoted with quotes doubled, an empty text as nothing, rows
// ended by LF and a memo's own CRLF kept inside its quotes. The table names differ from ours in letter case.
const QByteArray dravé = "ref,nom,auteur,url,lien\n\"001\",\"Le \"\"Pont\"\", vieux\",\"Léa\",\"http://i/1.jpg\","
                         "\"Non disponible\"\n\"003\",\"Deux\r\nlignes\",\"Max\",,\n";
const QByteArray plomé = "ref,lieu,auteur,url,lien\n\"001\",\"Lyon\",\"Léa\",\"u\",\"l\"\n";
const QByteArray auteurs = "nom\n\"Léa\"\n\"Max\"\n";

} // namespace

void TestOldCatalogue::offeredAtStart_data()
{
    // The keeper's answers, what the tables or the tools lack, the Dravé rows of the window that opens (−1: no
    // window and no catalogue made), and what the keeper is told of the import.
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("lacking");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("told");
    QTest::newRow("import taken") << QList<bool>{true} << QString() << 2 << u"Dravé : 2 entrées"_s;
    QTest::newRow("declined: empty catalogue") << QList<bool>{false, true} << QString() << 0 << QString();
    QTest::newRow("broken table") << QList<bool>{true} << u"quote"_s << -1
                                  << u"Mézor.mdb, table plomé, ligne 3 : guillemet ouvert"_s;
    QTest::newRow("no mdb-export") << QList<bool>{true} << u"mdb-export"_s << -1
                                   << u"« mdb-export » est introuvable : installez le paquet Debian mdbtools"_s;
}

void TestOldCatalogue::offeredAtStart()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QString, lacking);
    QFETCH(int, rows);
    QFETCH(QString, told);
#ifdef Q_OS_WIN
    QSKIP("the stand-ins are shell scripts");
#endif
    const QTemporaryDir tools;
    writeFile(tools.filePath(u"mdb-tables"_s),
              "#!/bin/sh\n[ \"$1\" = -1 ] && [ -f \"$2\" ] && exec ls -1 \"$0.d\"\nexit 1\n");
    writeFile(tools.filePath(u"mdb-export"_s),
              "#!/bin/sh\n[ -f \"$1\" ] && exec cat \"$(dirname \"$0\")/mdb-tables.d/$2\"\nexit 1\n");
    writeFile(tools.filePath(u"mdb-tables.d/DRAVÉ"_s), dravé);
    writeFile(tools.filePath(u"mdb-tables.d/Plomé"_s), lacking == u"quote" ? plomé + "\"002\",\"Caen\n" : plomé);
    writeFile(tools.filePath(u"mdb-tables.d/AUTEURS"_s), auteurs);
    for (const QString& tool : {u"mdb-tables"_s, u"mdb-export"_s}) {
        QVERIFY(tool == lacking ? QFile::remove(tools.filePath(tool))
                                : QFile::setPermissions(tools.filePath(tool), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    // Without one of the stand-ins, the real mdbtools of this machine must not be found either.
    qputenv("PATH", QFile::encodeName(tools.path()) + (lacking.startsWith(u"mdb") ? QByteArray() : ':' + path));
    const QTemporaryDir dir;
    const CatalogueFolder folder(dir.path());
    writeFile(AccessFile::inFolder(folder), "Standard Jet DB");
    writeFile(folder.settings(), "programme=recherche.exe\r\n");
    FakeMessenger messenger;
    messenger.answers = answers;
    FakeDesktop desktop;
    FakeProgramStarter programs;

    const auto window = Startup::openWindow(folder, Services{&messenger, &desktop, &programs});

    QCOMPARE(messenger.questions.size(), answers.size());
    QCOMPARE(messenger.questions.first(),
             u"Ce dossier contient le catalogue de l'ancienne version (Mézor.mdb). L'importer ?"_s);
    QCOMPARE(messenger.defaults.first(), Messenger::Answer::Yes);
    QCOMPARE(bool(window), rows >= 0);
    QCOMPARE(QFileInfo::exists(folder.database()), rows >= 0);
    if (!told.isEmpty()) {
        QVERIFY2(messenger.shown.last().detail.contains(told), qPrintable(messenger.shown.last().detail));
    }
    if (rows > 0) {
        QCOMPARE(window->categoryTab(Category::dravé())->model()->rowCount(), rows);
        const Catalogue& catalogue = window->catalogue();
        QCOMPARE(
            catalogue.entries(Category::dravé(), EntryOrder::Stored),
            (QList<PuzzleEntry>{{u"001"_s, u"Le \"Pont\", vieux"_s, u"Léa"_s, u"http://i/1.jpg"_s, u"Non disponible"_s},
                                {u"003"_s, u"Deux\r\nlignes"_s, u"Max"_s, u""_s, u""_s}}));
        QCOMPARE(catalogue.count(Category::plomé()), 1);
        QCOMPARE(catalogue.count(Category::vantorel()), 0); // not in the file: an empty table
        QCOMPARE(catalogue.authors(), (QStringList{u"Léa"_s, u"Max"_s}));
    }
}

QTEST_MAIN(TestOldCatalogue)
#include "tst_old_catalogue.moc"
