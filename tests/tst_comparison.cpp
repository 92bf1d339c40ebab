#include "app/Startup.h"
#include "catalogue/SettingsFile.h"
#include "check/ComparisonWindow.h"
#include "check/LastNumbers.h"
#include "check/ProgramStarter.h"
#include "support/Fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Entry counts in window row order: Dravé, Tusqué, Plomé, Vantorel.
const QList<int> demoCounts = {14, 9, 11, 8};

const Category& categoryOfRow(int row)
{
    for (const Category& category : Category::all()) {
        if (category.comparisonRow == row + 1) {
            return category;
        }
    }
    Q_UNREACHABLE();
}

void fill(Fixture& fixture, const QList<int>& counts)
{
    for (int row = 0; row < counts.size(); ++row) {
        fixture.insert(categoryOfRow(row), Fixture::series(counts.at(row)));
    }
}

void writeProgram(const QString& path, const QByteArray& body, bool executable = true)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable) {
        permissions |= QFile::ExeOwner;
    }
    QVERIFY(file.setPermissions(permissions));
}

QByteArray section(const QList<QByteArray>& numbers)
{
    return "[dernier_numero]\r\ndernier_drave     =" + numbers.at(0) + "\r\ndernier_tusque      =" + numbers.at(1) +
           "\r\ndernier_plome     =" + numbers.at(2) + "\r\ndernier_vantorel      =" + numbers.at(3) + "\r\n";
}

void clickCheck(MainWindow& window)
{
    auto* button = child<QPushButton>(&window, u"bt_last"_s);
    QVERIFY(button);
    button->click();
}

ComparisonWindow* comparison(MainWindow& window)
{
    return window.findChild<ComparisonWindow*>(u"frm_err"_s);
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

// Closes the wait box only once the search program has left its call record, as the user would.
class WaitingMessenger final : public Messenger {
public:
    explicit WaitingMessenger(QString record)
        : m_record(std::move(record))
    {
    }
    void show(Icon icon, const QString& text, const QString&) override
    {
        texts.append(text);
        if (icon == Icon::None) {
            QVERIFY(QTest::qWaitFor([this] { return QFile::exists(m_record); }, 20000));
        }
    }
    bool ask(const QString&, const QString&) override { return false; }
    QStringList texts;

private:
    QString m_record;
};

} // namespace

class TestComparison : public QObject {
    Q_OBJECT

private slots:
    void showsPairs_data();
    void showsPairs();
    void startsSearchProgramThenWaits();
    void oneWindowAtATime();
    void refusesToStart_data();
    void refusesToStart();
    void reportsCatalogueFailure();
    void runsRealProgram();
    void sampleProgramWritesSection();
};

void TestComparison::showsPairs_data()
{
    QTest::addColumn<QByteArray>("settings"); // after the programme line
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QStringList>("found"); // text of gnv_1 … gnv_4
    QTest::addColumn<QString>("looks");     // per row: E equal, D different, U unknown
    QTest::addColumn<QStringList>("tips");
    QTest::addColumn<QString>("warning"); // a fragment of the warning, empty when none

    const QString title = u"Liste des numéros"_s;
    const QStringList noTips = {{}, {}, {}, {}};
    QTest::newRow("all equal") << section({"14", "9", "11", "8"}) << demoCounts
                               << QStringList{u"14"_s, u"9"_s, u"11"_s, u"8"_s} << u"EEEE"_s << noTips << QString();
    QTest::newRow("only Plomé differs") << section({"14", "9", "14", "8"}) << demoCounts
                                        << QStringList{u"14"_s, u"9"_s, u"14"_s, u"8"_s} << u"EEDE"_s
                                        << QStringList{{}, {}, u"Manquent : 012 à 014"_s, {}} << QString();
    QTest::newRow("one number missing") << section({"15", "9", "11", "8"}) << demoCounts
                                        << QStringList{u"15"_s, u"9"_s, u"11"_s, u"8"_s} << u"DEEE"_s
                                        << QStringList{u"Manque : 015"_s, {}, {}, {}} << QString();
    QTest::newRow("catalogue ahead") << section({"14", "9", "11", "7"}) << demoCounts
                                     << QStringList{u"14"_s, u"9"_s, u"11"_s, u"7"_s} << u"EEED"_s << noTips
                                     << QString();
    QTest::newRow("042 equals 42") << section({"042", "9", " 011 ", "8"}) << QList<int>{42, 9, 11, 8}
                                   << QStringList{u"42"_s, u"9"_s, u"11"_s, u"8"_s} << u"EEEE"_s << noTips << QString();
    QTest::newRow("empty series") << section({"0", "0", "0", "1"}) << QList<int>{0, 0, 0, 0}
                                  << QStringList{u"0"_s, u"0"_s, u"0"_s, u"1"_s} << u"EEED"_s
                                  << QStringList{{}, {}, {}, u"Manque : 001"_s} << QString();
    const QString unknown = u"Numéro inconnu"_s;
    QTest::newRow("bad value") << section({"14", "9", "onze", "8"}) << demoCounts
                               << QStringList{u"14"_s, u"9"_s, u"?"_s, u"8"_s} << u"EEUE"_s
                               << QStringList{{}, {}, unknown, {}} << u"Plomé « onze »"_s;
    QTest::newRow("no section") << QByteArray("[Dernier_numero]\r\n") << demoCounts
                                << QStringList{u"?"_s, u"?"_s, u"?"_s, u"?"_s} << u"UUUU"_s
                                << QStringList{unknown, unknown, unknown, unknown}
                                << u"n'a pas de ligne « [dernier_numero] »"_s;
}

void TestComparison::showsPairs()
{
    QFETCH(QByteArray, settings);
    QFETCH(QList<int>, counts);
    QFETCH(QStringList, found);
    QFETCH(QString, looks);
    QFETCH(QStringList, tips);
    QFETCH(QString, warning);

    Fixture fixture;
    fill(fixture, counts);
    fixture.writeSettings("programme=recherche.sh\r\n" + settings);
    writeProgram(fixture.folder().file(u"recherche.sh"), "exit 0\n");
    auto window = fixture.openWindow();
    QVERIFY(window);

    clickCheck(*window);

    ComparisonWindow* shown = comparison(*window);
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QCOMPARE(fixture.messenger.shown.size(), warning.isEmpty() ? 1 : 2);
    if (!warning.isEmpty()) {
        QCOMPARE(fixture.messenger.shown.at(1).icon, Messenger::Icon::Warning);
        QVERIFY2(fixture.messenger.shown.at(1).text.contains(warning), qPrintable(fixture.messenger.shown.at(1).text));
    }
    const bool differs = looks.contains(u'D');
    QCOMPARE(shown->windowTitle(), differs ? u"Liste des numéros — err"_s : u"Liste des numéros"_s);
    QCOMPARE(shown->property("mark").toString(), differs ? u"err"_s : QString());

    for (int row = 0; row < 4; ++row) {
        const QString index = QString::number(row + 1);
        auto* gnv = child<QLineEdit>(shown, u"gnv_"_s + index);
        auto* dpt = child<QLineEdit>(shown, u"dpt_"_s + index);
        QVERIFY(gnv && dpt);
        QCOMPARE(gnv->text(), found.at(row));
        QCOMPARE(dpt->text(), QString::number(counts.at(row)));
        const QChar look = looks.at(row);
        const QColor background = look == u'E'   ? QColor(255, 255, 0)
                                  : look == u'D' ? QColor(255, 0, 0)
                                                 : QColor(192, 192, 192);
        const QColor text = look == u'D' ? QColor(255, 255, 0) : QColor(0, 0, 0);
        for (QLineEdit* box : {gnv, dpt}) {
            QVERIFY(box->isReadOnly());
            QVERIFY(box->font().bold());
            QCOMPARE(box->palette().color(QPalette::Base), background);
            QCOMPARE(box->palette().color(QPalette::Text), text);
            QCOMPARE(box->toolTip(), tips.at(row));
        }
    }
}

void TestComparison::startsSearchProgramThenWaits()
{
    Fixture fixture;
    fill(fixture, demoCounts);
    fixture.writeSettings("programme=recherche.sh\r\n" + section({"14", "9", "11", "8"}));
    writeProgram(fixture.folder().file(u"recherche.sh"), "exit 0\n");
    const QByteArray before = fileHash(fixture.folder().database());
    auto window = fixture.openWindow();
    QVERIFY(window);

    clickCheck(*window);

    QCOMPARE(fixture.programs.calls.size(), 1);
    const FakeProgramStarter::Call& call = fixture.programs.calls.first();
    QCOMPARE(call.program, fixture.folder().path() + u"/recherche.sh"_s);
    QCOMPARE(call.arguments, QStringList({u","_s, u"6"_s}));
    QCOMPARE(call.workingFolder, fixture.folder().path());
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::None);
    QCOMPARE(fixture.messenger.shown.first().text, u"Attente de la fin des recherches."_s);
    QVERIFY(comparison(*window)->isWindow());
    window.reset();
    QCOMPARE(fileHash(fixture.folder().database()), before);
}

void TestComparison::oneWindowAtATime()
{
    Fixture fixture;
    fixture.writeSettings("programme=recherche.sh\r\n" + section({"0", "0", "0", "0"}));
    writeProgram(fixture.folder().file(u"recherche.sh"), "exit 0\n");
    auto window = fixture.openWindow();
    QVERIFY(window);

    clickCheck(*window);
    QPointer<ComparisonWindow> first = comparison(*window);
    QVERIFY(first);
    clickCheck(*window);
    QCOMPARE(fixture.programs.calls.size(), 1);
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(window->findChildren<ComparisonWindow*>().size(), 1);

    first->close();
    QTRY_VERIFY(!first);
    fixture.writeSettings("programme=recherche.sh\r\n" + section({"1", "0", "0", "0"}));
    clickCheck(*window);
    QCOMPARE(fixture.programs.calls.size(), 2);
    QCOMPARE(fixture.messenger.shown.size(), 2);
    QVERIFY(comparison(*window));
    // The file is read again: the new search found one more Dravé.
    QCOMPARE(child<QLineEdit>(comparison(*window), u"gnv_1"_s)->text(), u"1"_s);
}

void TestComparison::refusesToStart_data()
{
    QTest::addColumn<QByteArray>("programLine");
    QTest::addColumn<QString>("file");    // made in the folder: "x" executable, "-" not, "/" a folder
    QTest::addColumn<bool>("startable");  // what the starter answers
    QTest::addColumn<QString>("message"); // with {folder} and {settings}
    QTest::addColumn<QString>("detail");

    QTest::newRow("empty setting") << QByteArray("programme=") << QString() << true
                                   << u"Aucun programme de recherche n'est indiqué : la ligne « programme= » du "
                                      u"fichier « {settings} » est vide."_s
                                   << QString();
    QTest::newRow("spaces only") << QByteArray("programme=   ") << QString() << true
                                 << u"Aucun programme de recherche n'est indiqué : la ligne « programme= » du "
                                    u"fichier « {settings} » est vide."_s
                                 << QString();
    QTest::newRow("missing") << QByteArray("programme=recherche.sh") << QString() << true
                             << u"Le programme de recherche « {folder}/recherche.sh » est introuvable."_s << QString();
    QTest::newRow("space kept before the name")
        << QByteArray("programme= recherche.sh") << u"x"_s << true
        << u"Le programme de recherche « {folder}/ recherche.sh » est introuvable."_s << QString();
    QTest::newRow("not executable") << QByteArray("programme=recherche.sh") << u"-"_s << true
                                    << u"Le programme de recherche « {folder}/recherche.sh » n'est pas un programme "
                                       u"exécutable."_s
                                    << QString();
    QTest::newRow("a folder")
        << QByteArray("programme=recherche.sh") << u"/"_s << true
        << u"Le programme de recherche « {folder}/recherche.sh » n'est pas un programme exécutable."_s << QString();
    QTest::newRow("start refused") << QByteArray("programme=recherche.sh") << u"x"_s << false
                                   << u"Le programme de recherche « {folder}/recherche.sh » n'a pas pu être lancé."_s
                                   << u"refusé par le test"_s;
}

void TestComparison::refusesToStart()
{
    QFETCH(QByteArray, programLine);
    QFETCH(QString, file);
    QFETCH(bool, startable);
    QFETCH(QString, message);
    QFETCH(QString, detail);

    Fixture fixture;
    fixture.writeSettings(programLine + "\r\n" + section({"0", "0", "0", "0"}));
    const QString program = fixture.folder().file(u"recherche.sh");
    if (file == u"/") {
        QVERIFY(QDir().mkdir(program));
    } else if (!file.isEmpty()) {
        writeProgram(program, "exit 0\n", file == u"x");
    }
    fixture.programs.succeed = startable;
    auto window = fixture.openWindow();
    QVERIFY(window);

    clickCheck(*window);

    QCOMPARE(fixture.programs.calls.size(), startable ? 0 : 1);
    QCOMPARE(fixture.messenger.shown.size(), 1);
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Warning);
    message.replace(u"{folder}"_s, QDir::toNativeSeparators(fixture.folder().path()));
    message.replace(u"{settings}"_s, QDir::toNativeSeparators(fixture.folder().settings()));
    QCOMPARE(fixture.messenger.shown.first().text, message);
    QCOMPARE(fixture.messenger.shown.first().detail, detail);
    QVERIFY(!comparison(*window));
}

void TestComparison::reportsCatalogueFailure()
{
    Fixture fixture;
    fill(fixture, demoCounts);
    fixture.writeSettings("programme=recherche.sh\r\n" + section({"14", "9", "11", "8"}));
    writeProgram(fixture.folder().file(u"recherche.sh"), "exit 0\n");
    auto window = fixture.openWindow();
    QVERIFY(window);
    fixture.sql(u"DROP TABLE titres"_s);

    clickCheck(*window);

    QCOMPARE(fixture.messenger.shown.size(), 2);
    QCOMPARE(fixture.messenger.shown.at(1).icon, Messenger::Icon::Critical);
    QVERIFY(fixture.messenger.shown.at(1).detail.contains(u"titres"_s));
    ComparisonWindow* shown = comparison(*window);
    QVERIFY(shown);
    QCOMPARE(child<QLineEdit>(shown, u"dpt_4"_s)->text(), u"?"_s);
    QCOMPARE(child<QLineEdit>(shown, u"gnv_4"_s)->text(), u"8"_s);
    QCOMPARE(child<QLineEdit>(shown, u"dpt_1"_s)->text(), u"14"_s);
    QCOMPARE(shown->windowTitle(), u"Liste des numéros"_s);
}

void TestComparison::runsRealProgram()
{
#ifdef Q_OS_WIN
    QSKIP("The recording program is a shell script.");
#endif
    Fixture fixture;
    fill(fixture, demoCounts);
    const QString record = fixture.folder().file(u"appel.txt");
    WaitingMessenger messenger(record);
    writeProgram(fixture.folder().file(u"recherche.sh"),
                 "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; } >appel.tmp\n"
                 "printf '[dernier_numero]\\r\\n%-18s=%s\\r\\n%-20s=%s\\r\\n%-18s=%s\\r\\n%-22s=%s\\r\\n' "
                 "a 15 b 9 c 11 d 8 >>paramvorn.ini\n"
                 "mv appel.tmp appel.txt\n");
    QProcessStarter starter;
    std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), messenger);
    QVERIFY(loaded);
    MainWindow window(fixture.folder(), Services{&messenger, &fixture.desktop, &starter});
    QVERIFY(window.load(std::move(*loaded)));

    clickCheck(window);

    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString folder = QDir(fixture.folder().path()).canonicalPath();
    QCOMPARE(QString::fromUtf8(file.readAll()), u"2\n[,]\n[6]\n"_s + folder + u"\n"_s);
    QCOMPARE(messenger.texts, QStringList{u"Attente de la fin des recherches."_s});
    QVERIFY(comparison(window));
    QCOMPARE(comparison(window)->windowTitle(), u"Liste des numéros — err"_s);
    QCOMPARE(child<QLineEdit>(comparison(window), u"gnv_1"_s)->toolTip(), u"Manque : 015"_s);
}

void TestComparison::sampleProgramWritesSection()
{
#ifdef Q_OS_WIN
    QSKIP("The sample search program is a shell script.");
#endif
    Fixture fixture;
    fill(fixture, demoCounts);
    const QString program = fixture.folder().file(u"recherche-exemple.sh");
    QVERIFY(QFile::copy(QStringLiteral(MEZOR_SOURCE_DIR "/data/recherche-exemple.sh"), program));
    fixture.writeSettings("; notes\r\nprogramme=recherche-exemple.sh\r\n" + section({"1", "1", "1", "1"}) +
                          "fin=oui\r\n");

    QProcess process;
    process.setWorkingDirectory(fixture.folder().path());
    process.start(u"sh"_s, {program, u","_s, u"6"_s});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);

    const std::optional<QStringList> lines = SettingsFile::readLines(fixture.folder().settings());
    QVERIFY(lines);
    QCOMPARE(lines->mid(0, 2), QStringList({u"; notes"_s, u"programme=recherche-exemple.sh"_s}));
    QCOMPARE(lines->at(2), u"fin=oui"_s);
    QCOMPARE(lines->count(u"[dernier_numero]"_s), 1);
    const LastNumbers numbers = LastNumbers::read(fixture.folder().settings());
    QVERIFY2(numbers.problems.isEmpty(), qPrintable(numbers.problems.join(u'\n')));
    if (QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty()) {
        QSKIP("Without sqlite3 the sample program writes fixed numbers.");
    }
    // The catalogue's counts plus the sample's invented progress: three Dravé and one Plomé.
    QCOMPARE(*numbers.values.at(0), demoCounts.at(0) + 3);
    QCOMPARE(*numbers.values.at(1), demoCounts.at(1));
    QCOMPARE(*numbers.values.at(2), demoCounts.at(2) + 1);
    QCOMPARE(*numbers.values.at(3), demoCounts.at(3));
}

QTEST_MAIN(TestComparison)
#include "tst_comparison.moc"
