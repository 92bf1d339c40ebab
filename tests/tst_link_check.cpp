// The link check and the archive downloads against the loopback server: every class, hostile servers, the bounds
// on parallel requests seen from the server, the window from the menu with its cancel, and the commands.
#include "app/CommandLine.h"
#include "image/ImageSignature.h"
#include "links/LinkCheckWindow.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/CategoryTab.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using Response = LoopbackServer::Response;
const QByteArray jpeg("\xFF\xD8\xFF\xE0 a picture, as far as its first bytes tell", 44);
const QByteArray page("<html><body>Cette image n'existe plus.</body></html>");
const QString referer = u"https://sorvane.net/t/42"_s;

// The server answers `atA` at "/a"; "/r" redirects to a picture, "/loop" to itself.
struct Case {
    LinkMode mode;
    LinkField field;
    Response atA;
    QString address; ///< a path on the server, or a whole address
    LinkClass expected;
    QString reason; ///< a part of it
    QString methods;
};

} // namespace

Q_DECLARE_METATYPE(Case)

class TestLinkCheck : public QObject {
    Q_OBJECT

private slots:
    void classes_data();
    void classes();
    void windowFromTheMenu();
    void commands_data();
    void commands();
};

void TestLinkCheck::classes_data()
{
    using enum LinkMode;
    using enum LinkField;
    using enum LinkClass;
    const Response picture{.body = jpeg};
    const Response html{.body = page, .headers = {{"Content-Type", "text/html"}}};
    const Response refusesHead{.body = page, .headStatus = 405};
    const Response trickle{.padTo = 1000, .trickleMs = 100};
    const Response twoGigabytes{.body = jpeg, .padTo = 2'000'000'000};
    const Response unsized{.body = jpeg, .announceLength = false, .padTo = 2'000'000'000};
    const QString loop = u"HEAD HEAD HEAD HEAD HEAD HEAD"_s;
    QTest::addColumn<Case>("c");
    QTest::newRow("HEAD refused") << Case{Check, Post, refusesHead, u"/a"_s, Ok, {}, u"HEAD GET"_s};
    QTest::newRow("spaces and accents") << Case{Check, Image, picture, u"/mon été.jpg"_s, Ok, {}, u"GET"_s};
    QTest::newRow("redirected") << Case{Check, Image, picture, u"/r"_s, Redirected, {}, u"GET GET"_s};
    QTest::newRow("404") << Case{Check, Image, picture, u"/absent"_s, NotFound, u"introuvable (HTTP 404)"_s, u"GET"_s};
    QTest::newRow("410") << Case{Check, Post, {.status = 410}, u"/a"_s, NotFound, u"HTTP 410"_s, u"HEAD"_s};
    QTest::newRow("500") << Case{Check, Post, {.status = 500}, u"/a"_s, Error, u"du serveur (HTTP 500)"_s, u"HEAD"_s};
    QTest::newRow("403") << Case{Check, Post, {.status = 403}, u"/a"_s, Error, u"accès refusé (HTTP 403)"_s, u"HEAD"_s};
    QTest::newRow("300, no target") << Case{Check, Post, {.status = 300}, u"/a"_s, Error, u"HTTP 300"_s, u"HEAD"_s};
    QTest::newRow("never answers") << Case{Check, Image, {.silent = true}, u"/a"_s, Error, u"en 1,5 s"_s, u"GET"_s};
    QTest::newRow("trickles") << Case{Check, Image, trickle, u"/a"_s, Error, u"en 1,5 s"_s, u"GET"_s};
    QTest::newRow("redirect loop") << Case{Check, Post, picture, u"/loop"_s, Error, u"plus de 5 redirections"_s, loop};
    QTest::newRow("page for an image") << Case{Check, Image, html, u"/a"_s, NotAnImage, u"text/html"_s, u"GET"_s};
    QTest::newRow("2 GB, first bytes") << Case{Check, Image, twoGigabytes, u"/a"_s, Ok, {}, u"GET"_s};
    QTest::newRow("malformed") << Case{Check, Image, picture, u"http://exa mple/"_s, Error, u"mal formée"_s, {}};
    QTest::newRow("server gone") << Case{Check, Post, picture, LoopbackServer().url("/"), Error, u"refused"_s, {}};
    QTest::newRow("archive") << Case{Archive, Image, picture, u"/a"_s, Ok, {}, u"GET"_s};
    QTest::newRow("archive, 2 GB") << Case{Archive, Image, twoGigabytes, u"/a"_s, Error, u"1000000 octets"_s, u"GET"_s};
    QTest::newRow("archive, no length") << Case{Archive, Image, unsized, u"/a"_s, Error, u"1000000 octets"_s, u"GET"_s};
}

void TestLinkCheck::classes()
{
    QFETCH(Case, c);
    LoopbackServer server;
    server.serve("/a", c.atA);
    server.serveBody("/mon%20%C3%A9t%C3%A9.jpg", jpeg);
    server.redirect("/r", "/mon%20%C3%A9t%C3%A9.jpg");
    server.serve("/loop", {303, {}, {{"Location", server.url("/loop").toLatin1()}}}); // 303: "See Other"
    const QString address = c.address.startsWith(u'/') ? server.url({}) + c.address : c.address;
    QNetworkAccessManager network;
    LinkRun run(network, {8, 2, {1500, 1'000'000, &ImageSignature::isAccepted}});
    QSignalSpy results(&run, &LinkRun::resultReady);
    run.start({c.mode, {{0, u"042"_s, c.field, address, referer}}, 0, 0});
    QTRY_VERIFY_WITH_TIMEOUT(!run.isRunning(), 5000);

    QCOMPARE(results.size(), 1);
    const auto [linkClass, reason, finalAddress] = results.first().first().value<LinkResult>().verdict;
    QCOMPARE(linkClass, c.expected);
    QVERIFY2(c.reason.isEmpty() ? reason.isEmpty() : reason.contains(c.reason), qPrintable(reason));
    QStringList seen;
    for (const LoopbackServer::Request& request : server.requests) {
        seen.append(QString::fromLatin1(request.method));
        QCOMPARE(request.headers.value("referer"), c.field == LinkField::Image ? referer.toUtf8() : QByteArray());
        const bool firstBytes = c.mode == LinkMode::Check && request.method == "GET";
        QCOMPARE(request.headers.value("range"), firstBytes ? "bytes=0-31"_ba : QByteArray());
    }
    QCOMPARE(seen.join(u' '), c.methods);
    QTRY_COMPARE(server.inFlight(), 0); // nothing more is read, however much the server has to send
}

void TestLinkCheck::windowFromTheMenu()
{
    // Twelve addresses on five hosts never answer: eight of them are asked at once, at most two to a host, while
    // the three others (on two more hosts, started first) end; then the cancel stops those eight at once.
    Fixture fixture;
    LoopbackServer server;
    server.serveBody("/1.jpg", jpeg);
    server.serveBody("/t/1", page);
    server.redirect("/t/2", "/t/1");
    server.serve("/", {.silent = true});
    const QByteArray long2 = "/images/de/la/serie/drave/en/grand/002.jpg";
    const PuzzleEntry plomé{u"001"_s, u"Lyon"_s, u"Max"_s, u"Non disponible"_s, server.url("/t/2")};
    fixture.insert(Category::dravé(), {{u"001"_s, u"Mer"_s, u"Léa"_s, server.hostUrl(6, "/1.jpg"), u"Non disponible"_s},
                                       {u"002"_s, u"Nid"_s, u"Léa"_s, server.url(long2), u"Non disponible"_s}});
    fixture.insert(Category::plomé(), {plomé});
    QList<PuzzleEntry> silent;
    for (int n = 0; n < 6; ++n) {
        silent.append(
            {u"00%1"_s.arg(n), u"A"_s, u"B"_s, server.hostUrl(1 + n % 5, "/"), server.hostUrl(5 - n % 5, "/")});
    }
    fixture.insert(Category::vantorel(), silent);
    auto window = fixture.openWindow();
    QVERIFY(window);

    window->findChild<QAction*>(u"action_liens"_s)->trigger();
    auto* links = window->findChild<LinkCheckWindow*>();
    QVERIFY(links && links->isVisible());
    QSignalSpy ended(links, &LinkCheckWindow::runEnded);
    QTRY_COMPARE(child<QProgressBar>(links, u"barre_liens"_s)->value(), 3);
    QTRY_COMPARE(server.inFlight(), 8);
    child<QPushButton>(links, u"bt_annuler"_s)->click();
    QCOMPARE(QList<QVariantList>(ended), QList<QVariantList>{{true}});
    QCOMPARE(child<QLabel>(links, u"lbl_liens"_s)->text(),
             u"Annulé après 3 / 15 adresses. 3 adresses web vérifiées : ok 1, redirigé 1, introuvable 1, erreur 0, "
             "pas une image 0. Sans adresse web : 3.\nDouble-cliquez sur une ligne pour ouvrir l'entrée."_s);
    QTRY_COMPARE_WITH_TIMEOUT(server.inFlight(), 0, 1000);
    QCOMPARE(std::pair(server.maxInFlight, server.maxInFlightOnOneHost), std::pair(8, 2));
    QVERIFY(!child<QPushButton>(links, u"bt_annuler"_s)->isEnabled());

    // The list exported through the save dialog, in the table's order: by series.
    const QString exported = fixture.folder().path() + u"/liste.csv"_s;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        dialog->selectFile(exported);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which takes the chosen name
    });
    child<QPushButton>(links, u"bt_exporter"_s)->click();
    QCOMPARE(fileBytes(exported),
             "\xEF\xBB\xBF" +
                 u"Série,N°,Lien,Adresse,Résultat,Détail,Adresse finale\r\nDravé,002,Lien image,%1%2,"
                 "introuvable,introuvable (HTTP 404),\r\nPlomé,001,Lien Sorvane,%1/t/2,redirigé,,%1/t/1\r\n"_s
                     .arg(server.url({}), QString::fromLatin1(long2))
                     .toUtf8());

    // A double click on the Plomé row shows its entry.
    auto* table = child<QTableView>(links, u"liste_liens"_s);
    // The addresses are not cut.
    QVERIFY(table->columnWidth(3) >
            table->fontMetrics().horizontalAdvance(table->model()->index(0, 3).data().toString()));
    const QPoint plomeRow = table->visualRect(table->model()->index(1, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, plomeRow);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, plomeRow);
    CategoryTab* tab = window->categoryTab(Category::plomé());
    QCOMPARE(window->tabs()->currentWidget(), tab);
    QCOMPARE(tab->panel(), plomé);
    QVERIFY(fixture.messenger.shown.isEmpty());
}

void TestLinkCheck::commands_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<int>("status");
    QTest::newRow("check, all ok") << QStringList{u"--check-links"_s} << false << 0;
    QTest::newRow("check, two folders") << QStringList{u"--check-links"_s, u"autre"_s} << false << 2;
    QTest::newRow("archive, all kept") << QStringList{u"--archive-images"_s} << false << 0;
    QTest::newRow("archive, one not kept") << QStringList{u"--archive-images"_s} << true << 1;
}

void TestLinkCheck::commands()
{
    QFETCH(QStringList, options);
    QFETCH(bool, broken);
    QFETCH(int, status);
    Fixture fixture;
    LoopbackServer server;
    server.serveBody("/1.jpg", jpeg);
    server.serveBody("/t/1", page);
    const QString second = server.url(broken ? "/2.jpg" : "/1.jpg");
    fixture.insert(Category::tusqué(), {{u"001"_s, u"A"_s, u"B"_s, server.url("/1.jpg"), server.url("/t/1")},
                                        {u"002"_s, u"A"_s, u"B"_s, second, server.url("/t/1")}});
    const QStringList arguments = QStringList{u"mezor"_s, fixture.folder().path()} + options;

    QCOMPARE(CommandLine::run(arguments), status);
    if (options.first() == u"--archive-images") {
        // Nothing of the failed one; a second run finds every kept copy fresh.
        QCOMPARE(QDir(fixture.folder().images() + u"/tusqué"_s).entryList(QDir::Files),
                 (QStringList{u"001.jpg"_s, u"002.jpg"_s}.mid(0, broken ? 1 : 2)));
        const qsizetype requests = server.requests.size();
        QCOMPARE(CommandLine::run(arguments), status);
        QCOMPARE(server.requests.size(), requests + (broken ? 1 : 0));
    }
}

QTEST_MAIN(TestLinkCheck)
#include "tst_link_check.moc"
