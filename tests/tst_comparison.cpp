#include "app/Startup.h"
#include "app/Wiring.h"
#include "catalogue/SettingsFile.h"
#include "check/ComparisonWindow.h"
#include "ui/ProgramStarter.h"
#include "support/Fixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Entry counts in window row order: Dravé, Tusqué, Plomé, Vantorel.
const QList<int> demoCounts = {14, 9, 11, 8};

void fill(Fixture& fixture, const QList<int>& counts)
{
    for (const Category& category : Category::all()) {
        fixture.insert(category, Fixture::series(counts.at(category.comparisonRow - 1)));
    }
}

void writeProgram(const QString& path, const QByteArray& body, bool executable = true)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                (executable ? QFile::ExeOwner : QFile::Permission())));
}

// The section in the search program's layout (numbers at characters 20, 22, 20 and 24) from "Dravé|Tusqué|…".
QByteArray section(const QByteArray& numbers)
{
    const QList<QByteArray> n = numbers.split('|');
    return "[dernier_numero]\r\ndernier_drave     =" + n.at(0) + "\r\ndernier_tusque      =" + n.at(1) +
           "\r\ndernier_plome     =" + n.at(2) + "\r\ndernier_vantorel      =" + n.at(3) + "\r\n";
}

// A catalogue with these counts, a search program that does nothing, and `settings` after the programme line.
std::unique_ptr<MainWindow> openWithProgram(Fixture& fixture, const QList<int>& counts, const QByteArray& settings)
{
    fill(fixture, counts);
    fixture.writeSettings("programme=recherche.sh\r\n" + settings);
    writeProgram(fixture.folder().file(u"recherche.sh"), "exit 0\n");
    return fixture.openWindow();
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

QString boxText(ComparisonWindow* shown, const QString& name)
{
    return child<QLineEdit>(shown, name)->text();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    bool ask(const QString&, const QString&, Answer) override { return false; }
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
    void refusesToStart_data();
    void refusesToStart();
    void reportsCatalogueFailure();
    void runsRealProgram();
};

void TestComparison::showsPairs_data()
{
    QTest::addColumn<QByteArray>("numbers"); // of the section, in window row order
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QStringList>("tips");
    QTest::addColumn<QString>("warning"); // a fragment of the warning, empty when none

    const QStringList noTips = {{}, {}, {}, {}};
    QTest::newRow("all equal") << QByteArray("14|9|11|8") << demoCounts << noTips << QString();
    QTest::newRow("only Plomé differs") << QByteArray("14|9|14|8") << demoCounts
                                        << QStringList{{}, {}, u"Manquent : 012 à 014"_s, {}} << QString();
    QTest::newRow("one number missing") << QByteArray("15|9|11|8") << demoCounts
                                        << QStringList{u"Manque : 015"_s, {}, {}, {}} << QString();
    QTest::newRow("catalogue ahead") << QByteArray("14|9|11|7") << demoCounts << noTips << QString();
    QTest::newRow("042 equals 42") << QByteArray("042|9| 011 |8") << QList<int>{42, 9, 11, 8} << noTips << QString();
    QTest::newRow("bad value") << QByteArray("14|9|onze|8") << demoCounts
                               << QStringList{{}, {}, u"Numéro inconnu"_s, {}} << u"Plomé « onze »"_s;
}

void TestComparison::showsPairs()
{
    QFETCH(QByteArray, numbers);
    QFETCH(QList<int>, counts);
    QFETCH(QStringList, tips);
    QFETCH(QString, warning);

    Fixture fixture;
    auto window = openWithProgram(fixture, counts, section(numbers));
    QVERIFY(window);
    const QByteArray before = contents(fixture.folder().database());

    clickCheck(*window);

    ComparisonWindow* shown = comparison(*window);
    QVERIFY(shown && shown->isVisible() && shown->isWindow());
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::None);
    QCOMPARE(fixture.messenger.texts().first(), u"Attente de la fin des recherches."_s);
    QCOMPARE(fixture.messenger.shown.size(), warning.isEmpty() ? 1 : 2);
    if (!warning.isEmpty()) {
        QCOMPARE(fixture.messenger.shown.at(1).icon, Messenger::Icon::Warning);
        QVERIFY2(fixture.messenger.texts().at(1).contains(warning), qPrintable(fixture.messenger.texts().at(1)));
    }
    bool differs = false;
    QByteArray equalNumbers;
    for (int row = 0; row < 4; ++row) {
        bool known = false;
        const int number = numbers.split('|').at(row).trimmed().toInt(&known);
        const bool equal = known && number == counts.at(row);
        differs = differs || (known && !equal);
        equalNumbers += QByteArray::number(counts.at(row)) + (row < 3 ? "|" : "");
        auto* gnv = child<QLineEdit>(shown, u"gnv_%1"_s.arg(row + 1));
        auto* dpt = child<QLineEdit>(shown, u"dpt_%1"_s.arg(row + 1));
        QVERIFY(gnv && dpt);
        QCOMPARE(gnv->text(), known ? QString::number(number) : u"?"_s);
        QCOMPARE(dpt->text(), QString::number(counts.at(row)));
        // Black on yellow when equal, yellow on red when different, grey when unknown.
        const QColor background = !known ? QColor(192, 192, 192) : equal ? QColor(255, 255, 0) : QColor(255, 0, 0);
        const QColor text = known && !equal ? QColor(255, 255, 0) : QColor(0, 0, 0);
        for (QLineEdit* box : {gnv, dpt}) {
            QVERIFY(box->isReadOnly() && box->font().bold());
            QCOMPARE(box->palette().color(QPalette::Base), background);
            QCOMPARE(box->palette().color(QPalette::Text), text);
            QCOMPARE(box->toolTip(), tips.at(row));
        }
    }
    QCOMPARE(shown->windowTitle(), differs ? u"Liste des numéros — err"_s : u"Liste des numéros"_s);

    // While the window is open a click does nothing; once it is closed, the next click compares again.
    clickCheck(*window);
    QCOMPARE(fixture.programs.calls.size(), 1);
    QCOMPARE(window->findChildren<ComparisonWindow*>().size(), 1);
    QPointer<ComparisonWindow> first = shown;
    first->close();
    QTRY_VERIFY(!first);
    fixture.writeSettings("programme=recherche.sh\r\n" + section(equalNumbers));
    clickCheck(*window);
    QCOMPARE(fixture.programs.calls.size(), 2);
    QVERIFY(comparison(*window));
    QCOMPARE(comparison(*window)->windowTitle(), u"Liste des numéros"_s);
    // Nothing in the catalogue is written.
    window.reset();
    QCOMPARE(contents(fixture.folder().database()), before);
}

void TestComparison::refusesToStart_data()
{
    QTest::addColumn<QByteArray>("programLine");
    QTest::addColumn<QString>("file");    // made in the folder: "x" executable, "-" not, "/" a folder
    QTest::addColumn<bool>("startable");  // what the starter answers
    QTest::addColumn<QString>("message"); // with {folder} and {settings}

    const QString empty = u"Aucun programme de recherche n'est indiqué : la ligne « programme= » du fichier "
                          u"« {settings} » est vide."_s;
    const QString program = u"Le programme de recherche « {folder}/recherche.sh » "_s;
    QTest::newRow("empty setting") << QByteArray("programme=") << QString() << true << empty;
    QTest::newRow("spaces only") << QByteArray("programme=   ") << QString() << true << empty;
    QTest::newRow("missing") << QByteArray("programme=recherche.sh") << QString() << true
                             << program + u"est introuvable."_s;
    QTest::newRow("space kept before the name")
        << QByteArray("programme= recherche.sh") << u"x"_s << true
        << u"Le programme de recherche « {folder}/ recherche.sh » est introuvable."_s;
    QTest::newRow("not executable") << QByteArray("programme=recherche.sh") << u"-"_s << true
                                    << program + u"n'est pas un programme exécutable."_s;
    QTest::newRow("a folder") << QByteArray("programme=recherche.sh") << u"/"_s << true
                              << program + u"n'est pas un programme exécutable."_s;
    QTest::newRow("start refused") << QByteArray("programme=recherche.sh") << u"x"_s << false
                                   << program + u"n'a pas pu être lancé."_s;
}

void TestComparison::refusesToStart()
{
    QFETCH(QByteArray, programLine);
    QFETCH(QString, file);
    QFETCH(bool, startable);
    QFETCH(QString, message);

    Fixture fixture;
    fixture.writeSettings(programLine + "\r\n" + section("0|0|0|0"));
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
    message.replace(u"{folder}"_s, QDir::toNativeSeparators(fixture.folder().path()));
    message.replace(u"{settings}"_s, QDir::toNativeSeparators(fixture.folder().settings()));
    QCOMPARE(fixture.messenger.texts(), QStringList{message});
    QCOMPARE(fixture.messenger.shown.first().icon, Messenger::Icon::Warning);
    QCOMPARE(fixture.messenger.shown.first().detail, startable ? QString() : u"refusé par le test"_s);
    QVERIFY(!comparison(*window));
}

void TestComparison::reportsCatalogueFailure()
{
    Fixture fixture;
    auto window = openWithProgram(fixture, demoCounts, section("14|9|11|8"));
    QVERIFY(window);
    fixture.sql(u"DROP TABLE titres"_s);

    clickCheck(*window);

    QCOMPARE(fixture.messenger.shown.size(), 2);
    QCOMPARE(fixture.messenger.shown.at(1).icon, Messenger::Icon::Critical);
    QVERIFY(fixture.messenger.shown.at(1).detail.contains(u"titres"_s));
    // What could be read is shown; an unknown count is no difference.
    ComparisonWindow* shown = comparison(*window);
    QVERIFY(shown);
    QCOMPARE(boxText(shown, u"dpt_4"_s), u"?"_s);
    QCOMPARE(boxText(shown, u"gnv_4"_s), u"8"_s);
    QCOMPARE(boxText(shown, u"dpt_1"_s), u"14"_s);
    QCOMPARE(shown->windowTitle(), u"Liste des numéros"_s);
}

void TestComparison::runsRealProgram()
{
#ifdef Q_OS_WIN
    QSKIP("The recording and sample search programs are shell scripts.");
#endif
    Fixture fixture;
    fill(fixture, demoCounts);
    fixture.writeSettings("; notes\r\nprogramme=recherche.sh\r\n" + section("1|1|1|1") + "fin=oui\r\n");
    const QString record = fixture.folder().file(u"appel.txt");
    WaitingMessenger messenger(record);
    // Records how it was called, then runs the project's sample search program.
    QVERIFY(QFile::copy(QStringLiteral(MEZOR_SOURCE_DIR "/data/recherche-exemple.sh"),
                        fixture.folder().file(u"recherche-exemple.sh")));
    writeProgram(fixture.folder().file(u"recherche.sh"),
                 "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; } >appel.tmp\n"
                 "sh ./recherche-exemple.sh \"$@\" 2>>appel.tmp\n"
                 "mv appel.tmp appel.txt\n");
    QProcessStarter starter;
    std::optional<LoadedCatalogue> loaded = Startup::open(fixture.folder(), messenger);
    QVERIFY(loaded);
    MainWindow window(fixture.folder(), Services{&messenger, &fixture.desktop, &starter});
    QVERIFY(window.load(std::move(*loaded)));
    Wiring::connectSubsystems(window);

    clickCheck(window);

    // Started in the catalogue folder with the arguments "," and "6".
    const QString folder = QDir(fixture.folder().path()).canonicalPath();
    QCOMPARE(QString::fromUtf8(contents(record)), u"2\n[,]\n[6]\n"_s + folder + u"\n"_s);
    QCOMPARE(messenger.texts, QStringList{u"Attente de la fin des recherches."_s});
    // The sample keeps the other lines and replaces the section: the catalogue's counts (fixed ones without
    // sqlite3) plus three Dravé and one Plomé.
    const std::optional<QStringList> lines = SettingsFile::readLines(fixture.folder().settings());
    QVERIFY(lines && lines->size() == 8);
    QCOMPARE(lines->mid(0, 4),
             QStringList({u"; notes"_s, u"programme=recherche.sh"_s, u"fin=oui"_s, u"[dernier_numero]"_s}));
    const bool counted = !QStandardPaths::findExecutable(u"sqlite3"_s).isEmpty();
    const QStringList expected =
        counted ? QStringList{u"17"_s, u"9"_s, u"12"_s, u"8"_s} : QStringList{u"17"_s, u"12"_s, u"12"_s, u"10"_s};
    ComparisonWindow* shown = comparison(window);
    QVERIFY(shown);
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(boxText(shown, u"gnv_%1"_s.arg(row + 1)), expected.at(row));
    }
    QCOMPARE(shown->windowTitle(), u"Liste des numéros — err"_s);
    QCOMPARE(child<QLineEdit>(shown, u"gnv_1"_s)->toolTip(), u"Manquent : 015 à 017"_s);
}

QTEST_MAIN(TestComparison)
#include "tst_comparison.moc"
