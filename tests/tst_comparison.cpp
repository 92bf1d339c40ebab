#include "catalogue/SettingsFile.h"
#include "check/ComparisonWindow.h"
#include "check/LastNumbers.h"
#include "check/ProgramChooser.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "ui/ProgramStarter.h"
#include "ui/SearchTab.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeProgram(const QString& path, const QByteArray& body, QFile::Permissions run = QFile::ExeOwner)
{
    writeFile(path, "#!/bin/sh\n" + body);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | run));
}

// The section's four lines in the search program's layout (numbers at characters 20, 22, 20 and 24) from
// "Dravé|Tusqué|Plomé|Vantorel".
QByteArray numbers(const QByteArray& values)
{
    const QList<QByteArray> n = values.split('|');
    return "dernier_drave     =" + n.at(0) + "\r\ndernier_tusque      =" + n.at(1) +
           "\r\ndernier_plome     =" + n.at(2) + "\r\ndernier_vantorel      =" + n.at(3) + "\r\n";
}

// What comes before the numbers: the program's line, then the section line.
const QByteArray head = "programme=recherche.sh\r\n[dernier_numero]\r\n";

// A catalogue of 14 Dravé, 9 Tusqué, 11 Plomé and 8 Vantorel entries.
void fill(Fixture& fixture)
{
    for (const Category& category : Category::all()) {
        fixture.insert(category, Fixture::series(QList{14, 9, 11, 8}.at(category.comparisonRow - 1)));
    }
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT

private slots:
    void lastNumbers_data();
    void lastNumbers();
    void comparesOneWindowAtATime();
    void refusesToStart_data();
    void refusesToStart();
    void startsRealProgram();
    void programFromTheMenu();
};

void TestComparison::lastNumbers_data()
{
    QTest::addColumn<QByteArray>("content");   // a null array: no file at all
    QTest::addColumn<QList<int>>("expected");  // -1: unknown
    QTest::addColumn<QStringList>("problems"); // a fragment of each expected problem, in order

    const QList<int> unknown = {-1, -1, -1, -1};
    QTest::newRow("leading zeros, spaces, both limits")
        << head + numbers("042|  7  |00000|32767") << QList<int>{42, 7, 0, 32767} << QStringList{};
    QTest::newRow("only the exact section line counts")
        << "; [dernier_numero] plus tard\r\nprogramme=[dernier_numero]\r\n[Dernier_numero]\r\n[dernier_numero] \r\n" +
               numbers("1|2|3|4") + "[dernier_numero]\r\n" + numbers("5|6|7|8")
        << QList<int>{5, 6, 7, 8} << QStringList{};
    QTest::newRow("no section") << QByteArray("programme=recherche.exe\r\n") << unknown
                                << QStringList{u"n'a pas de ligne « [dernier_numero] »"_s};
    QTest::newRow("two lines only, section first")
        << QByteArray("[dernier_numero]\r\ndernier_drave     =14\r\ndernier_tusque      =9\r\n")
        << QList<int>{14, 9, -1, -1} << QStringList{u"pas de ligne pour Plomé, Vantorel."_s};
    QTest::newRow("out of range or signed")
        << head + numbers("32768|-1|+3|99999999999999999999") << unknown
        << QStringList{u"ligne 3 : le dernier numéro Dravé « 32768 » n'est pas un nombre entier de 0 à 32767."_s,
                       u"ligne 4 : le dernier numéro Tusqué « -1 »"_s, u"ligne 5 : le dernier numéro Plomé « +3 »"_s,
                       u"ligne 6 : le dernier numéro Vantorel « 99999999999999999999 »"_s};
    QTest::newRow("line too short or blank")
        << head + "dernier_drave\r\n\r\ndernier_plome     =3\r\ndernier_vantorel      =4\r\n"
        << QList<int>{-1, -1, 3, 4}
        << QStringList{u"ligne 3 : le dernier numéro Dravé manque (rien à partir du caractère 20)."_s,
                       u"ligne 4 : le dernier numéro Tusqué manque (rien à partir du caractère 22)."_s};
    QTest::newRow("no file") << QByteArray() << unknown << QStringList{u"est introuvable ou illisible"_s};
}

void TestComparison::lastNumbers()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, expected);
    QFETCH(QStringList, problems);
    // The path only names the file in the problems, except for the row without a file.
    const QString path = QDir(QDir::tempPath()).filePath(u"sans-paramètres/paramvorn.ini"_s);
    const LastNumbers read = content.isNull()
                                 ? LastNumbers::read(path)
                                 : LastNumbers::parse(SettingsFile::splitLines(SettingsFile::decode(content)), path);
    QList<int> values;
    for (const std::optional<int>& value : read.values) {
        values.append(value.value_or(-1));
    }
    QCOMPARE(values, expected);
    QCOMPARE(read.problems.size(), problems.size());
    for (qsizetype i = 0; i < problems.size(); ++i) {
        const QString& problem = read.problems.at(i);
        QVERIFY2(problem.contains(problems.at(i)) && problem.contains(QDir::toNativeSeparators(path)),
                 qPrintable(problem));
    }
}

void TestComparison::comparesOneWindowAtATime()
{
    Fixture fixture;
    fill(fixture);
    fixture.writeSettings(head + numbers("15|9|onze|7"));
    writeProgram(fixture.folder().file(u"recherche.sh"_s), "exit 0\n");
    auto window = fixture.openWindow();
    QVERIFY(window);
    QPushButton* check = window->searchTab()->checkButton();
    check->click();

    // Started in the catalogue folder with its two arguments; then the wait box, then the settings file's problem.
    const QList<FakeMessenger::Shown>& shown = fixture.messenger.shown;
    QCOMPARE(fixture.programs.calls.size(), 1);
    QCOMPARE(fixture.programs.calls.first().arguments << fixture.programs.calls.first().workingFolder,
             (QStringList{u","_s, u"6"_s, fixture.folder().path()}));
    QCOMPARE((std::tuple{shown.size(), shown.at(0).icon, shown.at(0).text, shown.at(1).icon}),
             (std::tuple{2, Messenger::Icon::None, u"Attente de la fin des recherches."_s, Messenger::Icon::Warning}));
    QVERIFY(shown.at(1).text.contains(u"Plomé « onze »"_s));
    QPointer<ComparisonWindow> compared = window->findChild<ComparisonWindow*>();
    QVERIFY(compared && compared->isVisible() && compared->isWindow());
    // Rows Dravé, Tusqué, Plomé, Vantorel: found/counted, background, text colour and tooltip of both boxes.
    QStringList rows;
    for (int row = 0; row < 4; ++row) {
        const QLineEdit* found = compared->foundBox(row);
        const QLineEdit* counted = compared->countedBox(row);
        QVERIFY(found->isReadOnly() && found->font().bold() && counted->palette() == found->palette());
        rows.append(u"%1/%2 %3 %4 %5"_s.arg(found->text(), counted->text(),
                                            found->palette().color(QPalette::Base).name(),
                                            found->palette().color(QPalette::Text).name(), found->toolTip()));
    }
    QCOMPARE(rows, (QStringList{u"15/14 #ff0000 #ffff00 Manque : 015"_s,  // the catalogue lacks an entry
                                u"9/9 #ffff00 #000000 "_s,                // equal
                                u"?/11 #c0c0c0 #000000 Numéro inconnu"_s, // unknown
                                u"7/8 #ff0000 #ffff00 "_s}));             // the catalogue is ahead: nothing missing
    QCOMPARE(compared->windowTitle(), u"Liste des numéros — err"_s);
    QCOMPARE(ComparisonWindow::missingTip({17, 14}), u"Manquent : 015 à 017"_s);

    // While the window is open a click does nothing.
    check->click();
    QCOMPARE((std::tuple{fixture.programs.calls.size(), window->findChildren<ComparisonWindow*>().size()}),
             (std::tuple{1, 1}));

    // Escape closes it; the next click compares again, and a count the catalogue cannot give is unknown, no
    // difference.
    QApplication::setActiveWindow(compared);
    QVERIFY(QTest::qWaitForWindowActive(compared));
    QTest::keyClick(compared, Qt::Key_Escape);
    QTRY_VERIFY(!compared);
    fixture.writeSettings(head + numbers("14|9|11|8"));
    fixture.sql(u"DROP TABLE titres"_s);
    const QByteArray catalogue = fileBytes(fixture.folder().database());
    check->click();
    QCOMPARE((std::tuple{fixture.programs.calls.size(), shown.size(), shown.at(3).icon}),
             (std::tuple{2, 4, Messenger::Icon::Critical}));
    QVERIFY(shown.at(3).detail.contains(u"titres"_s));
    compared = window->findChild<ComparisonWindow*>();
    QVERIFY(compared);
    QCOMPARE(compared->countedBox(3)->text() + u' ' + compared->windowTitle(), u"? Liste des numéros"_s);
    // Nothing in the catalogue is written.
    window.reset();
    QCOMPARE(fileBytes(fixture.folder().database()), catalogue);
}

void TestComparison::refusesToStart_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QString>("file");    // made in the folder: "x" executable, "x!" too but refused, "-" not
    QTest::addColumn<QString>("message"); // with {folder} and {settings}
    const QString program = u"Le programme de recherche « {folder}/recherche.sh » "_s;
    QTest::newRow("blank setting") << QByteArray("   ") << QString()
                                   << u"Aucun programme de recherche n'est indiqué : la ligne « programme= » du "
                                      u"fichier « {settings} » est vide. Choisissez-le par « Catalogue › "
                                      u"Programme de recherche… »."_s;
    QTest::newRow("missing") << QByteArray("recherche.sh") << QString() << program + u"est introuvable."_s;
    QTest::newRow("not executable") << QByteArray("recherche.sh") << u"-"_s
                                    << program + u"n'est pas un programme exécutable."_s;
    QTest::newRow("start refused") << QByteArray("recherche.sh") << u"x!"_s << program + u"n'a pas pu être lancé."_s;
}

void TestComparison::refusesToStart()
{
    QFETCH(QByteArray, setting);
    QFETCH(QString, file);
    QFETCH(QString, message);
    Fixture fixture;
    fixture.writeSettings("programme=" + setting + "\r\n");
    if (!file.isEmpty()) {
        writeProgram(fixture.folder().file(u"recherche.sh"_s), "exit 0\n",
                     file == u"-" ? QFile::Permissions() : QFile::ExeOwner);
    }
    fixture.programs.succeed = file != u"x!";
    auto window = fixture.openWindow();
    QVERIFY(window);
    window->searchTab()->checkButton()->click();

    // Nothing is started but a program that then refuses, and no window opens.
    QCOMPARE(fixture.programs.calls.size(), file == u"x!" ? 1 : 0);
    QVERIFY(!window->findChild<ComparisonWindow*>());
    message.replace(u"{folder}"_s, QDir::toNativeSeparators(fixture.folder().path()))
        .replace(u"{settings}"_s, QDir::toNativeSeparators(fixture.folder().settings()));
    QCOMPARE(fixture.messenger.texts(), QStringList{message});
    QCOMPARE((std::tuple{fixture.messenger.shown.first().icon, fixture.messenger.shown.first().detail}),
             (std::tuple{Messenger::Icon::Warning, file == u"x!" ? u"refusé par le test"_s : QString()}));
}

void TestComparison::startsRealProgram()
{
#ifdef Q_OS_WIN
    QSKIP("The recording and sample search programs are shell scripts.");
#endif
    Fixture fixture;
    fill(fixture);
    fixture.writeSettings("; notes\r\n" + head + numbers("1|1|1|1") + "fin=oui\r\n");
    // Records how it was called, then runs the project's sample search program.
    const QString folder = fixture.folder().path();
    QVERIFY(QFile::copy(QStringLiteral(MEZOR_SOURCE_DIR "/data/recherche-exemple.sh"),
                        fixture.folder().file(u"recherche-exemple.sh"_s)));
    writeProgram(fixture.folder().file(u"recherche.sh"_s),
                 "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; } >appel.tmp\n"
                 "sh ./recherche-exemple.sh \"$@\" 2>>appel.tmp\n"
                 "mv appel.tmp appel.txt\n");
    QProcessStarter starter;
    QVERIFY(starter.startDetached(fixture.folder().file(u"recherche.sh"_s), {u","_s, u"6"_s}, folder, nullptr));
    const QString record = fixture.folder().file(u"appel.txt"_s);
    QTRY_VERIFY(QFile::exists(record));
    QCOMPARE(QString::fromUtf8(fileBytes(record)), u"2\n[,]\n[6]\n"_s + QDir(folder).canonicalPath() + u"\n"_s);

    // The sample keeps the other lines and rewrites the section, in the layout read back here, with the
    // catalogue's counts (fixed ones without sqlite3) plus three Dravé and one Plomé.
    const LastNumbers written = LastNumbers::read(fixture.folder().settings());
    QVERIFY2(written.problems.isEmpty(), qPrintable(written.problems.join(u'\n')));
    const bool counted = !QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty();
    const decltype(written.values) expected = {17, counted ? 9 : 12, 12, counted ? 8 : 10};
    QVERIFY(written.values == expected);
    QVERIFY(fileBytes(fixture.folder().settings()).startsWith("; notes\r\nprogramme=recherche.sh\r\nfin=oui\r\n"));
}

void TestComparison::programFromTheMenu()
{
    Fixture fixture;
    const QString settings = fixture.folder().settings();
    // The settings file of the old program, in Windows-1252: the chosen name is written in that encoding.
    fixture.writeSettings("; r\xE9glages\nprogramme=ancien.exe\r\n[dernier_numero]\r\nd =3\r\n");
    auto window = fixture.openWindow();
    QVERIFY(window);
    QString chosen = fixture.folder().file(u"outils/cherché.sh"_s);
    window->findChild<ProgramChooser*>()->setFileChooser([&chosen](const QString&) { return chosen; });
    QAction* menu = window->findChild<QAction*>(u"mnu_programme"_s);
    menu->trigger();
    // Taken at once: "Vérifier les MAJ" looks for that program. One outside the folder is refused.
    window->searchTab()->checkButton()->click();
    chosen = QDir::tempPath() + u"/ailleurs.sh"_s;
    menu->trigger();
    QCOMPARE(fileBytes(settings), "; r\xE9glages\nprogramme=outils/cherch\xE9.sh\r\n[dernier_numero]\r\nd =3\r\n"_ba);
    // A settings file that cannot be written is reported.
    QVERIFY(QFile::remove(settings) && QDir().mkdir(settings));
    chosen = fixture.folder().file(u"autre.sh"_s);
    menu->trigger();
    const QList<FakeMessenger::Shown>& shown = fixture.messenger.shown;
    QCOMPARE(std::tuple(shown.size(), shown.first().icon, shown.last().icon),
             std::tuple(4, Messenger::Icon::Information, Messenger::Icon::Critical));
    QVERIFY(fixture.messenger.texts().at(1).contains(u"outils/cherché.sh"_s));
    // A line added after an unended last one; a name that Windows-1252 cannot hold is refused.
    QCOMPARE(SettingsFile::withProgramSetting(" programme=a\r\nx=1", u"程序.sh"_s),
             " programme=a\r\nx=1\r\nprogramme=程序.sh\r\n"_ba);
    QCOMPARE(SettingsFile::withProgramSetting("r\xE9\r\nprogramme=\r\n", u"程序.sh"_s), std::nullopt);
}

QTEST_MAIN(TestComparison)
#include "tst_comparison.moc"
