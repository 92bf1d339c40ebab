// The forum recap (lines, escaping, split into posts) and the HTML catalogue (pages checked by a real HTML5 parser,
// links, escaping, thumbnails, a second publication that writes nothing, a foreign folder, a failed write, a cancel).
#include "app/CommandLine.h"
#include "catalogue/Catalogue.h"
#include "image/ImageArchive.h"
#include "publish/BbcodeDialog.h"
#include "publish/BbcodeRecap.h"
#include "publish/PublishWindow.h"
#include "support/Files.h"
#include "support/Fixture.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace Qt::StringLiterals;
using BbcodeRecap::AnswerMode;
using BbcodeRecap::ImageMode;

namespace {

const QString post = u"https://f.org/t/1"_s;
const QString picture = u"https://i.org/1.jpg"_s;

QByteArray jpeg()
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

QStringList files(const QString& folder)
{
    QStringList found;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        found.append(QDir(folder).relativeFilePath(it.next()));
    }
    found.sort();
    return found;
}

// Three Dravé entries with hostile texts, the same author in two spellings, two authors whose names fold alike.
void fill(Fixture& fixture)
{
    fixture.insert(Category::dravé(),
                   {{u"001"_s, u"<script>alert(1)</script>"_s, u"Léa"_s, picture, post},
                    {u"002"_s, u"Mer & \"ciel\""_s, u" LÉA"_s, u"Non disponible"_s, u"javascript:alert(1)"_s},
                    {u"003"_s, u"Nid"_s, u"Zoé"_s, u"file:///etc/passwd"_s, post}});
    fixture.insert(Category::plomé(), {{u"001"_s, u"Lyon"_s, u"Zoe"_s, u"Non disponible"_s, post}});
    Catalogue catalogue(fixture.folder().database());
    ImageArchive archive(fixture.folder(), catalogue);
    QCOMPARE(archive.keep(Category::dravé(), u"001"_s, picture, jpeg()), QString());
}

} // namespace

class TestPublish : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void split_data();
    void split();
    void seriesNames();
    void site();
    void refusals_data();
    void refusals();
    void cancelFromTheWindow();
    void publishFromTheMenu();
    void recapDialog();
    void commands_data();
    void commands();
};

void TestPublish::lines_data()
{
    QTest::addColumn<PuzzleEntry>("entry");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("image");
    QTest::addColumn<QString>("line");
    const PuzzleEntry plain{u"042"_s, u"Mer"_s, u"Léa"_s, picture, post};
    const QString tail = u"Léa — [url=%1]message[/url]"_s.arg(post);
    QTest::newRow("shown, image link") << plain << 0 << 1
                                       << u"[*][b]042[/b] — Mer — %1 — [url=%2]image[/url]"_s.arg(tail, picture);
    QTest::newRow("spoiler, [img]") << plain << 1 << 2
                                    << u"[*][b]042[/b] — [spoiler]Mer[/spoiler] — %1 — [img]%2[/img]"_s.arg(tail,
                                                                                                            picture);
    QTest::newRow("answer left out") << plain << 2 << 0 << u"[*][b]042[/b] — %1"_s.arg(tail);
    QTest::newRow("markup in answers")
        << PuzzleEntry{u"042"_s, u"[b]x[/url]\n[*]"_s, u"[i]Léa"_s, picture, post} << 1 << 0
        << u"[*][b]042[/b] — [spoiler][[b][/b]b]x[[b][/b]/url] [[b][/b]*][/spoiler] — [[b][/b]i]Léa — [url=%1]message[/url]"_s
               .arg(post);
    const QString hostile[] = {u"https://i.org/a]b[/url]"_s, u"javascript:alert(1)"_s, u"https://i.org/a b"_s,
                               u"https://i.org/\"x"_s,       u"ftp://i.org/1.jpg"_s,   u"https:///nohost"_s};
    for (const QString& address : hostile) {
        QString shown = address;
        shown.replace(u"["_s, u"[[b][/b]"_s);
        QTest::addRow("address %s", qPrintable(address)) << PuzzleEntry{u"042"_s, u"Mer"_s, u"Léa"_s, address, address}
                                                         << 2 << 2 << u"[*][b]042[/b] — Léa — %1 — %1"_s.arg(shown);
    }
}

void TestPublish::lines()
{
    QFETCH(PuzzleEntry, entry);
    QFETCH(int, answer);
    QFETCH(int, image);
    QFETCH(QString, line);
    BbcodeRecap::Options options;
    options.answer = AnswerMode(answer);
    options.image = ImageMode(image);
    const auto [parts, refusal] = BbcodeRecap::build(Category::tusqué(), {entry}, options);
    QCOMPARE(parts, QStringList{u"Tusqué 042–042 (1/1)\n[list]\n%1\n[/list]\n"_s.arg(line)});
}

void TestPublish::split_data()
{
    QTest::addColumn<QString>("answer"); // of each of the 12 entries
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("headings"); // or the refusal
    // An entry line: "[*][b]001[/b] — " (16) + answer + " — Léa" (6) + "\n"; heading 20, list frame 15.
    const QString emoji = QString(20, u'é') + u"😀"_s.repeated(20); // 40 code points, 60 UTF-16 units
    QTest::newRow("one post") << u"Mer"_s << 0 << 0 << 60000 << QStringList{u"Plomé 001–012 (1/1)"_s};
    QTest::newRow("exactly full") << emoji << 0 << 0 << 20 + 15 + 12 * 63 << QStringList{u"Plomé 001–012 (1/1)"_s};
    QTest::newRow("one short") << emoji << 0 << 0 << 20 + 15 + 12 * 63 - 1
                               << QStringList{u"Plomé 001–011 (1/2)"_s, u"Plomé 012–012 (2/2)"_s};
    QTest::newRow("three a post") << emoji << 0 << 0 << 20 + 15 + 3 * 63
                                  << QStringList{u"Plomé 001–003 (1/4)"_s, u"Plomé 004–006 (2/4)"_s,
                                                 u"Plomé 007–009 (3/4)"_s, u"Plomé 010–012 (4/4)"_s};
    QTest::newRow("ten posts, wider heading")
        << u"Mer"_s << 0 << 0 << 22 + 15 + 26
        << QStringList{u"Plomé 001–001 (1/12)"_s,  u"Plomé 002–002 (2/12)"_s,  u"Plomé 003–003 (3/12)"_s,
                       u"Plomé 004–004 (4/12)"_s,  u"Plomé 005–005 (5/12)"_s,  u"Plomé 006–006 (6/12)"_s,
                       u"Plomé 007–007 (7/12)"_s,  u"Plomé 008–008 (8/12)"_s,  u"Plomé 009–009 (9/12)"_s,
                       u"Plomé 010–010 (10/12)"_s, u"Plomé 011–011 (11/12)"_s, u"Plomé 012–012 (12/12)"_s};
    QTest::newRow("range") << u"Mer"_s << 4 << 6 << 60000 << QStringList{u"Plomé 004–006 (1/1)"_s};
    QTest::newRow("range past the end") << u"Mer"_s << 11 << 99 << 60000 << QStringList{u"Plomé 011–012 (1/1)"_s};
    QTest::newRow("empty range") << u"Mer"_s << 20 << 30 << 60000
                                 << QStringList{u"Aucune entrée de Plomé entre 20 et 30."_s};
    QTest::newRow("reversed range") << u"Mer"_s << 6 << 4 << 60000
                                    << QStringList{u"Plage de numéros invalide : de 6 à 4."_s};
    QTest::newRow("entry longer than a post")
        << emoji << 0 << 0 << 20 + 15 + 62
        << QStringList{u"L'entrée N° 001 de Plomé fait à elle seule 98 caractères avec l'en-tête : elle ne tient pas "
                       "dans un message de 97 caractères. Augmentez la limite ou retirez des champs."_s};
}

void TestPublish::split()
{
    QFETCH(QString, answer);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, limit);
    QFETCH(QStringList, headings);
    QList<PuzzleEntry> entries;
    for (int n = 1; n <= 12; ++n) {
        entries.append({u"%1"_s.arg(n, 3, 10, QLatin1Char('0')), answer, u"Léa"_s, {}, {}});
    }
    BbcodeRecap::Options options{from, to, AnswerMode::Shown, true, false, ImageMode::LeftOut, limit};
    const auto [parts, refusal] = BbcodeRecap::build(Category::plomé(), entries, options);
    QStringList seen;
    QString lines;
    for (const QString& part : parts) {
        QVERIFY2(BbcodeRecap::characters(part) <= limit, qPrintable(part));
        seen.append(part.section(u'\n', 0, 0));
        QVERIFY(part.section(u'\n', 1, 1) == u"[list]" && part.endsWith(u"\n[/list]\n"));
        lines += part.section(u'\n', 2, -3) + u'\n';
    }
    QCOMPARE(refusal.isEmpty() ? seen : QStringList{refusal}, headings);
    // Every entry of the range once, whole, in order.
    QString expected;
    for (const PuzzleEntry& entry : entries) {
        if (refusal.isEmpty() && (from == 0 || entry.ref.toInt() >= from) && (to == 0 || entry.ref.toInt() <= to)) {
            expected += u"[*][b]%1[/b] — %2 — Léa\n"_s.arg(entry.ref, answer);
        }
    }
    QCOMPARE(parts.isEmpty() ? QString() : lines, expected);
}

void TestPublish::seriesNames()
{
    const QStringList names{u"drave"_s, u"PLOMÉ"_s, u" Tusqué "_s, u"VANTOREL"_s, u"titres"_s, u"drav"_s};
    QStringList found;
    for (const QString& name : names) {
        const Category* category = BbcodeRecap::seriesNamed(name);
        found.append(category ? category->caption : u"-"_s);
    }
    QCOMPARE(found, (QStringList{u"Dravé"_s, u"Plomé"_s, u"Tusqué"_s, u"Vantorel"_s, u"-"_s, u"-"_s}));
}

void TestPublish::site()
{
    Fixture fixture;
    fill(fixture);
    const QString site = fixture.folder().file(u"site");
    writeFile(site + u"/"_s + SitePublisher::markerName(), "{}"); // a publication without a register yet
    writeFile(site + u"/notes.txt"_s, "à moi");
    QCOMPARE(CommandLine::run({u"mezor"_s, fixture.folder().path(), u"--publish"_s, site}), 0);
    const QStringList written = files(site);
    const QStringList authors = written.filter(u"auteurs/"_s);
    // "Léa" and " LÉA" are one author; "Zoé" and "Zoe" two, in two files that differ by more than case.
    QCOMPARE(authors.size(), 3);
    QVERIFY(authors.filter(u"auteurs/zoe-"_s).size() == 2);
    QVERIFY(written.contains(u"vignettes/drave/001.jpg"_s) && written.contains(u"notes.txt"_s));
    QCOMPARE(written.filter(u"vignettes/"_s).size(), 1);
    QImageReader thumbnail(site + u"/vignettes/drave/001.jpg"_s);
    QCOMPARE(thumbnail.size(), QSize(160, 120));

    // Every page through a real HTML5 parser, and every link inside the folder leads to a file.
    QString python = u"/usr/bin/python3"_s;
    if (!QFileInfo::exists(python)) {
        python = QStandardPaths::findExecutable(u"python3"_s);
    }
    if (QProcess::execute(python, {u"-c"_s, u"import html5lib"_s}) != 0) {
        QSKIP("python3-html5lib is missing (scripts/setup installs it)");
    }
    const QStringList pages = written.filter(QRegularExpression(u"\\.html$"_s));
    QProcess parser;
    parser.setWorkingDirectory(site);
    parser.start(python, QStringList{u"-c"_s, u"import sys, html5lib\n"
                                              "for f in sys.argv[1:]:\n"
                                              "    p = html5lib.HTMLParser(strict=False)\n"
                                              "    p.parse(open(f, 'rb'))\n"
                                              "    for e in p.errors: print(f, e)\n"_s} +
                             pages);
    QVERIFY(parser.waitForFinished(30000));
    QCOMPARE(parser.readAllStandardOutput() + parser.readAllStandardError(), QByteArray());
    QCOMPARE(pages.size(), 8);
    static const QRegularExpression reference(u"(?:href|src)=\"([^\"]*)\""_s);
    for (const QString& page : pages) {
        const QString html = QString::fromUtf8(fileBytes(site + u'/' + page));
        QVERIFY(html.contains(u"<html lang=\"fr\">"_s) && !html.contains(u"href=\"javascript"_s));
        QVERIFY(!html.contains(u"<script>alert"_s));
        for (const QRegularExpressionMatch& match : reference.globalMatch(html)) {
            const QString target = match.captured(1).section(u'#', 0, 0);
            if (!target.startsWith(u"https://"_s)) {
                QVERIFY2(QFileInfo(QFileInfo(site + u'/' + page).dir(), target).isFile(), qPrintable(target));
            }
        }
    }
    const QString series = QString::fromUtf8(fileBytes(site + u"/drave.html"_s));
    QVERIFY(series.contains(u"<td>&lt;script&gt;alert(1)&lt;/script&gt;</td>"_s));
    QVERIFY(series.contains(u"<td>Mer &amp; &quot;ciel&quot;</td>"_s));
    QCOMPARE(series.count(u"alt=\"Image de Dravé N° 001\""_s), 1);
    QCOMPARE(series.count(u"pas d&#39;image"_s), 2);
    // The author column on a series' page, not on an author's own.
    QVERIFY(series.contains(u"<th>Nom</th><th>Auteur</th><th>Image</th>"_s));
    QVERIFY(series.contains(u"<td>Nid</td><td><a href=\"auteurs/zoe-"_s));
    const QByteArray author = fileBytes(site + u'/' + authors.first());
    QVERIFY(author.contains("<th>Nom</th><th>Image</th>") && !author.contains("<td><a href=\"../auteurs/"));

    // A second publication finds everything in place: no file is written again.
    QHash<QString, QDateTime> times;
    for (const QString& file : written) {
        QFile handle(site + u'/' + file);
        QVERIFY(handle.open(QIODevice::ReadWrite));
        QVERIFY(handle.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)), QFileDevice::FileModificationTime));
        times.insert(file, QFileInfo(handle).lastModified());
    }
    Catalogue catalogue(fixture.folder().database());
    const PublicationPlan plan = PublicationPlan::of(catalogue, fixture.folder());
    const SitePublisher::Report again = SitePublisher::publish(site, plan.series, plan.thumbnails);
    QCOMPARE(std::tuple(again.written, again.unchanged, again.kept, again.made), std::tuple(0, 8 + 2, 1, 0));
    QCOMPARE(files(site), written);
    for (const QString& file : written) {
        QCOMPARE(QFileInfo(site + u'/' + file).lastModified(), times.value(file));
    }
}

void TestPublish::refusals_data()
{
    QTest::addColumn<QString>("blocked"); // a folder standing where a file goes
    QTest::addColumn<int>("cancelAfter"); // progress steps, or -1
    QTest::addColumn<bool>("marker");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::newRow("foreign folder") << QString() << -1 << false << int(SitePublisher::Outcome::Refused)
                                    << u"n'est pas vide et ne contient pas de publication de Mézor"_s;
    QTest::newRow("page blocked") << u"plome.html"_s << -1 << true << int(SitePublisher::Outcome::Failed)
                                  << u"plome.html » n'a pas pu être écrit"_s;
    QTest::newRow("cancelled") << QString() << 1 << true << int(SitePublisher::Outcome::Cancelled)
                               << u"Publication annulée : 1 fichier(s) déjà écrit(s)"_s;
}

void TestPublish::refusals()
{
    QFETCH(QString, blocked);
    QFETCH(int, cancelAfter);
    QFETCH(bool, marker);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    Fixture fixture;
    fill(fixture);
    const QString site = fixture.folder().file(u"site");
    writeFile(site + u"/notes.txt"_s, "à moi");
    // A register from elsewhere may name files outside the folder: only this program's names are ever removed.
    writeFile(fixture.folder().file(u"garde.html"), "à moi");
    writeFile(site + u"/auteurs/ancien-0000000000.html"_s, "<p>ancien</p>");
    if (marker) {
        writeFile(site + u'/' + SitePublisher::markerName(),
                  R"({"fichiers": {"../garde.html": "", "notes.txt": "", "auteurs/ancien-0000000000.html": ""}})");
    }
    QVERIFY(blocked.isEmpty() || QDir(site).mkpath(blocked));
    Catalogue catalogue(fixture.folder().database());
    const PublicationPlan plan = PublicationPlan::of(catalogue, fixture.folder());
    int steps = 0;
    const SitePublisher::Report report =
        SitePublisher::publish(site, plan.series, plan.thumbnails,
                               {[&] { return cancelAfter >= 0 && steps >= cancelAfter; }, [&](int, int) { ++steps; }});
    QCOMPARE(int(report.outcome), outcome);
    QVERIFY2(report.message.contains(message), qPrintable(report.message));
    QCOMPARE(fileBytes(site + u"/notes.txt"_s), "à moi");
    QCOMPARE(fileBytes(fixture.folder().file(u"garde.html")), "à moi");
    QVERIFY(QFileInfo::exists(site + u"/auteurs/ancien-0000000000.html"_s)); // removed only by a whole publication
    // Whatever is there is whole, and the register names exactly this program's files that are there.
    const QStringList there = files(site);
    if (!marker) {
        QCOMPARE(there, (QStringList{u"auteurs/ancien-0000000000.html"_s, u"notes.txt"_s}));
        return;
    }
    QCOMPARE(there.filter(u".tmp"_s), QStringList());
    const QString registered = QString::fromUtf8(fileBytes(site + u'/' + SitePublisher::markerName()));
    for (const QString& file : there) {
        const bool own = file != u"notes.txt" && file != SitePublisher::markerName();
        QCOMPARE(registered.contains(u'"' + file + u'"'), own);
    }
    QCOMPARE(there.size(), 3 + report.written);
}

void TestPublish::cancelFromTheWindow()
{
    // Slow thumbnails: the cancel comes while they are being made; no page is written then.
    Fixture fixture;
    const QString site = fixture.folder().file(u"site");
    PublicationPlan plan;
    for (int n = 1; n <= 200; ++n) {
        const QString ref = u"%1"_s.arg(n, 3, 10, QLatin1Char('0'));
        plan.series[0].append({{ref, u"Mer"_s, u"Léa"_s, {}, {}}, SiteBuilder::thumbnailFile(Category::dravé(), ref)});
        plan.thumbnails.append({plan.series[0].last().thumbnail, [ref] { return ref; },
                                [] {
                                    QThread::msleep(20);
                                    return QByteArray("\xFF\xD8\xFF");
                                }});
    }
    auto* window = new PublishWindow;
    QSignalSpy ended(window, &PublishWindow::ended);
    window->start(site, plan);
    QTRY_VERIFY(child<QProgressBar>(window, u"barre_publication"_s)->value() > 0);
    child<QPushButton>(window, u"bt_annuler"_s)->click();
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(window->report().outcome, SitePublisher::Outcome::Cancelled);
    QCOMPARE(child<QLabel>(window, u"lbl_publication"_s)->text(), window->report().message);
    QVERIFY(!QFileInfo::exists(site + u"/index.html"_s));
    QCOMPARE(files(site).size(), window->report().written + 1);
    QVERIFY(window->report().written < 200);
    window->close();
}

void TestPublish::publishFromTheMenu()
{
    Fixture fixture;
    fill(fixture);
    auto window = fixture.openWindow();
    const QString site = fixture.folder().file(u"site");
    QVERIFY(QDir().mkpath(site));
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        dialog->selectFile(site);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which takes the chosen folder
    });
    window->findChild<QAction*>(u"action_publication"_s)->trigger();
    auto* publication = window->findChild<PublishWindow*>();
    QVERIFY(publication && publication->isVisible());
    QSignalSpy ended(publication, &PublishWindow::ended);
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(child<QLabel>(publication, u"lbl_publication"_s)->text(),
             u"Catalogue publié dans « %1 » : pages, 10 fichier(s) écrit(s) et 0 inchangé(s) ; vignettes, 1 faite(s), "
             "0 inchangée(s) et 0 image(s) illisible(s)."_s.arg(QDir::toNativeSeparators(site)));
    QCOMPARE(files(site).size(), 10 + 1 + 1);
}

void TestPublish::recapDialog()
{
    Fixture fixture;
    fixture.insert(Category::plomé(), Fixture::series(30));
    auto window = fixture.openWindow();
    QVERIFY(window && window->findChild<QAction*>(u"action_bbcode"_s));
    const QString saved = fixture.folder().file(u"messages");
    QString chosen = saved;
    BbcodeDialog dialog(window->catalogue(), fixture.messenger, window.get(), [&](QWidget*) { return chosen; });
    child<QComboBox>(&dialog, u"cb_serie"_s)->setCurrentIndex(1);
    child<QSpinBox>(&dialog, u"sp_du"_s)->setValue(3);
    child<QSpinBox>(&dialog, u"sp_limite"_s)->setValue(2000);
    const QStringList parts = dialog.recap().parts;
    QCOMPARE(parts.size(), 2);
    QVERIFY(parts.at(1).startsWith(u"Plomé 019–030 (2/2)\n"_s));
    child<QPushButton>(&dialog, u"bt_copier_2"_s)->click();
    QCOMPARE(QApplication::clipboard()->text(), parts.at(1));
    QVERIFY(QDir().mkpath(saved));
    child<QPushButton>(&dialog, u"bt_enregistrer"_s)->click();
    QCOMPARE(files(saved), (QStringList{u"plome-003-1.txt"_s, u"plome-003-2.txt"_s}));
    QCOMPARE(fileBytes(saved + u"/plome-003-2.txt"_s), parts.at(1).toUtf8());
    // A folder that is not there: the message says so and that nothing was saved.
    chosen = fixture.folder().file(u"absent");
    child<QPushButton>(&dialog, u"bt_enregistrer"_s)->click();
    QVERIFY2(fixture.messenger.lastText().endsWith(u"Fichiers déjà enregistrés : 0."_s),
             qPrintable(fixture.messenger.lastText()));
}

void TestPublish::commands_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::newRow("recap") << QStringList{u"--bbcode"_s, u"plome"_s, u"--to"_s, u"1"_s} << 0;
    QTest::newRow("unknown series") << QStringList{u"--bbcode"_s, u"titres"_s} << 2;
    QTest::newRow("limit not a number") << QStringList{u"--bbcode"_s, u"drave"_s, u"--limit"_s, u"6e4"_s} << 2;
    QTest::newRow("limit too small") << QStringList{u"--bbcode"_s, u"drave"_s, u"--limit"_s, u"50"_s} << 1;
    QTest::newRow("from with export") << QStringList{u"--export"_s, u"x"_s, u"--from"_s, u"2"_s} << 2;
    QTest::newRow("publish into a file") << QStringList{u"--publish"_s, u"Mézor.db"_s} << 1;
}

void TestPublish::commands()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    Fixture fixture;
    fill(fixture);
    const QByteArray before = fileBytes(fixture.folder().database());
    QDir::setCurrent(fixture.folder().path());
    QCOMPARE(CommandLine::run(QStringList{u"mezor"_s, fixture.folder().path()} + options), status);
    QCOMPARE(fileBytes(fixture.folder().database()), before);
}

QTEST_MAIN(TestPublish)
#include "tst_publish.moc"
