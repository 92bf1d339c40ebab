#include "check/ComparisonWindow.h"
#include "check/LastNumbers.h"
#include "support/Fixture.h"
#include "ui/ProgramStarter.h"
#include "ui/SearchTab.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeProgram(const QString& path, const QByteArray& body, bool executable = true)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                (executable ? QFile::ExeOwner : QFile::Permission())));
}

// The settings file: the program's line, then the section in the search program's layout (numbers at characters
// 20, 22, 20 and 24) from "Dravé|Tusqué|Plomé|Vantorel".
QByteArray settings(const QByteArray& numbers)
{
    const QList<QByteArray> n = numbers.split('|');
    return "programme=recherche.sh\r\n[dernier_numero]\r\ndernier_drave     =" + n.at(0) +
           "\r\ndernier_tusque      =" + n.at(1) + "\r\ndernier_plome     =" + n.at(2) +
           "\r\ndernier_vantorel      =" + n.at(3) + "\r\n";
}

// A catalogue of 14 Dravé, 9 Tusqué, 11 Plomé and 8 Vantorel entries.
void fill(Fixture& fixture)
{
    for (const Category& category : Category::all()) {
        fixture.insert(category, Fixture::series(QList{14, 9, 11, 8}.at(category.comparisonRow - 1)));
    }
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT

private slots:
    void comparesOneWindowAtATime();
    void refusesToStart_data();
    void refusesToStart();
    void startsRealProgram();
};

void TestComparison::comparesOneWindowAtATime()
{
    Fixture fixture;
    fill(fixture);
    fixture.writeSettings(settings("15|9|onze|7"));
    writeProgram(fixture.folder().file(u"recherche.sh"_s), "exit 0\n");
    auto window = fixture.openWindow();
    QVERIFY(window);
    QPushButton* check = window->searchTab()->checkButton();
    check->click();

    // Started in the catalogue folder with its two arguments; then the wait box, then the settings file's problem.
    QCOMPARE(fixture.programs.calls.size(), 1);
    QCOMPARE(fixture.programs.calls.first().arguments, (QStringList{u","_s, u"6"_s}));
    QCOMPARE(fixture.programs.calls.first().workingFolder, fixture.folder().path());
    QCOMPARE(fixture.messenger.texts().first(), u"Attente de la fin des recherches."_s);
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::None);
    QCOMPARE(fixture.messenger.shown.size(), 2);
    QCOMPARE(fixture.messenger.shown.at(1).icon, Messenger::Icon::Warning);
    QVERIFY(fixture.messenger.texts().at(1).contains(u"Plomé « onze »"_s));
    QPointer<ComparisonWindow> shown = window->findChild<ComparisonWindow*>();
    QVERIFY(shown && shown->isVisible() && shown->isWindow());
    // Rows Dravé, Tusqué, Plomé, Vantorel: number found, count, background, text colour, tooltip.
    const QColor yellow(255, 255, 0), red(255, 0, 0), grey(192, 192, 192), black(0, 0, 0);
    const QList<std::tuple<QString, QString, QColor, QColor, QString>> rows = {
        {u"15"_s, u"14"_s, red, yellow, u"Manque : 015"_s},  // the catalogue lacks an entry
        {u"9"_s, u"9"_s, yellow, black, QString()},          // equal
        {u"?"_s, u"11"_s, grey, black, u"Numéro inconnu"_s}, // unknown
        {u"7"_s, u"8"_s, red, yellow, QString()}};           // the catalogue is ahead: nothing missing
    for (int row = 0; row < 4; ++row) {
        const auto& [found, counted, background, text, tip] = rows.at(row);
        QCOMPARE(shown->foundBox(row)->text(), found);
        QCOMPARE(shown->countedBox(row)->text(), counted);
        for (QLineEdit* box : {shown->foundBox(row), shown->countedBox(row)}) {
            QVERIFY(box->isReadOnly() && box->font().bold());
            QCOMPARE(box->palette().color(QPalette::Base), background);
            QCOMPARE(box->palette().color(QPalette::Text), text);
            QCOMPARE(box->toolTip(), tip);
        }
    }
    QCOMPARE(shown->windowTitle(), u"Liste des numéros — err"_s);
    QCOMPARE(ComparisonWindow::missingTip({17, 14}), u"Manquent : 015 à 017"_s);

    // While the window is open a click does nothing.
    check->click();
    QCOMPARE(fixture.programs.calls.size(), 1);
    QCOMPARE(window->findChildren<ComparisonWindow*>().size(), 1);

    // Once it is closed the next click compares again; a count the catalogue cannot give is unknown, no difference.
    shown->close();
    QTRY_VERIFY(!shown);
    fixture.writeSettings(settings("14|9|11|8"));
    fixture.sql(u"DROP TABLE titres"_s);
    const QByteArray catalogue = contents(fixture.folder().database());
    check->click();
    QCOMPARE(fixture.programs.calls.size(), 2);
    QCOMPARE(fixture.messenger.shown.size(), 4);
    QCOMPARE(fixture.messenger.shown.at(3).icon, Messenger::Icon::Critical);
    QVERIFY(fixture.messenger.shown.at(3).detail.contains(u"titres"_s));
    shown = window->findChild<ComparisonWindow*>();
    QVERIFY(shown);
    QCOMPARE(shown->countedBox(3)->text(), u"?"_s);
    QCOMPARE(shown->windowTitle(), u"Liste des numéros"_s);
    // Nothing in the catalogue is written.
    window.reset();
    QCOMPARE(contents(fixture.folder().database()), catalogue);
}

void TestComparison::refusesToStart_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QString>("file");    // made in the folder: "x" executable, "x!" too but refused, "-" not
    QTest::addColumn<QString>("message"); // with {folder} and {settings}
    const QString program = u"Le programme de recherche « {folder}/recherche.sh » "_s;
    QTest::newRow("blank setting") << QByteArray("   ") << QString()
                                   << u"Aucun programme de recherche n'est indiqué : la ligne « programme= » du "
                                      u"fichier « {settings} » est vide."_s;
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
        writeProgram(fixture.folder().file(u"recherche.sh"_s), "exit 0\n", file.startsWith(u'x'));
    }
    fixture.programs.succeed = file != u"x!";
    auto window = fixture.openWindow();
    QVERIFY(window);
    window->searchTab()->checkButton()->click();

    // Nothing is started but a program that then refuses, and no window opens.
    QCOMPARE(fixture.programs.calls.size(), file == u"x!" ? 1 : 0);
    QVERIFY(!window->findChild<ComparisonWindow*>());
    message.replace(u"{folder}"_s, QDir::toNativeSeparators(fixture.folder().path()));
    message.replace(u"{settings}"_s, QDir::toNativeSeparators(fixture.folder().settings()));
    QCOMPARE(fixture.messenger.texts(), QStringList{message});
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Warning);
    QCOMPARE(fixture.messenger.shown.first().detail, file == u"x!" ? u"refusé par le test"_s : QString());
}

void TestComparison::startsRealProgram()
{
#ifdef Q_OS_WIN
    QSKIP("The recording and sample search programs are shell scripts.");
#endif
    Fixture fixture;
    fill(fixture);
    fixture.writeSettings("; notes\r\n" + settings("1|1|1|1") + "fin=oui\r\n");
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
    QCOMPARE(QString::fromUtf8(contents(record)), u"2\n[,]\n[6]\n"_s + QDir(folder).canonicalPath() + u"\n"_s);

    // The sample keeps the other lines and rewrites the section, in the layout read back here, with the
    // catalogue's counts (fixed ones without sqlite3) plus three Dravé and one Plomé.
    const LastNumbers written = LastNumbers::read(fixture.folder().settings());
    QVERIFY2(written.problems.isEmpty(), qPrintable(written.problems.join(u'\n')));
    const bool counted = !QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty();
    const decltype(written.values) expected = {17, counted ? 9 : 12, 12, counted ? 8 : 10};
    QVERIFY(written.values == expected);
    QVERIFY(contents(fixture.folder().settings()).startsWith("; notes\r\nprogramme=recherche.sh\r\nfin=oui\r\n"));
}

QTEST_MAIN(TestComparison)
#include "tst_comparison.moc"
