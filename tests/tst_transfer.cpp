// The catalogue in and out through CSV: the reader and the row checks as one table, hostile files through the import
// command, the command's exit codes, and the round trip export → import → export.
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/TransferCommands.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "transfer/Csv.h"
#include "transfer/CsvFolder.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"
#include "ui/SearchTab.h"
#include "ui/StatisticsTab.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTransfer : public QObject {
    Q_OBJECT

private slots:
    void reader_data();
    void reader();
    void hostileFiles_data();
    void hostileFiles();
    void exitCodes();
    void roundTrip();
};

namespace {

const QByteArray header = "ref,nom,auteur,url,lien\n";

int command(const QStringList& arguments)
{
    return CommandLine::run(QStringList{u"mezor"_s} + arguments);
}

// A series file written by our own writer, for texts that only need to come back exactly.
QByteArray written(const QString& answer)
{
    return Csv::file({{u"ref"_s, u"nom"_s, u"auteur"_s, u"url"_s, u"lien"_s}, {u"001"_s, answer, u"Léa"_s, {}, {}}});
}

// Every window view that a catalogue's content reaches: grids, author lists, statistics and a search.
QList<QStringList> everythingShown(MainWindow& window)
{
    QList<QStringList> shown;
    for (const Category& category : Category::all()) {
        CategoryTab* tab = window.categoryTab(category);
        shown += tab->model()->rows();
        for (int i = 0; i < tab->authorBox()->count(); ++i) {
            shown.append({tab->authorBox()->itemText(i)});
        }
    }
    window.tabs()->setCurrentIndex(Tabs::Statistics);
    for (const Category& category : Category::all()) {
        shown += window.statisticsTab()->model(category.index)->rows();
    }
    window.tabs()->setCurrentIndex(Tabs::Search);
    window.searchTab()->option(Category::dravé().index)->click();
    window.searchTab()->criterion()->setText(u"e"_s);
    window.searchTab()->searchButton()->click();
    return shown + window.searchTab()->resultsModel()->rows();
}

} // namespace

void TestTransfer::reader_data()
{
    // One dravé.csv each: the entries read, "ref|answer|author|url|link", or the problems, "!line reason…", each
    // items separated by "§".
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QByteArray& file, const QString& expected) {
        QTest::newRow(name) << file << expected;
    };
    const QString one = u"001|Pont|Léa|u|l"_s;
    row("BOM, CRLF", "\xEF\xBB\xBFref,nom,auteur,url,lien\r\n001,Pont,Léa,u,l\r\n", one);
    row("LF, no BOM, no last line end", header + "001,Pont,Léa,u,l", one);
    row("CR", "ref,nom,auteur,url,lien\r001,Pont,Léa,u,l\r", one);
    row("semicolon", "ref;nom;auteur;url;lien\n001;Pont, vieux;Léa;u;l\n", u"001|Pont, vieux|Léa|u|l"_s);
    row("Windows-1252", header + "001,Th\xe9r\xe8se \x80,Zo\xe9,u,l\n", u"001|Thérèse €|Zoé|u|l"_s);
    row("columns in any order and case, extra ignored", "LIEN,Url,extra,Auteur,NOM,Ref\nl,u,x,Léa,Pont,001\n", one);
    row("empty lines skipped, empty values kept", header + "\n001,Pont,Léa,,\n\n", u"001|Pont|Léa||"_s);
    row("quotes: comma, doubled quote, line breaks; a quote inside plain text",
        header + "\"001\",\"Le \"\"Pont\"\", vieux\",Léa,\"a\r\nb\",x\"y\n",
        u"001|Le \"Pont\", vieux|Léa|a\r\nb|x\"y"_s);
    row("lines counted across quoted line breaks", header + "001,\"a\r\nb\rc\",L,u,l\n02,P,L,u,l\n",
        u"!5 numéro « 02 »"_s);
    row("missing column", "ref,nom,auteur,url\n001,Pont,Léa,u\n", u"!1 colonne(s) absente(s) de l'en-tête : lien"_s);
    row("fields missing or too many", header + "001,Pont,Léa\n002,Pont,Léa,u,l,x\n", u"!2 3 champ(s)§!3 6 champ(s)"_s);
    row("text after a closing quote, unterminated quote", header + "001,\"P\"x,L,u,l\n002,\"P,L,u,l\n003,P,L,u,l\n",
        u"!2 texte collé§!3 guillemet ouvert"_s);
    row("numbers of three digits 0-9, once; answer and author not blank",
        header + "1,P,L,u,l\n0012,P,L,u,l\n٠١٢,P,L,u,l\n 01,P,L,u,l\n005,P,L,u,l\n005, ,\t,u,l\n",
        u"!2 numéro « 1 »§!3 numéro « 0012 »§!4 numéro « ٠١٢ »§!5 numéro «  01 »§"
        "!7 numéro 005 déjà donné à la ligne 6§!7 « nom » est vide§!7 « auteur » est vide"_s);
    row("empty file", "\xEF\xBB\xBF", u"!0 fichier vide"_s);
}

void TestTransfer::reader()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    ImportInput input;
    input.tables[Category::dravé().index] = ImportTable{u"dravé.csv"_s, file};
    const CatalogueImport::Checked checked = CatalogueImport::check(input);
    // A file with problems writes nothing: then only its problems are compared, each by its start.
    QStringList actual;
    for (const ImportProblem& problem : checked.problems) {
        actual.append(u"!%1 %2"_s.arg(problem.line).arg(problem.reason));
    }
    for (const PuzzleEntry& e : checked.plan.series.at(Category::dravé().index)) {
        if (checked.problems.isEmpty()) {
            actual.append(QStringList{e.ref, e.answer, e.author, e.url, e.link}.join(u'|'));
        }
    }
    const QStringList lines = expected.split(u'§');
    QCOMPARE(actual.size(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool matches =
            lines.at(i).startsWith(u'!') ? actual.at(i).startsWith(lines.at(i)) : actual.at(i) == lines.at(i);
        QVERIFY2(matches, qPrintable(actual.at(i)));
    }
}

void TestTransfer::hostileFiles_data()
{
    // dravé.csv as given (none when null), or grown to `size` bytes. A refused import ("!reason") says why and
    // leaves the catalogue file untouched; a done one keeps the answer exactly.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("expected");
    const auto refused = [](const char* name, const QByteArray& file, const QString& reason, qint64 size = 0) {
        QTest::newRow(name) << file << size << u'!' + reason;
    };
    const auto kept = [](const char* name, const QString& text) {
        QTest::newRow(name) << written(text) << 0LL << text;
    };
    refused("unterminated quote", header + "001,\"Pont,Léa,u,l\n", u"dravé.csv, ligne 2 : guillemet ouvert"_s);
    refused("missing fields", header + "001,Pont,Léa\n", u"dravé.csv, ligne 2 : 3 champ(s) au lieu des 5"_s);
    refused("binary file", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), u"dravé.csv : octets nuls"_s);
    refused("not the announced encoding", "\xEF\xBB\xBF"_ba + header + "001,Th\xe9r\xe8se,L,u,l\n",
            u"dravé.csv, ligne 2 : le fichier s'annonce en UTF-8"_s);
    refused("100 MB file", header, u"dravé.csv : 100 Mo, bien plus qu'un catalogue entier"_s, 100LL << 20);
    refused("no file at all", QByteArray(), u"aucun des fichiers"_s);
    kept("10,000-character text", QString(10'000, u'é'));
    kept("control characters", u"a\tb\u0001c\u007fd\u001b"_s);
    kept("right-to-left text", u"مرحبا עולם \u202Eabc"_s);
}

void TestTransfer::hostileFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, size);
    QFETCH(QString, expected);
    Fixture fixture;
    const QTemporaryDir csv;
    const QString path = csv.filePath(u"dravé.csv"_s);
    if (!file.isNull()) {
        writeFile(path, file);
    }
    if (size > 0) {
        QFile grown(path);
        QVERIFY(grown.resize(size));
    }
    const QByteArray before = fileBytes(fixture.folder().database());

    const ImportOutcome outcome = TransferCommands::importInto(
        fixture.folder(), [&] { return CsvFolder::read(csv.path()); }, fixture.messenger);

    if (expected.startsWith(u'!')) {
        QCOMPARE(outcome.status, ImportOutcome::Status::Refused);
        QVERIFY2(outcome.lines.join(u'\n').contains(expected.mid(1)), qPrintable(outcome.lines.join(u'\n')));
        QCOMPARE(fileBytes(fixture.folder().database()), before);
        QVERIFY(!QFileInfo::exists(fixture.folder().backups()));
    } else {
        QCOMPARE(outcome.status, ImportOutcome::Status::Done);
        QCOMPARE(Catalogue(fixture.folder().database()).entries(Category::dravé(), EntryOrder::Stored),
                 (QList<PuzzleEntry>{{u"001"_s, expected, u"Léa"_s, u""_s, u""_s}}));
    }
}

void TestTransfer::exitCodes()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    const QTemporaryDir dir;
    const QString earlier = dir.filePath(u"export"_s);
    writeFile(earlier + u"/dravé.csv"_s, "earlier");
    QVERIFY(QDir().mkpath(earlier + u"/auteurs.csv"_s));
    const QString none = dir.filePath(u"sans catalogue"_s);

    QCOMPARE(command({u"--export"_s}), 2);
    QCOMPARE(command({u"--export"_s, dir.filePath(u"out"_s), none}), 1);
    QCOMPARE(command({u"--import-mdb"_s, dir.filePath(u"absent.mdb"_s), none}), 1);
    // A catalogue that holds anything is refused, and stays as it was.
    const QByteArray before = fileBytes(fixture.folder().database());
    QCOMPARE(command({u"--import"_s, earlier, fixture.folder().path()}), 1);
    QCOMPARE(fileBytes(fixture.folder().database()), before);
    // An export that cannot write all five files leaves the earlier ones whole.
    QCOMPARE(command({u"--export"_s, earlier, fixture.folder().path()}), 1);
    QCOMPARE(fileBytes(earlier + u"/dravé.csv"_s), "earlier");
}

void TestTransfer::roundTrip()
{
    Fixture old;
    const QList<PuzzleEntry> dravé{
        {u"001"_s, u"Le \"Pont\", vieux"_s, u"Léa"_s, u"http://i/1.jpg"_s, u"Non disponible"_s},
        {u"002"_s, u"Deux\r\nlignes; et ,"_s, u"Max"_s, u""_s, u" "_s},
        {u"005"_s, u"مرحبا \u202Eabc\ttab"_s, u"léa"_s, u"\"q\""_s, u"x\ny"_s}};
    old.insert(Category::dravé(), dravé);
    old.insert(Category::plomé(), Fixture::series(3, {u"Zoé"_s, u"Max"_s}));
    old.insert(Category::vantorel(), Fixture::series(2));
    old.registerAuthors({u"Zoé"_s, u"Léa"_s, u"Max, \"le grand\""_s});
    const QTemporaryDir dir;
    const CatalogueFolder fresh(dir.filePath(u"nouveau"_s));

    QCOMPARE(command({u"--export"_s, dir.filePath(u"1"_s), old.folder().path()}), 0);
    QCOMPARE(command({u"--import"_s, dir.filePath(u"1"_s), fresh.path()}), 0);
    QCOMPARE(command({u"--export"_s, dir.filePath(u"2"_s), fresh.path()}), 0);

    for (int table = 0; table < ImportInput::Tables; ++table) {
        const QString name = ImportInput::fileName(table);
        const QByteArray first = fileBytes(dir.filePath(u"1/"_s + name));
        QVERIFY2(first.startsWith("\xEF\xBB\xBF"), qPrintable(name));
        QCOMPARE(fileBytes(dir.filePath(u"2/"_s + name)), first);
    }
    auto before = old.openWindow();
    FakeMessenger messenger;
    auto after = Startup::openWindow(fresh, Services{&messenger, &old.desktop, &old.programs});
    QVERIFY(before && after);
    QCOMPARE(everythingShown(*after), everythingShown(*before));
    QVERIFY(old.messenger.shown.isEmpty() && messenger.shown.isEmpty());
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
