#include "catalogue/SettingsFile.h"
#include "check/LastNumbers.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The four lines of a section in the search program's layout: numbers at characters 20, 22, 20 and 24.
QByteArray numbers(const QByteArray& dravé, const QByteArray& tusqué, const QByteArray& plomé,
                   const QByteArray& vantorel)
{
    return "dernier_drave     =" + dravé + "\r\ndernier_tusque      =" + tusqué + "\r\ndernier_plome     =" + plomé +
           "\r\ndernier_vantorel      =" + vantorel + "\r\n";
}

// What comes before the numbers: the program's line, then the section line.
const QByteArray head = "programme=recherche.exe\r\n[dernier_numero]\r\n";

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
    QTest::addColumn<QStringList>("problems"); // a fragment of each expected problem, in order

    const QList<int> unknown = {-1, -1, -1, -1};
    QTest::newRow("leading zeros, spaces, both limits")
        << head + numbers("042", "  7  ", "00000", "32767") << QList<int>{42, 7, 0, 32767} << QStringList{};
    QTest::newRow("only the exact section line counts")
        << "; [dernier_numero] plus tard\r\nprogramme=[dernier_numero]\r\n[Dernier_numero]\r\n[dernier_numero] \r\n" +
               numbers("1", "2", "3", "4") + "[dernier_numero]\r\n" + numbers("5", "6", "7", "8")
        << QList<int>{5, 6, 7, 8} << QStringList{};
    QTest::newRow("no section") << QByteArray("programme=recherche.exe\r\n") << unknown
                                << QStringList{u"n'a pas de ligne « [dernier_numero] »"_s};
    QTest::newRow("two lines only, section first")
        << QByteArray("[dernier_numero]\r\ndernier_drave     =14\r\ndernier_tusque      =9\r\n")
        << QList<int>{14, 9, -1, -1} << QStringList{u"pas de ligne pour Plomé, Vantorel."_s};
    QTest::newRow("out of range or signed")
        << head + numbers("32768", "-1", "+3", "99999999999999999999") << unknown
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

void TestLastNumbers::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, expected);
    QFETCH(QStringList, problems);

    // The path only names the file in the problems, except for the row without a file.
    const QString path = QDir(QDir::tempPath()).filePath(u"sans-paramètres/paramvorn.ini"_s);
    const LastNumbers numbers = content.isNull()
                                    ? LastNumbers::read(path)
                                    : LastNumbers::parse(SettingsFile::splitLines(SettingsFile::decode(content)), path);

    QList<int> values;
    for (const std::optional<int>& value : numbers.values) {
        values.append(value.value_or(-1));
    }
    QCOMPARE(values, expected);
    QCOMPARE(numbers.problems.size(), problems.size());
    for (qsizetype i = 0; i < problems.size(); ++i) {
        QVERIFY2(numbers.problems.at(i).contains(problems.at(i)), qPrintable(numbers.problems.at(i)));
        QVERIFY2(numbers.problems.at(i).contains(QDir::toNativeSeparators(path)), qPrintable(numbers.problems.at(i)));
    }
}

QTEST_GUILESS_MAIN(TestLastNumbers)
#include "tst_lastnumbers.moc"
