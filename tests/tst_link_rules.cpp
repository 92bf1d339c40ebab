// The pure rules of the link check: the class of an answer, the redirects followed, the per-host scheduling, the
// addresses taken from the series and what a command reports.
#include "links/HostScheduler.h"
#include "links/LinkRules.h"
#include "links/LinkTargets.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLinkRules : public QObject {
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void redirectRefusal_data();
    void redirectRefusal();
    void scheduler_data();
    void scheduler();
    void checkTargets_data();
    void checkTargets();
    void archiveTargetsSkipFreshCopies();
    void reportLine();
};

void TestLinkRules::classify_data()
{
    // The cases the loopback tests cannot show, and the order of the rules. image: 0 a forum address, 1 an image
    // address whose first bytes are a picture's, 2 one whose are not.
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("image");
    QTest::addColumn<bool>("redirected");
    QTest::addColumn<LinkClass>("expected");
    QTest::addColumn<QString>("reason");
    QTest::newRow("post") << 200 << QString() << 0 << false << LinkClass::Ok << QString();
    QTest::newRow("410 after a redirect") << 410 << QString() << 0 << true << LinkClass::NotFound << u"HTTP 410 Gone"_s;
    QTest::newRow("503") << 503 << QString() << 0 << false << LinkClass::Error << u"HTTP 503"_s;
    QTest::newRow("3xx without target") << 304 << QString() << 0 << false << LinkClass::Error << u"HTTP 304"_s;
    QTest::newRow("failure over status") << 200 << u"délai"_s << 1 << false << LinkClass::Error << u"délai"_s;
    QTest::newRow("page for an image") << 200 << QString() << 2 << false << LinkClass::NotAnImage
                                       << u"(reçu : text/html)"_s;
    QTest::newRow("page after a redirect") << 200 << QString() << 2 << true << LinkClass::NotAnImage << u"JPEG"_s;
}

void TestLinkRules::classify()
{
    QFETCH(int, status);
    QFETCH(QString, failure);
    QFETCH(int, image);
    QFETCH(bool, redirected);
    QFETCH(LinkClass, expected);
    QFETCH(QString, reason);
    LinkOutcome outcome{QUrl(u"http://hôte.fr/a.jpg"_s),
                        QUrl(u"https://hôte.fr/b.jpg"_s),
                        status,
                        status == 410 ? u"Gone"_s : QString(),
                        redirected ? QString() : u"text/html"_s,
                        failure,
                        image > 0,
                        image == 1};
    if (!redirected) {
        outcome.final = outcome.requested;
    }
    const LinkVerdict verdict = LinkRules::classify(outcome);
    QCOMPARE(verdict.linkClass, expected);
    QVERIFY2(reason.isEmpty() ? verdict.reason.isEmpty() : verdict.reason.contains(reason), qPrintable(verdict.reason));
    QCOMPARE(verdict.finalAddress, redirected ? outcome.final.toString() : QString());
}

void TestLinkRules::redirectRefusal_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("http to https") << u"http://a/x"_s << u"https://a/x"_s << 1 << QString();
    QTest::newRow("fifth") << u"https://a/x"_s << u"https://b/y"_s << 5 << QString();
    QTest::newRow("sixth") << u"https://a/x"_s << u"https://b/y"_s << 6 << u"plus de 5 redirections"_s;
    QTest::newRow("https to http") << u"https://a/x"_s << u"http://a/x"_s << 1 << u"de https vers http"_s;
    QTest::newRow("to another scheme") << u"http://a/x"_s << u"ftp://a/x"_s << 1 << u"pas http ou https"_s;
}

void TestLinkRules::redirectRefusal()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, count);
    QFETCH(QString, refusal);
    const QString found = LinkRules::redirectRefusal(QUrl(from), QUrl(to), count);
    QVERIFY2(refusal.isEmpty() ? found.isEmpty() : found.contains(refusal), qPrintable(found));
}

void TestLinkRules::scheduler_data()
{
    // Hosts of the jobs 0, 1, 2 … in order; the script runs "n" (next: the job, or "-") and "f:host" (finished).
    QTest::addColumn<QString>("hosts");
    QTest::addColumn<int>("maxRunning");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("picks");
    QTest::newRow("two per host") << u"a a a"_s << 8 << u"n n n f:a n"_s << u"0 1 - 2"_s;
    QTest::newRow("eight at most") << u"a a b b c c d d e e"_s << 8 << u"n n n n n n n n n f:c n"_s
                                   << u"0 2 4 6 8 1 3 5 - 7"_s;
    QTest::newRow("an end frees its own host") << u"a a a b"_s << 8 << u"n n n n f:b n f:a n"_s << u"0 3 1 - - 2"_s;
    QTest::newRow("overall bound first") << u"a b c"_s << 2 << u"n n n f:a n"_s << u"0 1 - 2"_s;
}

void TestLinkRules::scheduler()
{
    QFETCH(QString, hosts);
    QFETCH(int, maxRunning);
    QFETCH(QString, script);
    QFETCH(QString, picks);
    HostScheduler scheduler(maxRunning, 2);
    const QStringList names = hosts.split(u' ');
    for (int job = 0; job < names.size(); ++job) {
        scheduler.add(job, names.at(job));
    }
    QStringList taken;
    for (const QString& step : script.split(u' ')) {
        if (step.startsWith(u"f:")) {
            scheduler.finished(step.mid(2));
        } else {
            const std::optional<int> job = scheduler.next();
            taken.append(job ? QString::number(*job) : u"-"_s);
        }
    }
    QCOMPARE(taken.join(u' '), picks);
}

void TestLinkRules::checkTargets_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("without");
    QTest::newRow("both") << u"http://a/1.jpg"_s << u"https://f/1"_s << u"url lien"_s << 0;
    QTest::newRow("placeholder") << u"Non disponible"_s << u"http://f/1"_s << u"lien"_s << 1;
    QTest::newRow("other scheme, empty") << u"ftp://a/1.jpg"_s << QString() << QString() << 2;
    QTest::newRow("case and spaces") << u"  HTTP://A/1.JPG"_s << u"Https://f"_s << u"url lien"_s << 0;
    QTest::newRow("malformed is still checked") << u"http://a b/1.jpg"_s << u"x"_s << u"url"_s << 1;
}

void TestLinkRules::checkTargets()
{
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(QString, fields);
    QFETCH(int, without);
    const LinkJob job = LinkTargets::check({{}, {}, {{u"007"_s, u"R"_s, u"A"_s, url, link}}, {}});
    QStringList found;
    for (const LinkTarget& target : job.targets) {
        // The forum post goes with the image as its referer.
        const bool image = target.field == LinkField::Image;
        QCOMPARE(target, (LinkTarget{2, u"007"_s, target.field, image ? url : link, image ? link : QString()}));
        found.append(image ? u"url"_s : u"lien"_s);
    }
    QCOMPARE(found.join(u' '), fields);
    QCOMPARE(job.withoutWebAddress, without);
}

void TestLinkRules::archiveTargetsSkipFreshCopies()
{
    const QList<PuzzleEntry> plomé = {{u"001"_s, u"R"_s, u"A"_s, u"http://a/1.jpg"_s, u"http://f/1"_s},
                                      {u"002"_s, u"R"_s, u"A"_s, u"http://a/2.jpg"_s, u"http://f/2"_s},
                                      {u"003"_s, u"R"_s, u"A"_s, u"Non disponible"_s, u"http://f/3"_s}};
    const LinkJob job = LinkTargets::archive({{}, plomé, {}, {}}, {{u"001"_s}, {u"002"_s}, {}, {}});
    QCOMPARE(job.mode, LinkMode::Archive);
    QCOMPARE(job.targets, (QList<LinkTarget>{{1, u"001"_s, LinkField::Image, u"http://a/1.jpg"_s, u"http://f/1"_s}}));
    QCOMPARE(job.upToDate, 1);
    QCOMPARE(job.withoutWebAddress, 1);
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

QTEST_APPLESS_MAIN(TestLinkRules)
#include "tst_link_rules.moc"
