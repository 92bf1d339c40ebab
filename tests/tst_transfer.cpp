// The catalogue in and out: the reader, the row checks and the refused files as one table; the round trip
// export → import → export through the command line and the menu "Catalogue"; the old program's Access file offered
// at start, read through stand-ins for mdbtools.
#include "app/CommandLine.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/TextDecoding.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "transfer/AccessFile.h"
#include "transfer/CatalogueImport.h"
#include "transfer/CsvFolder.h"
#include "transfer/ImportReportDialog.h"
#include "transfer/TransferController.h"
#include "ui/CategoryTab.h"
#include "ui/DesktopOpener.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"
#include "ui/StatisticsTab.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTransfer : public QObject {
    Q_OBJECT

private slots:
    void decoding_data();
    void decoding();
    void reader_data();
    void reader();
    void roundTrip();
    void exportAllOrNothing_data();
    void exportAllOrNothing();
    void folderWithoutProgram_data();
    void folderWithoutProgram();
    void offeredAtStart_data();
    void offeredAtStart();
};

namespace {

const QByteArray header = "ref,nom,auteur,url,lien\n";

// Every view that a catalogue's content reaches: grids, author lists, the statistics as they stand, and a search.
QList<QStringList> everythingShown(MainWindow& window)
{
    QList<QStringList> shown;
    for (const Category& category : Category::all()) {
        CategoryTab* tab = window.categoryTab(category);
        shown += tab->model()->rows();
        shown.append({QString::number(tab->authorBox()->count()), tab->authorBox()->itemText(0)});
        shown += window.statisticsTab()->model(category.index)->rows();
    }
    window.searchTab()->option(Category::dravé().index)->click();
    window.searchTab()->criterion()->setText(u"e"_s);
    window.searchTab()->searchButton()->click();
    return shown + window.searchTab()->resultsModel()->rows();
}

} // namespace

void TestTransfer::decoding_data()
{
    // Bytes, then how they are read: "U text" (UTF-8), "W text" (Windows-1252), "M line" (mixed, refused); a text
    // with "Ã©" or "â€™" patterns is marked "!".
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ASCII") << "a\r\nb"_ba << u"U a\r\nb"_s;
    QTest::newRow("BOM dropped") << "\xEF\xBB\xBFZo\xC3\xA9"_ba << u"U Zoé"_s;
    QTest::newRow("U+0800, U+10000, U+10FFFF") << "\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"_ba
                                               << u"U \u0800\U00010000\U0010FFFF"_s;
    QTest::newRow("1252") << "Zo\xe9\n\x80\x9f"_ba << u"W Zoé\n€Ÿ"_s;
    QTest::newRow("overlong, surrogate, above U+10FFFF, cut: 1252")
        << "\xC1\xBF\xE0\x9F\xBF\xED\xA0\x80\xF0\x8F\xBF\xBF\xF4\x90\x80\x80\xC3"_ba
        << u"W Á¿à\u0178¿í\u00A0€ð\u008F¿¿ô\u0090€€Ã"_s;
    QTest::newRow("UTF-8, then 1252 on line 3") << "\xC3\xA9\nx\n\xe9"_ba << u"M 3"_s;
    QTest::newRow("1252, then UTF-8") << "\xe9\n\xC3\xA9"_ba << u"M 1"_s;
    QTest::newRow("cut at the end") << "\xC3\xA9\xC3"_ba << u"M 1"_s;
    QTest::newRow("doubly encoded é") << "Math\xC3\x83\xC2\xA9o"_ba << u"U! MathÃ©o"_s;
    QTest::newRow("doubly encoded ’") << "l\xC3\xA2\xE2\x82\xAC\xE2\x84\xA2x"_ba << u"U! lâ€™x"_s;
    QTest::newRow("doubly encoded œ") << "\xC3\x85\xE2\x80\x9C"_ba << u"U! Å“"_s;
    QTest::newRow("capital, no-break space") << "CAF\xC3\x89\xC2\xA0:"_ba << u"U CAFÉ\u00A0:"_s;
    QTest::newRow("â then one sign") << "\xC3\xA2\xC2\xA9 \xC3\x83"_ba << u"U â© Ã"_s;
}

void TestTransfer::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const TextDecoding::Decoded decoded = TextDecoding::decode(bytes);
    const QString kind = u"UWM"_s.at(int(decoded.encoding)) +
                         (TextDecoding::looksDoublyEncoded(decoded.text) ? u"!"_s : QString());
    QCOMPARE(kind + u' ' + (decoded.brokenLine > 0 ? QString::number(decoded.brokenLine) : decoded.text), expected);
    QCOMPARE(SettingsFile::decode(bytes), decoded.brokenLine > 0 ? QString::fromLatin1(bytes) : decoded.text);
}

void TestTransfer::reader_data()
{
    // dravé.csv and auteurs.csv (none when null; dravé.csv grown to `size` bytes when not 0): the start of each
    // problem, "!line reason"; in rows that name any, the entries read, "ref|answer|author|url|link", the register
    // "@name" and the start of each note "?note". Items separated by "§".
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("authors");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qint64>("size");
    const auto row = [](const char* name, const QByteArray& file, const QString& expected, qint64 size = 0,
                        const QByteArray& authors = {}) { QTest::newRow(name) << file << authors << expected << size; };
    const QString one = u"001|Pont|Léa|u|l"_s;
    const QString holes = u"!0 les numéros d'une série se suivent de 001 au dernier, sans trou, sinon l'ajout ne "
                          "pourrait jamais la compléter ni la continuer : "_s;
    const QString absent = u"?Absents, donc laissés vides : plomé.csv, tusqué.csv, titres.csv"_s;
    row("BOM, CR, CRLF", "\xEF\xBB\xBFref,nom,auteur,url,lien\r001,Pont,Léa,u,l\r\n", one);
    row("LF, no last line end", header + "001,Pont,Léa,u,l", one);
    row("semicolon, 1252", "ref;nom;auteur;url;lien\n001;Th\xe9 \x80, v;Zo\xe9;u;l\n", u"001|Thé €, v|Zoé|u|l"_s);
    row("UTF-8 then 1252", header + "001,Éléphant,Léa,u,l\n002,Zo\xe9,L,u,l\n", u"!3 cette ligne n'est pas en UTF-8"_s);
    row("columns in any order and case, extra ignored", "LIEN,Url,extra,Auteur,NOM,Ref\nl,u,x,Léa,Pont,001\n", one);
    row("empty lines skipped, empty values kept", header + "\n001,Pont,Léa,,\n\n", u"001|Pont|Léa||"_s);
    row("quoting", header + "\"001\",\"Le \"\"P\"\", v\",L,\"a\r\nb\",x\"y\n", u"001|Le \"P\", v|L|a\r\nb|x\"y"_s);
    row("formula guards taken off", header + "001,'=1+1,'@x,''-y,'z\n", u"001|=1+1|@x|'-y|'z"_s);
    row("lines counted in quotes", header + "001,\"a\r\nb\rc\",L,u,l\n0002,P,L,u,l\n", u"!5 numéro « 0002 »"_s);
    row("missing column", "ref,nom,auteur,url\n001,Pont,Léa,u\n", u"!1 colonne(s) absente(s) de l'en-tête : lien"_s);
    row("field count", header + "001,Pont,Léa\n002,Pont,Léa,u,l,x\n", u"!2 3 champ(s) au lieu des 5§!3 6 champ"_s);
    row("quote faults", header + "001,\"P\"x,L,u,l\n002,\"P,L,u,l\n003,P,L,u,l\n", u"!2 texte collé§!3 guillemet"_s);
    row("numbers of one to three digits 0-9, once; answer and author not blank",
        header + "1,P,L,u,l\n0012,P,L,u,l\n٠١٢,P,L,u,l\n 01,P,L,u,l\n005,P,L,u,l\n005, ,\t,u,l\n",
        u"!3 numéro « 0012 »§!4 numéro « ٠١٢ »§!5 numéro «  01 »§!7 numéro 005 déjà donné à la ligne 6§!7 « nom » "
        "est vide§!7 « auteur » est vide§"_s + holes + u"manquent 002 à 004"_s);
    row("numbers padded", header + "1,P,L,u,l\n02,Q,L,u,l\n003,R,L,u,l\n",
        u"001|P|L|u|l§002|Q|L|u|l§003|R|L|u|l§?Absents§?Numéros complétés à trois chiffres (« 7 » lu « 007 », comme "
        "un tableur les écrit) : 2.§?Attention"_s);
    row("a hole", header + "001,P,L,u,l\n002,P,L,u,l\n004,P,L,u,l\n", holes + u"manque 003"_s);
    row("no 001", header + "002,P,L,u,l\n003,P,L,u,l\n", holes + u"manque 001"_s);
    row("000", header + "000,P,L,u,l\n001,P,L,u,l\n", u"!2 numéro 000 : une série commence à 001"_s);
    row("one-column register read one field per line", "ref;nom;auteur;url;lien\n001;P;Jean, le grand;u;l\n",
        u"001|P|Jean, le grand|u|l§@Jean, le grand§@Max, \"le\"§@a;b"_s, 0, "nom\nJean, le grand\n\"Max, \"\"le\"\"\"\na;b\n");
    row("register absent", header + "001,P,Léa,u,l\n002,Q,léa,u,l\n003,R,Max,u,l\n",
        u"001|P|Léa|u|l§002|Q|léa|u|l§003|R|Max|u|l§@Léa§@Max§"_s + absent +
            u", auteurs.csv.§?Attention : le registre des auteurs est absent, alors que les entrées nomment des "
            "auteurs ; les 2 auteurs qu'elles nomment y ont été inscrits."_s);
    row("authors registered", header + "001,P,Léa,u,l\n002,Q,Max,u,l\n",
        u"001|P|Léa|u|l§002|Q|Max|u|l§@léa§@Max§"_s + absent +
            u".§?Auteur nommé par des entrées et absent du registre, inscrit comme le fait un ajout (1) : Max."_s,
        0, "nom\nléa\n");
    QByteArray ten = header;
    for (char author = 'a'; author < 'k'; ++author) {
        ten += "00" + QByteArray::number(author - 'a' + 1).right(1) + ",P," + author + ",u,l\n";
    }
    row("ten authors registered", ten.replace("000,", "010,"), u"?Abs§?Auteurs nommés par des entrées et absents du "
        "registre, inscrits comme le fait un ajout (10) : a, b, c, d, e, f, g, h, i, j."_s, 0, "nom\nLéa\n");
    row("doubly encoded", header + "001,MathÃ©o,Léa,u,l\n002,P,Léa,u,â€™x\n003,Pont,Léa,u,l\n",
        u"001|MathÃ©o|Léa|u|l§002|P|Léa|u|â€™x§003|Pont|Léa|u|l§"_s + absent +
            u".§?À vérifier : dravé.csv, lignes 2, 3 : texte"_s,
        0, "nom\nLéa\n");
    row("empty file", "\xEF\xBB\xBF", u"!0 fichier vide"_s);
    row("binary file", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), u"!0 octets nuls"_s);
    row("broken UTF-8 after a BOM", "\xEF\xBB\xBF"_ba + header + "001,Th\xe9,L,u,l\n", u"!2 cette ligne n'est pas"_s);
    row("broken UTF-8 in the header", "\xEF\xBB\xBFref,nom,auteur,url,lien\xe9\n", u"!1 cette ligne n'est pas"_s);
    row("100 MB file", header, u"!0 100 Mo, bien plus qu'un catalogue entier"_s, 100LL << 20);
    row("no file at all", QByteArray(), u"!0 aucun des fichiers"_s);
}

void TestTransfer::reader()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, authors);
    QFETCH(QString, expected);
    QFETCH(qint64, size);
    const QTemporaryDir csv;
    if (!file.isNull()) {
        writeFile(csv.filePath(u"dravé.csv"_s), file);
        QVERIFY(size == 0 || QFile(csv.filePath(u"dravé.csv"_s)).resize(size));
    }
    if (!authors.isNull()) {
        writeFile(csv.filePath(u"auteurs.csv"_s), authors);
    }
    const CatalogueImport::Checked checked = CatalogueImport::check(CsvFolder::read(csv.path()));
    const QStringList lines = expected.split(u'§');
    const auto named = [&lines](QChar mark) {
        return std::any_of(lines.begin(), lines.end(), [mark](const QString& l) { return l.startsWith(mark); });
    };
    QStringList actual;
    for (const ImportProblem& problem : checked.problems.listed()) {
        actual.append(u"!%1 %2"_s.arg(problem.line).arg(problem.reason));
    }
    // A refused file keeps nothing: its entries would show among the problems.
    const bool entries = named(u'0') || !checked.problems.isEmpty();
    for (const PuzzleEntry& e : entries ? checked.plan.series.at(0) : QList<PuzzleEntry>()) {
        actual.append(QStringList{e.ref, e.answer, e.author, e.url, e.link}.join(u'|'));
    }
    for (const QString& name : named(u'@') ? checked.plan.authors : QStringList()) {
        actual.append(u'@' + name);
    }
    for (const QString& note : named(u'?') ? checked.notes : QStringList()) {
        actual.append(u'?' + note);
    }
    for (qsizetype i = 0; i < actual.size(); ++i) {
        actual[i] = actual.at(i).left(lines.value(i).size());
    }
    QCOMPARE(actual, lines);
}

void TestTransfer::roundTrip()
{
    // A report lists a hundred problems of a file, then says how many more there are.
    ImportProblems problems;
    for (int i = 0; i < 103; ++i) {
        problems.add({u"f.csv"_s, 1, u"x"_s});
    }
    const QStringList capped = problems.lines();
    QCOMPARE((std::tuple{capped.size(), capped.last(), problems.total()}),
             (std::tuple{101LL, u"f.csv : 3 autres problèmes, non listés."_s, 103LL}));
    Fixture old;
    // Texts that a spreadsheet would run as formulas come back exactly, guarded or not.
    old.insert(Category::dravé(), {{u"001"_s, QString(10'000, u'é'), u"Max"_s, u"\"q\""_s, u" "_s},
                                   {u"002"_s, u"=HYPERLINK(\"http://x\",\"clic\")"_s, u"Léa"_s, u"-Zorro-"_s, u"'@x"_s},
                                   {u"003"_s, u"a\tb\u0001c\u007fd\u001b; et ,"_s, u"léa"_s, {}, {}},
                                   {u"004"_s, u"مرحبا עולם \u202Eabc"_s, u"Léa"_s, u"x\ny"_s, u"\tx\ry"_s}});
    old.insert(Category::plomé(), Fixture::series(3, {u"Zoé"_s, u"Max"_s}));
    old.insert(Category::tusqué(), {{u"002"_s, u"a \"b\", c\r\nd"_s, u"Léa"_s, u"u"_s, u"l"_s},
                                    {u"001"_s, u" P "_s, u"Max"_s, u"x"_s, {}}});
    old.insert(Category::vantorel(), Fixture::series(1));
    old.registerAuthors({u"Zoé"_s, u"Léa"_s, u"Max, \"le grand\""_s, u"Max"_s});
    const QByteArray stored = fileBytes(old.folder().database());
    const QTemporaryDir dir;
    const QString target = dir.filePath(u"nouveau"_s), earlier = dir.filePath(u"earlier"_s);
    writeFile(earlier + u"/dravé.csv"_s, "earlier");
    QVERIFY(QDir().mkpath(earlier + u"/auteurs.csv"_s));
    const QString one = dir.filePath(u"1"_s), two = dir.filePath(u"2"_s);

    QCOMPARE(CommandLine::run({u"mezor"_s, u"--export"_s, QString(), old.folder().path()}), 2);
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--import-mdb"_s, dir.filePath(u"absent.mdb"_s), target}), 1);
    // A refused import creates nothing; an export that cannot write all five files leaves the earlier ones whole.
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--import"_s, earlier, target}), 1);
    QVERIFY(!QFileInfo::exists(CatalogueFolder(target).database()));
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--export"_s, earlier, old.folder().path()}), 1);
    QCOMPARE(fileBytes(earlier + u"/dravé.csv"_s), "earlier");
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--export"_s, one, old.folder().path()}), 0);
    QCOMPARE(fileBytes(one + u"/tusqué.csv"_s),
             "\xEF\xBB\xBFref,nom,auteur,url,lien\r\n001, P ,Max,x,\r\n002,\"a \"\"b\"\", c\r\nd\",Léa,u,l\r\n"_ba);
    QVERIFY(fileBytes(one + u"/dravé.csv"_s)
                .contains("\r\n002,\"'=HYPERLINK(\"\"http://x\"\",\"\"clic\"\")\",Léa,'-Zorro-,''@x\r\n"));
    // A catalogue that holds anything is refused, and stays as it was.
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--import"_s, one, old.folder().path()}), 1);
    QCOMPARE(fileBytes(old.folder().database()), stored);
    QCOMPARE(CommandLine::run({u"mezor"_s, u"--import"_s, one, target}), 0);

    // The menu imports into the empty catalogue of an open window, which then shows it as after a start.
    Fixture empty;
    auto window = empty.openWindow();
    QVERIFY(window);
    QString chosen = one; // the folder dialog's answer
    window->findChild<TransferController*>()->setFolderChooser([&chosen](const QString&) { return chosen; });
    window->tabs()->setCurrentIndex(Tabs::Statistics);
    // A cancelled import writes nothing, whenever its check ends.
    window->findChild<QAction*>(u"mnu_importer"_s)->trigger();
    window->findChild<QProgressDialog*>()->cancel();
    QTRY_VERIFY(!window->findChild<QProgressDialog*>());
    QVERIFY(!window->findChild<ImportReportDialog*>() && window->catalogue().isEmpty());
    window->findChild<QAction*>(u"mnu_importer"_s)->trigger();
    // The files are read on a thread of their own: the window's thread is back before the report.
    QVERIFY(!window->findChild<ImportReportDialog*>());
    ImportReportDialog* report = nullptr;
    QTRY_VERIFY((report = window->findChild<ImportReportDialog*>(u"frm_rapport"_s)) && report->isVisible());
    QStringList lines;
    for (int i = 0; i < report->list()->count(); ++i) {
        lines.append(report->list()->item(i)->text());
    }
    QCOMPARE(lines, (QStringList{u"Dravé : 4 entrées"_s, u"Plomé : 3 entrées"_s, u"Tusqué : 2 entrées"_s,
                                 u"Vantorel : 1 entrée"_s, u"Auteurs : 4 noms"_s}));
    // Back on the first tab, with the grids and author lists of the new catalogue.
    CategoryTab* dravé = window->categoryTab(Category::dravé());
    QCOMPARE((QList<int>{window->tabs()->currentIndex(), dravé->model()->rowCount(), dravé->authorBox()->count()}),
             (QList<int>{0, 4, 3}));
    QCOMPARE(QDir(empty.folder().backups()).entryList(QDir::Files).size(), 1);
    chosen = two;
    window->findChild<QAction*>(u"mnu_exporter"_s)->trigger();
    QVERIFY(empty.messenger.lastText().startsWith(u"Catalogue exporté"_s));
    for (const QString& name : QDir(one).entryList(QDir::Files)) {
        QCOMPARE(fileBytes(two + u'/' + name), fileBytes(one + u'/' + name));
    }
    QCOMPARE(QDir(two).entryList(QDir::Files).size(), ImportInput::Tables);
    auto before = old.openWindow();
    QVERIFY(before);
    before->tabs()->setCurrentIndex(Tabs::Statistics);
    QCOMPARE(everythingShown(*window), everythingShown(*before));
    for (const Category& category : Category::all()) {
        QCOMPARE(window->catalogue().entries(category, EntryOrder::ByNumber),
                 before->catalogue().entries(category, EntryOrder::ByNumber));
    }

    // Now that it holds entries, a second import is refused before any folder is asked for.
    window->findChild<QAction*>(u"mnu_importer"_s)->trigger();
    QVERIFY(empty.messenger.lastText().startsWith(u"Le catalogue contient déjà"_s));
    window->findChild<QAction*>(u"mnu_dossier"_s)->trigger();
    QCOMPARE(empty.desktop.opened, QList<QUrl>{QUrl::fromLocalFile(empty.folder().path())});
}

void TestTransfer::exportAllOrNothing_data()
{
    // Whether an earlier export is there; the rename that is refused (1 = the first; each earlier file is set aside
    // by one, then each new one put in place by one; −1: a file stands where the folder should be made); whether
    // every later rename is refused too. Then what the five names hold ('N' new, 'E' earlier, '-' nothing) and the
    // heading of the failure.
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<int>("refused");
    QTest::addColumn<bool>("stuck");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("heading");
    const QString failed = u"L'export dans le dossier « %1 » a échoué"_s;
    const QString kept = failed + u" : les fichiers d'un export précédent y sont restés tels quels."_s;
    const QString none = failed + u" : aucun fichier n'y a été écrit."_s;
    QTest::newRow("done") << true << 0 << false << u"NNNNN"_s << QString();
    QTest::newRow("third set aside refused") << true << 3 << false << u"EEEEE"_s << kept;
    QTest::newRow("fourth placing refused") << true << 9 << false << u"EEEEE"_s << kept;
    QTest::newRow("fourth placing refused, nothing comes back")
        << true << 9 << true << u"NNN--"_s
        << failed + u" en cours de route, et les fichiers d'avant n'ont pas tous pu être remis en place. Fichiers du "
                    "nouvel export : dravé.csv, plomé.csv, tusqué.csv. Fichiers d'un export précédent : aucun. Anciens "
                    "fichiers restés sous un autre nom : dravé.csv (sous le nom .dravé.csv.mezor-ancien), plomé.csv (sous le nom "
                    ".plomé.csv.mezor-ancien), tusqué.csv (sous le nom .tusqué.csv.mezor-ancien), titres.csv (sous le nom .titres.csv.mezor-ancien), auteurs.csv "
                    "(sous le nom .auteurs.csv.mezor-ancien)."_s;
    QTest::newRow("no earlier export, second placing refused") << false << 2 << false << u"-----"_s << none;
    QTest::newRow("a file where the folder should be") << false << -1 << false << u"-----"_s << none;
}

void TestTransfer::exportAllOrNothing()
{
    QFETCH(bool, earlier);
    QFETCH(int, refused);
    QFETCH(bool, stuck);
    QFETCH(QString, held);
    QFETCH(QString, heading);
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(1));
    const QTemporaryDir dir;
    const QString folder = dir.filePath(earlier ? u"csv"_s : u"neuf/csv"_s);
    for (int table = 0; earlier && table < ImportInput::Tables; ++table) {
        writeFile(folder + u'/' + ImportInput::fileName(table), "E");
    }
    if (refused < 0) {
        writeFile(dir.filePath(u"neuf"_s), "F");
    }
    int calls = 0;
    const auto rename = [&](const QString& from, const QString& to, QString& error) {
        ++calls;
        if (calls == refused || (stuck && calls > refused)) {
            error = u"occupé"_s;
            return false;
        }
        return CsvFolder::rename(from, to, error);
    };
    QString told;
    try {
        CsvFolder::write(Catalogue(fixture.folder().database()), folder, rename);
    } catch (const CatalogueError& error) {
        told = error.message();
    }
    QString found;
    for (int table = 0; table < ImportInput::Tables; ++table) {
        const QByteArray bytes = fileBytes(folder + u'/' + ImportInput::fileName(table));
        found += bytes.isEmpty() ? u'-' : bytes == "E" ? u'E' : u'N';
    }
    QCOMPARE(found, held);
    QCOMPARE(told, heading.isEmpty() ? heading : heading.arg(QDir::toNativeSeparators(folder)));
    // Nothing left behind but what the heading names, and no folder made for a failed export.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
             held.count(u'N') + held.count(u'E') + heading.count(u"mezor-ancien"));
    QVERIFY(earlier || !QFileInfo(dir.filePath(u"neuf"_s)).isDir());
}

void TestTransfer::folderWithoutProgram_data()
{
    // What xdg-mime prints for folders (null: no xdg-mime), and whether the desktop is then known to lack a program.
    QTest::addColumn<QByteArray>("named");
    QTest::addColumn<bool>("missing");
    QTest::newRow("none named") << QByteArray("\n") << true;
    QTest::newRow("a file manager") << QByteArray("org.gnome.Nautilus.desktop\n") << false;
    QTest::newRow("no xdg-mime") << QByteArray() << false;
}

void TestTransfer::folderWithoutProgram()
{
    QFETCH(QByteArray, named);
    QFETCH(bool, missing);
#ifdef Q_OS_WIN
    QSKIP("the stand-ins are shell scripts");
#endif
    const QTemporaryDir tools;
    if (!named.isNull()) {
        writeFile(tools.filePath(u"xdg-mime"_s), "#!/bin/sh\n[ \"$*\" = 'query default inode/directory' ] && printf '" + named + "'\n");
        QVERIFY(QFile::setPermissions(tools.filePath(u"xdg-mime"_s), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(tools.path()));
    QCOMPARE(QtDesktopOpener::folderProgramMissing(), missing);
    QVERIFY(!missing || !QtDesktopOpener().open(QUrl::fromLocalFile(tools.path())));
}

void TestTransfer::offeredAtStart_data()
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
                                  << u"Mézor.mdb, table dravé, ligne 5 : guil"_s;
    QTest::newRow("a hole") << QList<bool>{true} << u"hole"_s << -1
                            << u"manque 003. Pour continuer : exportez les tables en CSV, « mdb-export \""_s;
    QTest::newRow("a tool that writes without end") << QList<bool>{true} << u"flood"_s << -1
                                                    << u"sa sortie dépasse 32 Mo"_s;
    QTest::newRow("no mdb-export") << QList<bool>{true} << u"mdb-export"_s << -1
                                   << u"Mézor.mdb : le programme « mdb-export » est"_s;
}

void TestTransfer::offeredAtStart()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QString, lacking);
    QFETCH(int, rows);
    QFETCH(QString, told);
#ifdef Q_OS_WIN
    QSKIP("the stand-ins are shell scripts");
#endif
    // `mdb-tables -1 FILE` lists the files of "mdb-tables.d" beside it, `mdb-export FILE TABLE` prints one of them:
    // the header unquoted, texts quoted with quotes doubled, an empty text as nothing, rows ended by LF and a memo's
    // own CRLF kept inside its quotes. The table names differ from ours in letter case.
    const QTemporaryDir tools;
    writeFile(tools.filePath(u"mdb-tables"_s),
              "#!/bin/sh\n[ \"$1\" = -1 ] && [ -f \"$2\" ] && exec ls -1 \"$0.d\"\nexit 1\n");
    writeFile(tools.filePath(u"mdb-export"_s),
              lacking == u"flood" ? "#!/bin/sh\nexec yes '\"001\",\"x\",\"L\",\"u\",\"l\"'\n"
                                  : "#!/bin/sh\n[ -f \"$1\" ] && exec cat \"$(dirname \"$0\")/mdb-tables.d/$2\"\nexit 1\n");
    const QByteArray dravé =
        "ref,nom,auteur,url,lien\n\"001\",\"\"\"P\"\", v\",\"L\",\"u\",\"l\"\n\"002\",\"a\r\nb\",\"M\",,\n";
    writeFile(tools.filePath(u"mdb-tables.d/DRAVÉ"_s), lacking == u"quote"  ? dravé + "\"004\",\"c\n"
                                                      : lacking == u"hole" ? dravé + "4,c,M,,\n"
                                                                           : dravé);
    QVERIFY(QFile::setPermissions(tools.filePath(u"mdb-tables"_s), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(QFile::setPermissions(tools.filePath(u"mdb-export"_s), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(!lacking.startsWith(u"mdb") || QFile::remove(tools.filePath(lacking)));
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    // Without one of the stand-ins, the real mdbtools of this machine must not be found either.
    qputenv("PATH", QFile::encodeName(tools.path()) + (lacking.startsWith(u"mdb") ? QByteArray() : ':' + path));
    Fixture fixture;
    QVERIFY(QFile::remove(fixture.folder().database()) && QFile::remove(fixture.folder().settings()));
    writeFile(AccessFile::inFolder(fixture.folder()), "Standard Jet DB");
    fixture.messenger.answers = answers;

    const auto window = fixture.openWindow();

    QCOMPARE(fixture.messenger.defaults, QList<Messenger::Answer>(answers.size(), Messenger::Answer::Yes));
    QCOMPARE(QFileInfo::exists(fixture.folder().database()), rows >= 0);
    QVERIFY(fixture.messenger.shown.value(fixture.messenger.shown.size() - 1).detail.contains(told));
    QCOMPARE(window ? window->categoryTab(Category::dravé())->model()->rowCount() : -1, rows);
    if (rows > 0) {
        QCOMPARE(window->catalogue().entries(Category::dravé(), EntryOrder::Stored),
                 (QList<PuzzleEntry>{{u"001"_s, u"\"P\", v"_s, u"L"_s, u"u"_s, u"l"_s},
                                     {u"002"_s, u"a\r\nb"_s, u"M"_s, u""_s, u""_s}}));
    }
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
