// The rules of the link check that the loopback tests cannot reach: redirects to https and elsewhere than the web,
// the turns the hosts take, the addresses a run takes from the series and the lines a command writes.
#include "links/HostScheduler.h"
#include "links/LinkRules.h"
#include "links/LinkTargets.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLinkRules : public QObject {
    Q_OBJECT

private slots:
    void redirectRefusal_data();
    void redirectRefusal();
    void schedulerTakesHostsInTurn();
    void targets();
    void reportLine();
    void summary();
};

void TestLinkRules::redirectRefusal_data()
{
    // The fifth redirect from an https address.
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("to https") << u"https://b/y"_s << QString();
    QTest::newRow("to http") << u"http://a/x"_s << u"de https vers http"_s;
    QTest::newRow("to another scheme") << u"ftp://a/x"_s << u"pas http ou https"_s;
}

void TestLinkRules::redirectRefusal()
{
    QFETCH(QString, to);
    QFETCH(QString, refusal);
    const QString found = LinkRules::redirectRefusal(QUrl(u"https://a/x"_s), QUrl(to), 5);
    QVERIFY2(refusal.isEmpty() ? found.isEmpty() : found.contains(refusal), qPrintable(found));
}

void TestLinkRules::schedulerTakesHostsInTurn()
{
    // Jobs 0 … 9 on the hosts a a a b b c c d d e; the script asks for the next job ("n") or ends one on a host.
    // One of each host first; eight at most though d could take one more; two at most on a though there is room.
    HostScheduler scheduler(8, 2);
    const QString hosts = u"aaabbccdde"_s;
    for (int job = 0; job < hosts.size(); ++job) {
        scheduler.add(job, hosts.at(job));
    }
    QStringList taken;
    for (const QString& step : u"n n n n n n n n n b n c n a n"_s.split(u' ')) {
        if (step == u"n") {
            taken.append(QString::number(scheduler.next().value_or(-1)));
        } else {
            scheduler.finished(step);
        }
    }
    QCOMPARE(taken.join(u' '), u"0 3 5 7 9 1 4 6 -1 8 -1 2"_s);
}

void TestLinkRules::targets()
{
    // Both addresses of each entry are checked when they are web addresses; an archive run skips the fresh copies.
    const QList<PuzzleEntry> entries{{u"001"_s, u"R"_s, u"A"_s, u"  HTTP://A/1.JPG"_s, u"https://f/1"_s},
                                     {u"002"_s, u"R"_s, u"A"_s, u"Non disponible"_s, QString()},
                                     {u"003"_s, u"R"_s, u"A"_s, u"ftp://a/3.jpg"_s, u"http://f/3"_s},
                                     {u"004"_s, u"R"_s, u"A"_s, u"http://a/4.jpg"_s, u"x"_s}};
    const LinkTarget first{2, u"001"_s, LinkField::Image, entries[0].url, entries[0].link};
    const LinkJob check = LinkTargets::check({{}, {}, entries});
    QCOMPARE(check.targets, (QList<LinkTarget>{first,
                                               {2, u"001"_s, LinkField::Post, entries[0].link, {}},
                                               {2, u"003"_s, LinkField::Post, entries[2].link, {}},
                                               {2, u"004"_s, LinkField::Image, entries[3].url, u"x"_s}}));
    QCOMPARE(check.withoutWebAddress, 4);
    const LinkJob archive = LinkTargets::archive({{}, {}, entries}, {{}, {}, {u"002"_s, u"004"_s}});
    QCOMPARE(archive.targets, QList<LinkTarget>{first});
    QCOMPARE(std::pair(archive.withoutWebAddress, archive.upToDate), std::pair(2, 1));
}

void TestLinkRules::reportLine()
{
    const LinkTarget post{3, u"012"_s, LinkField::Post, u"http://f/12"_s, {}};
    QCOMPARE(LinkRules::reportLine({post, {LinkClass::Redirected, {}, u"https://f/12"_s}}),
             u"Vantorel\t012\tlien\tredirigé\thttp://f/12\thttps://f/12"_s);
    const LinkTarget image{0, u"001"_s, LinkField::Image, u"http://a/1.jpg"_s, {}};
    QCOMPARE(LinkRules::reportLine({image, {LinkClass::NotFound, u"HTTP 404 Not Found"_s, u"http://b/1.jpg"_s}}),
             u"Dravé\t001\turl\tintrouvable\thttp://a/1.jpg\tHTTP 404 Not Found"_s);
}

void TestLinkRules::summary()
{
    // The nouns agree with their numbers: one form up to 1.
    QStringList heads;
    for (const int n : {0, 1, 2}) {
        LinkTally tally;
        tally.byClass[0] = tally.done = tally.total = n;
        heads.append(LinkRules::summary(LinkMode::Archive, tally).section(u',', 0, 0) + u'|' +
                     LinkRules::summary(LinkMode::Check, tally).section(u" :"_s, 0, 0));
    }
    QCOMPARE(heads, (QStringList{u"0 image à télécharger : 0 gardée|0 adresse web vérifiée"_s,
                                 u"1 image à télécharger : 1 gardée|1 adresse web vérifiée"_s,
                                 u"2 images à télécharger : 2 gardées|2 adresses web vérifiées"_s}));
}

QTEST_APPLESS_MAIN(TestLinkRules)
#include "tst_link_rules.moc"
