#include "check/LastNumbers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The four lines of a section in the search program's layout: numbers at characters 20, 22, 20 and 24.
QByteArray numbers(const QByteArray& dravé, const QByteArray& tusqué, const QByteArray& plomé,
                   const QByteArray& vantorel, const QByteArray& end = "\r\n")
{
    return "dernier_drave     =" + dravé + end + "dernier_tusque      =" + tusqué + end +
           "dernier_plome     =" + plomé + end + "dernier_vantorel      =" + vantorel + end;
}

QByteArray section(const QByteArray& dravé, const QByteArray& tusqué, const QByteArray& plomé,
                   const QByteArray& vantorel, const QByteArray& end = "\r\n")
{
    return "[dernier_numero]" + end + numbers(dravé, tusqué, plomé, vantorel, end);
}

const QByteArray programLine = "programme=recherche.exe\r\n";

} // namespace

class TestLastNumbers : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

void TestLastNumbers::read_data()
{
    QTest::addColumn<QByteArray>("content");   // a null array: no file at all
    QTest::addColumn<QList<int>>("expected");  // -1: unknown
    QTest::addColumn<QStringList>("problems"); // a fragment of each expected problem

    const QList<int> unknown = {-1, -1, -1, -1};
    QTest::newRow("four numbers") << programLine + section("14", "9", "11", "8") << QList<int>{14, 9, 11, 8}
                                  << QStringList{};
    QTest::newRow("only Plomé differs from the rest")
        << programLine + section("14", "9", "12", "8") << QList<int>{14, 9, 12, 8} << QStringList{};
    QTest::newRow("leading zeros and spaces")
        << programLine + section("042", "  7  ", "00000", "32767") << QList<int>{42, 7, 0, 32767} << QStringList{};
    QTest::newRow("lines before the section are skipped")
        << "; [dernier_numero] plus tard\r\nprogramme=[dernier_numero]\r\n[autre]\r\nx=1\r\n" +
               section("1", "2", "3", "4")
        << QList<int>{1, 2, 3, 4} << QStringList{};
    QTest::newRow("first exact section line counts")
        << "[Dernier_numero]\r\n" + numbers("1", "2", "3", "4") + section("5", "6", "7", "8") << QList<int>{5, 6, 7, 8}
        << QStringList{};
    QTest::newRow("section line in other letter case")
        << programLine + "[Dernier_numero]\r\n" + numbers("1", "2", "3", "4") << unknown
        << QStringList{u"n'a pas de ligne « [dernier_numero] »"_s};
    QTest::newRow("section line with trailing spaces")
        << programLine + "[dernier_numero]  \r\n" + numbers("1", "2", "3", "4") << unknown
        << QStringList{u"n'a pas de ligne « [dernier_numero] »"_s};
    QTest::newRow("no section at all") << programLine << unknown
                                       << QStringList{u"n'a pas de ligne « [dernier_numero] »"_s};
    QTest::newRow("two lines only") << programLine +
                                           "[dernier_numero]\r\ndernier_drave     =14\r\ndernier_tusque      =9\r\n"
                                    << QList<int>{14, 9, -1, -1}
                                    << QStringList{u"pas de ligne pour Plomé, Vantorel."_s};
    QTest::newRow("section line last") << programLine + "[dernier_numero]" << unknown
                                       << QStringList{u"pas de ligne pour Dravé, Tusqué, Plomé, Vantorel."_s};
    QTest::newRow("not a number")
        << programLine + section("14", "9", "1l", "8") << QList<int>{14, 9, -1, 8}
        << QStringList{u"ligne 5 : le dernier numéro Plomé « 1l » n'est pas un nombre entier de 0 à 32767."_s};
    QTest::newRow("out of range") << programLine + section("32768", "-1", "+3", "99999999999999999999") << unknown
                                  << QStringList{u"ligne 3 : le dernier numéro Dravé « 32768 »"_s,
                                                 u"ligne 4 : le dernier numéro Tusqué « -1 »"_s,
                                                 u"ligne 5 : le dernier numéro Plomé « +3 »"_s,
                                                 u"ligne 6 : le dernier numéro Vantorel « 99999999999999999999 »"_s};
    QTest::newRow("line too short or blank")
        << programLine + "[dernier_numero]\r\ndernier_drave\r\n\r\ndernier_plome     =3\r\ndernier_vantorel      =4\r\n"
        << QList<int>{-1, -1, 3, 4}
        << QStringList{u"ligne 3 : le dernier numéro Dravé manque (rien à partir du caractère 20)."_s,
                       u"ligne 4 : le dernier numéro Tusqué manque (rien à partir du caractère 22)."_s};
    // Accented names before the numbers: one character each once decoded, whatever the bytes.
    QTest::newRow("Windows-1252")
        << QByteArray("programme=recherche.exe\r\n[dernier_numero]\r\ndernier_drav\xe9     =15\r\n"
                      "dernier_tusqu\xe9      =9\r\ndernier_plom\xe9     =11\r\nderni\xe8re_s\xe9rie        =8\r\n")
        << QList<int>{15, 9, 11, 8} << QStringList{};
    QTest::newRow("UTF-8") << QByteArray(
                                  "programme=recherche.exe\r\n[dernier_numero]\r\ndernier_dravé     =15\r\n"
                                  "dernier_tusqué      =9\r\ndernier_plomé     =11\r\ndernière_série        =8\r\n")
                           << QList<int>{15, 9, 11, 8} << QStringList{};
    QTest::newRow("CR line ends") << QByteArray("programme=recherche.exe\r") + section("14", "9", "11", "8", "\r")
                                  << QList<int>{14, 9, 11, 8} << QStringList{};
    QTest::newRow("LF line ends, none after the last")
        << QByteArray("programme=recherche.exe\n") + section("14", "9", "11", "8", "\n").chopped(1)
        << QList<int>{14, 9, 11, 8} << QStringList{};
    QTest::newRow("no file") << QByteArray() << unknown << QStringList{u"est introuvable ou illisible"_s};
}

void TestLastNumbers::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, expected);
    QFETCH(QStringList, problems);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("paramvorn.ini"));
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const LastNumbers numbers = LastNumbers::read(path);

    QList<int> values;
    for (const std::optional<int>& value : numbers.values) {
        values.append(value.value_or(-1));
    }
    QCOMPARE(values, expected);
    QCOMPARE(numbers.problems.size() > 0, problems.size() > 0);
    const QString all = numbers.problems.join(u'\n');
    for (const QString& fragment : problems) {
        QVERIFY2(all.contains(fragment), qPrintable(all));
    }
    for (const QString& problem : numbers.problems) {
        QVERIFY2(problem.contains(QDir::toNativeSeparators(path)), qPrintable(problem));
    }
}

QTEST_GUILESS_MAIN(TestLastNumbers)
#include "tst_lastnumbers.moc"
