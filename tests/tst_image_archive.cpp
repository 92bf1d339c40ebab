// The archive of the pictures shown: the file and its record written together or not at all, and the image window
// that keeps, reuses and falls back on a copy, in an older catalogue brought up to date at start.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "image/ImageArchive.h"
#include "image/ImageWindow.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QByteArray picture(QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

} // namespace

class TestImageArchive : public QObject {
    Q_OBJECT

private slots:
    void failedKeepLeavesNothingNew_data();
    void failedKeepLeavesNothingNew();
    void storedNamesAreUntrusted();
    void windowKeepsReusesAndFallsBack();
};

void TestImageArchive::failedKeepLeavesNothingNew_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("hadCopy"); // an older copy of the same name is there
#ifdef Q_OS_UNIX
    QTest::newRow("disk full") << u"disk"_s << u"n'a pas pu être gardée"_s << true;
#endif
    QTest::newRow("folder blocked") << u"folder"_s << u"ne peut pas être créé"_s << false;
    QTest::newRow("catalogue refuses") << u"catalogue"_s << u"rien n'a été modifié"_s << true;
    QTest::newRow("catalogue refuses a first copy") << u"catalogue"_s << u"rien n'a été modifié"_s << false;
    QTest::newRow("catalogue read-only") << u"read-only"_s << u"en lecture seule"_s << true;
    QTest::newRow("catalogue held by another program") << u"held"_s << u"verrouillé"_s << true;
}

void TestImageArchive::failedKeepLeavesNothingNew()
{
    QFETCH(QString, breakage);
    QFETCH(QString, reason);
    QFETCH(bool, hadCopy);
    Fixture fixture;
    const QString path = fixture.folder().database();
    Catalogue writer(path);
    Catalogue catalogue(path, breakage == u"read-only" ? Catalogue::Access::ReadOnly : Catalogue::Access::ReadWrite);
    ImageArchive archive(fixture.folder(), catalogue);
    const Category& dravé = Category::dravé();
    const QString folder = fixture.folder().images() + u"/dravé"_s;
    // The older copy has the name the new one takes: it must survive whatever fails.
    const QByteArray older = picture({40, 20}, "JPEG");
    const ArchiveRecord old{u"042"_s, u"http://a/old.jpg"_s, u"042.jpg"_s,
                            QDateTime(QDate(2025, 3, 3), QTime(14, 2), Qt::UTC)};
    if (hadCopy) {
        QCOMPARE(ImageArchive(fixture.folder(), writer).keep(dravé, old.ref, old.address, older, old.taken), QString());
    } else if (breakage == u"folder") {
        writeFile(folder, {}); // a file where the folder goes
    }
    if (breakage == u"catalogue") {
        QVERIFY(QSqlQuery(catalogue.database()).exec(u"PRAGMA query_only = ON"_s));
    } else if (breakage == u"held") {
        QVERIFY(QSqlQuery(writer.database()).exec(u"BEGIN IMMEDIATE"_s));
    }
#ifdef Q_OS_UNIX
    // A full disk: writes beyond 4 kB fail, and do not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const rlimit limit{breakage == u"disk" ? 4096 : before.rlim_cur, before.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &before); });
#endif
    const QByteArray large = "\xFF\xD8\xFF" + QByteArray(100'000, 'x'); // a JPEG as far as its signature goes
    const QString failure = archive.keep(dravé, u"042"_s, u"http://a/new.jpg"_s, large);
    QSqlQuery(writer.database()).exec(u"ROLLBACK"_s);

    QVERIFY2(failure.contains(reason), qPrintable(failure));
    // The copy there before, if any, and its record as it was written.
    QCOMPARE(catalogue.archiveRecord(dravé, u"042"_s), hadCopy ? std::optional(old) : std::nullopt);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), hadCopy ? QStringList{u"042.jpg"_s} : QStringList());
    QVERIFY(!hadCopy || fileBytes(folder + u"/042.jpg"_s) == older);
}

void TestImageArchive::storedNamesAreUntrusted()
{
    // A catalogue may come from someone else: only a name the archive could have made is followed, never one that
    // leads elsewhere, hides, or that Windows reads as a device or cuts.
    for (const QString& name : {u"../../../victim.txt"_s, u"sub/../x.png"_s, u"..\\x.png"_s, u"C:x.png"_s, u"/x.png"_s,
                                u".x.png"_s, u"NUL.png"_s, u"com1"_s, u"x.png."_s, u"x.png\n"_s, u"x*.png"_s, QString()}) {
        QVERIFY2(!CatalogueFolder::isPlainName(name), qPrintable(name));
    }
    QVERIFY(CatalogueFolder::isPlainName(u"_%2F042~a-b.png"_s));
    // Such a name is never opened, and never removed when the copy is replaced.
    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    ImageArchive archive(fixture.folder(), catalogue);
    const QString victim = fixture.folder().file(u"victim.txt");
    writeFile(victim, "victim");
    catalogue.recordArchive(Category::dravé(), {u"042"_s, u"http://a/1.png"_s, u"../../victim.txt"_s, {}});
    QVERIFY(!archive.copyOf(Category::dravé(), u"042"_s, u"http://a/1.png"_s));
    QVERIFY(archive.freshNumbers(Category::dravé(), {{u"042"_s, u"a"_s, u"b"_s, u"http://a/1.png"_s, {}}}).isEmpty());
    QCOMPARE(archive.keep(Category::dravé(), u"042"_s, u"http://a/2.jpg"_s, picture({4, 4}, "JPEG")), QString());
    QVERIFY(QFileInfo::exists(victim));
}

void TestImageArchive::windowKeepsReusesAndFallsBack()
{
    // A catalogue from before the archive: brought up to date at start, after its backup.
    Fixture fixture;
    fixture.sql(u"DROP TABLE images"_s);
    fixture.sql(u"PRAGMA user_version = 0"_s);
    auto server = std::make_unique<LoopbackServer>();
    const QByteArray wide = picture({800, 600}, "JPEG");
    server->serveBody("/1.jpg", wide);
    server->serveBody("/1b.png", picture({300, 600}, "PNG"));
    PuzzleEntry entry = Fixture::series(1).first();
    entry.url = server->url("/1.jpg");
    fixture.insert(Category::dravé(), {entry});
    auto window = fixture.openShown();
    QVERIFY(window);
    QCOMPARE(window->catalogue().fileSchemaVersion(), Catalogue::schemaVersion);
    const QStringList copies = CatalogueBackup(fixture.folder().backups()).copies(window->catalogue());
    QCOMPARE(std::pair(copies.size(), Catalogue(copies.value(0)).fileSchemaVersion()), std::pair(qsizetype(1), 0));

    CategoryTab* tab = window->categoryTab(Category::dravé());
    child<QCheckBox>(window.get(), u"chk_img_dravé"_s)->setChecked(true);
    auto display = [&]() -> ImageWindow* {
        delete window->findChild<ImageWindow*>();
        const QRect cell = tab->grid()->visualRect(tab->model()->index(0, 1));
        QTest::mouseClick(tab->grid()->viewport(), Qt::LeftButton, {}, cell.center());
        return window->findChild<ImageWindow*>();
    };
    auto shown = [](ImageWindow* image) { return child<QLabel>(image, u"Picture1"_s)->pixmap().size(); };
    const QString kept = fixture.folder().images() + u"/dravé/"_s;

    // Downloaded, converted, shown: the original is kept.
    ImageWindow* image = display();
    QTRY_COMPARE_WITH_TIMEOUT(shown(image), QSize(533, 400), 5000);
    QCOMPARE(fileBytes(kept + u"001.jpg"_s), wide);

    // Shown again from the copy, at once and without a request.
    image = display();
    QCOMPARE(shown(image), QSize(533, 400));
    QCOMPARE(server->requests.size(), 1);

    // An update of the address makes the copy stale: downloaded again, and the new original replaces the old.
    tab->setPanel({entry.ref, entry.answer, entry.author, server->url("/1b.png"), entry.link});
    child<QPushButton>(window.get(), u"bt_maj_dravé"_s)->click();
    image = display();
    QTRY_COMPARE_WITH_TIMEOUT(shown(image), QSize(200, 400), 5000);
    QCOMPARE(server->requests.size(), 2);
    QCOMPARE(QDir(kept).entryList(QDir::Files | QDir::Hidden), QStringList{u"001.png"_s});
    QCOMPARE(window->catalogue().archiveRecord(Category::dravé(), u"001"_s)->address, server->url("/1b.png"));

    // Another address, and the server is gone: the stale copy stands in, and says so.
    tab->setPanel({entry.ref, entry.answer, entry.author, server->url("/1c.png"), entry.link});
    child<QPushButton>(window.get(), u"bt_maj_dravé"_s)->click();
    server.reset();
    image = display();
    QTRY_VERIFY_WITH_TIMEOUT(image->status().startsWith(u"Copie locale du "_s), 5000);
    QCOMPARE(shown(image), QSize(200, 400));
    QCOMPARE(QDir(kept).entryList(QDir::Files | QDir::Hidden), QStringList{u"001.png"_s});
    QVERIFY(fixture.messenger.shown.isEmpty());
}

QTEST_MAIN(TestImageArchive)
#include "tst_image_archive.moc"
