#include "catalogue/Catalogue.h"
#include "search/Statistics.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The counting rule; the grids it fills at each tab change are tested with the search tab.
class TestStatistics : public QObject {
    Q_OBJECT

private slots:
    void count_data();
    void count();
};

void TestStatistics::count_data()
{
    // Names separated by commas; the entries' authors in stored order; the result as "name=count".
    QTest::addColumn<QString>("registered");
    QTest::addColumn<QString>("authors");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unregistered author not counted") << u"Léa"_s << u"Léa,Max"_s << u"Léa=1"_s;
    QTest::newRow("author without entries absent") << u"Max,Léa"_s << u"Léa"_s << u"Léa=1"_s;
    QTest::newRow("spelling of the last matching entry")
        << u"élodie"_s << u"ÉLODIE,Élodie,élodie,ÉLOdie"_s << u"ÉLOdie=4"_s;
    QTest::newRow("accent is not case") << u"Elodie"_s << u"Élodie"_s << u""_s;
    QTest::newRow("trailing space is another name") << u"Léa"_s << u"Léa "_s << u""_s;
    QTest::newRow("largest count first") << u"A,B,C"_s << u"B,C,A,C,A,C"_s << u"C=3,A=2,B=1"_s;
    QTest::newRow("equal counts in register order") << u"Zoé,Ana"_s << u"Ana,Zoé"_s << u"Zoé=1,Ana=1"_s;
    QTest::newRow("registered twice in two cases") << u"léa,LÉA"_s << u"Léa,léa"_s << u"léa=2"_s;
    QTest::newRow("empty register") << u""_s << u"Léa"_s << u""_s;
    // Counting groups exactly the names that the register calls the same author.
    for (const auto& [registered, written] :
         {std::pair(u"ΣΟΦΙΑΣ"_s, u"σοφιας"_s), std::pair(u"Straße"_s, u"STRASSE"_s)}) {
        QTest::newRow(qPrintable(written))
            << registered << written << (sameAuthor(registered, written) ? written + u"=1"_s : QString());
    }
}

void TestStatistics::count()
{
    QFETCH(QString, registered);
    QFETCH(QString, authors);
    QFETCH(QString, expected);
    const QList<AuthorCount> counts =
        Statistics(registered.split(u',', Qt::SkipEmptyParts)).count(authors.split(u',', Qt::SkipEmptyParts));
    QStringList texts;
    for (const AuthorCount& count : counts) {
        texts.append(count.name + u'=' + QString::number(count.count));
    }
    QCOMPARE(texts.join(u','), expected);
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
