// The link check and the archive downloads against the loopback server: every class, hostile servers, the bounds
// on parallel requests seen from the server, cancel, the window from the menu and the commands' exit statuses.
#include "app/CommandLine.h"
#include "image/ImageSignature.h"
#include "links/LinkCheckWindow.h"
#include "links/LinkRun.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "transfer/Csv.h"
#include "ui/CategoryTab.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Response = LoopbackServer::Response;
const QByteArray jpeg("\xFF\xD8\xFF\xE0 a picture, as far as its first bytes tell", 44);
const QByteArray page("<html><body>Cette image n'existe plus.</body></html>");
const QString referer = u"https://sorvane.net/t/42"_s;

LinkRun::Settings shortBounds()
{
    LinkRun::Settings settings;
    settings.limits = {1500, 1'000'000, &ImageSignature::isAccepted};
    return settings;
}

Response answer(const QByteArray& body, qint64 padTo = 0, bool announce = true)
{
    Response response{200, body, {{"Content-Type", body == page ? "text/html" : "image/jpeg"}}, announce};
    response.padTo = padTo;
    return response;
}

void row(const char* name, LinkMode mode, LinkField field, const Response& atA, const QString& address,
         LinkClass expected, const QString& reason, const QString& methods)
{
    QTest::newRow(name) << mode << field << atA << address << expected << reason << methods;
}

} // namespace

Q_DECLARE_METATYPE(LoopbackServer::Response)

class TestLinkCheck : public QObject {
    Q_OBJECT

private slots:
    void classes_data();
    void classes();
    void boundsSeenFromTheServer();
    void cancelStopsEveryRequestThenExport();
    void windowFromTheMenu();
    void commands_data();
    void commands();
};

void TestLinkCheck::classes_data()
{
    // The server answers `atA` at "/a"; "/r" redirects to a picture, "/l1" and "/l2" to each other.
    QTest::addColumn<LinkMode>("mode");
    QTest::addColumn<LinkField>("field");
    QTest::addColumn<Response>("atA");
    QTest::addColumn<QString>("address");
    QTest::addColumn<LinkClass>("expected");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("methods");
    const auto check = LinkMode::Check;
    const auto image = LinkField::Image;
    const auto post = LinkField::Post;
    const Response picture = answer(jpeg);
    Response refusesHead = answer(page);
    refusesHead.headStatus = 405;
    Response trickle = picture;
    trickle.trickleMs = 100;
    const Response silent{200, {}, {}, true, true};
    const qint64 twoGigabytes = 2'000'000'000;
    row("image, first bytes", check, image, picture, u"/a"_s, LinkClass::Ok, {}, u"GET"_s);
    row("post, HEAD", check, post, answer(page), u"/a"_s, LinkClass::Ok, {}, u"HEAD"_s);
    row("HEAD refused", check, post, refusesHead, u"/a"_s, LinkClass::Ok, {}, u"HEAD GET"_s);
    row("redirected", check, image, picture, u"/r"_s, LinkClass::Redirected, {}, u"GET GET"_s);
    row("404", check, image, picture, u"/absent"_s, LinkClass::NotFound, u"HTTP 404"_s, u"GET"_s);
    row("never answers", check, image, silent, u"/a"_s, LinkClass::Error, u"pas de réponse complète en 1,5 s"_s,
        u"GET"_s);
    row("trickles", check, post, trickle, u"/a"_s, LinkClass::Error, u"pas de réponse complète"_s, u"HEAD"_s);
    row("redirect loop", check, post, picture, u"/l1"_s, LinkClass::Error, u"plus de 5 redirections"_s,
        u"HEAD HEAD HEAD HEAD HEAD HEAD"_s);
    row("page for an image", check, image, answer(page), u"/a"_s, LinkClass::NotAnImage, u"text/html"_s, u"GET"_s);
    row("2 GB, range ignored", check, image, answer(jpeg, twoGigabytes), u"/a"_s, LinkClass::Ok, {}, u"GET"_s);
    row("spaces and accents", check, image, picture, u"/mon été.jpg"_s, LinkClass::Ok, {}, u"GET"_s);
    row("malformed", check, image, picture, u"http://exa mple/a.jpg"_s, LinkClass::Error, u"mal formée"_s, {});
    row("server gone", check, post, picture, u"gone"_s, LinkClass::Error, u"refused"_s, {});
    const auto archive = LinkMode::Archive;
    row("archive, whole image", archive, image, picture, u"/a"_s, LinkClass::Ok, {}, u"GET"_s);
    row("archive, 2 GB announced", archive, image, answer(jpeg, twoGigabytes), u"/a"_s, LinkClass::Error,
        u"dépasse 1000000 octets"_s, u"GET"_s);
    row("archive, 2 GB unannounced", archive, image, answer(jpeg, twoGigabytes, false), u"/a"_s, LinkClass::Error,
        u"dépasse 1000000 octets"_s, u"GET"_s);
}

void TestLinkCheck::classes()
{
    QFETCH(LinkMode, mode);
    QFETCH(LinkField, field);
    QFETCH(Response, atA);
    QFETCH(QString, address);
    QFETCH(LinkClass, expected);
    QFETCH(QString, reason);
    QFETCH(QString, methods);
    LoopbackServer server;
    server.serve("/a", atA);
    server.serve("/b", answer(jpeg));
    server.serve("/mon%20%C3%A9t%C3%A9.jpg", answer(jpeg));
    server.redirect("/r", "/b");
    server.redirect("/l1", "/l2");
    server.redirect("/l2", "/l1");
    QTcpServer gone;
    gone.listen(QHostAddress::LocalHost);
    gone.close();
    if (address.startsWith(u'/')) {
        address.prepend(server.url({}));
    } else if (address == u"gone") {
        address = u"http://127.0.0.1:%1/"_s.arg(gone.serverPort());
    }
    QNetworkAccessManager network;
    LinkRun run(network, shortBounds());
    QList<LinkResult> results;
    connect(&run, &LinkRun::resultReady, this, [&](const LinkResult& result) { results.append(result); });
    QByteArray kept;
    run.start({mode, {{0, u"042"_s, field, address, referer}}, 0, 0}, [&](const LinkTarget&, const QByteArray& bytes) {
        kept = bytes;
        return QString();
    });
    QTRY_VERIFY_WITH_TIMEOUT(!run.isRunning(), 5000);

    QCOMPARE(results.size(), 1);
    const LinkVerdict& verdict = results.first().verdict;
    QCOMPARE(verdict.linkClass, expected);
    QVERIFY2(reason.isEmpty() ? verdict.reason.isEmpty() : verdict.reason.contains(reason), qPrintable(verdict.reason));
    QStringList seen;
    for (const LoopbackServer::Request& request : server.requests) {
        seen.append(QString::fromLatin1(request.method));
        QCOMPARE(request.headers.value("referer"), field == LinkField::Image ? referer.toUtf8() : QByteArray());
        const bool firstBytes = mode == LinkMode::Check && request.method == "GET";
        QCOMPARE(request.headers.value("range"), firstBytes ? "bytes=0-31"_ba : QByteArray());
    }
    QCOMPARE(seen.join(u' '), methods);
    QCOMPARE(kept, mode == LinkMode::Archive && expected == LinkClass::Ok ? jpeg : QByteArray());
    QVERIFY2(server.bytesSent < 16'000'000, qPrintable(QString::number(server.bytesSent))); // stopped early
}

void TestLinkCheck::boundsSeenFromTheServer()
{
    // Six hosts of three slow addresses each: twelve requests could start, eight may.
    LoopbackServer server;
    auto slow = answer(page);
    slow.delayMs = 300;
    server.serve("/t", slow);
    LinkJob job;
    for (int host = 0; host < 6; ++host) {
        for (int n = 0; n < 3; ++n) {
            job.targets.append({host % 4, u"%1"_s.arg(n), LinkField::Post, server.hostUrl(host, "/t"), {}});
        }
    }
    QNetworkAccessManager network;
    LinkRun run(network, shortBounds());
    run.start(job);
    QTRY_VERIFY_WITH_TIMEOUT(!run.isRunning(), 10'000);

    QCOMPARE(run.tally().count(LinkClass::Ok), 18);
    QCOMPARE(server.maxInFlight, 8);
    QCOMPARE(server.maxInFlightByHost.size(), 6);
    QCOMPARE(*std::max_element(server.maxInFlightByHost.cbegin(), server.maxInFlightByHost.cend()), 2);
}

void TestLinkCheck::cancelStopsEveryRequestThenExport()
{
    LoopbackServer server;
    server.serve("/muet", {200, {}, {}, true, true});
    LinkJob job;
    job.targets.append({1, u"007"_s, LinkField::Post, server.url("/perdu"), {}});
    for (int host = 0; host < 3; ++host) {
        job.targets.append({0, u"00%1"_s.arg(host), LinkField::Post, server.hostUrl(host, "/muet"), {}});
    }
    FakeMessenger messenger;
    QTemporaryDir dir;
    const QString exported = dir.filePath(u"liste.csv"_s);
    LinkCheckWindow window(messenger, {LinkRun::Settings{}, &Csv::file, [&](QWidget*) { return exported; }});
    window.show();
    QSignalSpy ended(&window, &LinkCheckWindow::runEnded);
    window.start(job);
    auto* table = child<QTableView>(&window, u"liste_liens"_s);
    QTRY_COMPARE(table->model()->rowCount(), 1);
    QTRY_COMPARE(server.inFlight, 3);

    child<QPushButton>(&window, u"bt_annuler"_s)->click();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.first().first().toBool(), true);
    QTRY_COMPARE_WITH_TIMEOUT(server.inFlight, 0, 1000);
    QVERIFY(!child<QPushButton>(&window, u"bt_annuler"_s)->isEnabled());
    QVERIFY(child<QLabel>(&window, u"lbl_liens"_s)->text().startsWith(u"Annulé après 1 / 4 adresses."_s));

    child<QPushButton>(&window, u"bt_exporter"_s)->click();
    QFile file(exported);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.value(0), "\xEF\xBB\xBFSérie,N°,Lien,Adresse,Résultat,Détail,Adresse finale\r"_ba);
    QCOMPARE(lines.value(1),
             (u"Plomé,007,Lien Sorvane,"_s + server.url("/perdu") + u",introuvable,HTTP 404 Not Found,\r"_s).toUtf8());
    QVERIFY(messenger.shown.isEmpty());
}

void TestLinkCheck::windowFromTheMenu()
{
    Fixture fixture;
    LoopbackServer server;
    server.serve("/1.jpg", answer(jpeg));
    server.serve("/t/1", answer(page));
    server.redirect("/t/2", "/t/1");
    const QList<PuzzleEntry> dravé{{u"001"_s, u"Mer"_s, u"Léa"_s, server.url("/1.jpg"), server.url("/t/1")},
                                   {u"002"_s, u"Nid"_s, u"Léa"_s, server.url("/2.jpg"), u"Non disponible"_s}};
    const PuzzleEntry plomé{u"001"_s, u"Lyon"_s, u"Max"_s, u"Non disponible"_s, server.url("/t/2")};
    fixture.insert(Category::dravé(), dravé);
    fixture.insert(Category::plomé(), {plomé});
    auto window = fixture.openWindow();
    QVERIFY(window);

    window->findChild<QAction*>(u"action_liens"_s)->trigger();
    auto* links = window->findChild<LinkCheckWindow*>();
    QVERIFY(links && links->isVisible());
    QTRY_VERIFY(!links->isRunning());
    auto* table = child<QTableView>(links, u"liste_liens"_s);
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(child<QLabel>(links, u"lbl_liens"_s)->text(),
             u"4 adresses web vérifiées : ok 2, redirigé 1, introuvable 1, erreur 0, pas une image 0. "
             "Sans adresse web : 2.\nDouble-cliquez sur une ligne pour ouvrir l'entrée."_s);

    // The Plomé row sorts after the Dravé one; a double click selects its entry as a row click does.
    const QModelIndex plomeRow = table->model()->index(1, 0);
    QCOMPARE(plomeRow.data().toString(), u"Plomé"_s);
    table->scrollTo(plomeRow);
    const QPoint at = table->visualRect(plomeRow).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    CategoryTab* tab = window->categoryTab(Category::plomé());
    QCOMPARE(window->tabs()->currentWidget(), tab);
    QCOMPARE(tab->panel(), plomé);
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestLinkCheck::commands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<int>("status");
    QTest::newRow("check, all ok") << u"--check-links"_s << false << QString() << 0;
    QTest::newRow("check, one not found") << u"--check-links"_s << true << QString() << 1;
    QTest::newRow("check, two folders") << u"--check-links"_s << false << u"autre"_s << 2;
    QTest::newRow("archive, all kept") << u"--archive-images"_s << false << QString() << 0;
    QTest::newRow("archive, one not kept") << u"--archive-images"_s << true << QString() << 1;
}

void TestLinkCheck::commands()
{
    QFETCH(QString, command);
    QFETCH(bool, broken);
    QFETCH(QString, extra);
    QFETCH(int, status);
    Fixture fixture;
    LoopbackServer server;
    server.serve("/1.jpg", answer(jpeg));
    server.serve("/t/1", answer(page));
    const QString second = server.url(broken ? "/2.jpg" : "/1.jpg");
    fixture.insert(Category::tusqué(), {{u"001"_s, u"A"_s, u"B"_s, server.url("/1.jpg"), server.url("/t/1")},
                                        {u"002"_s, u"A"_s, u"B"_s, second, server.url("/t/1")}});
    const QStringList arguments =
        QStringList{u"mezor"_s, command, fixture.folder().path(), extra}.mid(0, extra.isEmpty() ? 3 : 4);

    QCOMPARE(CommandLine::run(arguments), status);
    if (command == u"--archive-images" && status != 2) {
        const QString images = fixture.folder().images() + u"/tusqué/"_s;
        QVERIFY(QFile::exists(images + u"001.jpg"_s));
        QCOMPARE(QDir(images).entryList(QDir::Files).size(), broken ? 1 : 2); // nothing of the failed one
    }
}

QTEST_MAIN(TestLinkCheck)
#include "tst_link_check.moc"
