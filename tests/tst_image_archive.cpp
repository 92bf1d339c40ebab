// The archive of the pictures shown: the schema upgrade that brings its records, the file and record written
// together or not at all, and the image window that keeps, reuses and falls back on a copy.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueBackup.h"
#include "image/ImageArchive.h"
#include "image/ImageWindow.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/CategoryTab.h"
#include "ui/GridModel.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
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
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// Writes larger than `bytes` fail in this process, as on a full disk, while it lives.
struct FileSizeLimit {
#ifdef Q_OS_UNIX
    rlimit before{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit limit = before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &before);
    }
#else
    explicit FileSizeLimit(int)
    {
        QSKIP("no file size limit on this system");
    }
#endif
};

} // namespace

class TestImageArchive : public QObject {
    Q_OBJECT

private slots:
    void schemaUpgrade_data();
    void schemaUpgrade();
    void failedKeepLeavesNothingNew_data();
    void failedKeepLeavesNothingNew();
    void windowKeepsReusesAndFallsBack();
};

void TestImageArchive::schemaUpgrade_data()
{
    QTest::addColumn<bool>("older");
    QTest::newRow("new catalogue") << false;
    QTest::newRow("older catalogue") << true;
}

void TestImageArchive::schemaUpgrade()
{
    QFETCH(bool, older);
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(2));
    if (older) {
        fixture.sql(u"DROP TABLE images"_s);
        fixture.sql(u"PRAGMA user_version = 0"_s);
    }
    auto window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(fixture.messenger.shown.isEmpty());
    Catalogue& catalogue = window->catalogue();
    QCOMPARE(catalogue.fileSchemaVersion(), Catalogue::schemaVersion);
    const ArchiveRecord record{u"002"_s, u"http://a/2.jpg"_s, u"002.jpg"_s,
                               QDateTime(QDate(2025, 3, 3), QTime(14, 2), Qt::UTC)};
    catalogue.recordArchive(Category::dravé(), record);
    QCOMPARE(catalogue.archiveRecord(Category::dravé(), u"002"_s), record);
    QCOMPARE(catalogue.entries(Category::dravé(), EntryOrder::ByNumber), Fixture::series(2));

    // The upgrade was the run's first write: the copy before it is the file as it was.
    const QStringList copies = CatalogueBackup(fixture.folder().backups()).copies(catalogue);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(Catalogue(copies.first()).fileSchemaVersion(), older ? 0 : Catalogue::schemaVersion);
}

void TestImageArchive::failedKeepLeavesNothingNew_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<bool>("hadCopy");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << u"disk"_s << true << u"n'a pas pu être gardée"_s;
    QTest::newRow("folder blocked") << u"folder"_s << false << u"ne peut pas être créé"_s;
    QTest::newRow("catalogue refuses") << u"catalogue"_s << false << u"rien n'a été modifié"_s;
    QTest::newRow("catalogue refuses a replacement") << u"catalogue"_s << true << u"rien n'a été modifié"_s;
}

void TestImageArchive::failedKeepLeavesNothingNew()
{
    QFETCH(QString, breakage);
    QFETCH(bool, hadCopy);
    QFETCH(QString, reason);
    Fixture fixture;
    Catalogue catalogue(fixture.folder().database());
    ImageArchive archive(fixture.folder(), catalogue);
    const Category& dravé = Category::dravé();
    const QString folder = fixture.folder().images() + u"/dravé"_s;
    if (hadCopy) {
        QCOMPARE(archive.keep(dravé, u"042"_s, u"http://a/old.png"_s, picture({40, 20}, "PNG")), QString());
    }
    const std::optional<ArchiveRecord> before = catalogue.archiveRecord(dravé, u"042"_s);
    const QStringList filesBefore = filesIn(folder);

    std::optional<FileSizeLimit> limit;
    if (breakage == u"disk") {
        limit.emplace(4096);
    } else if (breakage == u"folder") {
        QVERIFY(QDir().mkpath(fixture.folder().images()));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QSqlQuery(catalogue.database()).exec(u"PRAGMA query_only = ON"_s));
    }
    const QByteArray large = "\xFF\xD8\xFF" + QByteArray(100'000, 'x'); // a JPEG as far as its signature goes
    const QString failure = archive.keep(dravé, u"042"_s, u"http://a/new.jpg"_s, large);
    limit.reset();

    QVERIFY2(failure.contains(reason), qPrintable(failure));
    QCOMPARE(catalogue.archiveRecord(dravé, u"042"_s), before);
    QCOMPARE(filesIn(folder), filesBefore);
}

void TestImageArchive::windowKeepsReusesAndFallsBack()
{
    Fixture fixture;
    auto server = std::make_unique<LoopbackServer>();
    const QByteArray wide = picture({800, 600}, "JPEG");
    const QByteArray tall = picture({300, 600}, "PNG");
    server->serveBody("/1.jpg", wide);
    server->serveBody("/1b.png", tall);
    QList<PuzzleEntry> entries = Fixture::series(1);
    entries[0].url = server->url("/1.jpg");
    fixture.insert(Category::dravé(), entries);
    auto window = fixture.openWindow();
    QVERIFY(window);
    window->show();
    CategoryTab* tab = window->categoryTab(Category::dravé());
    child<QCheckBox>(window.get(), u"chk_img_dravé"_s)->setChecked(true);
    auto display = [&]() -> ImageWindow* {
        if (auto* open = window->findChild<ImageWindow*>()) {
            delete open;
        }
        const QRect cell = tab->grid()->visualRect(tab->model()->index(0, 1));
        QTest::mouseClick(tab->grid()->viewport(), Qt::LeftButton, {}, cell.center());
        return window->findChild<ImageWindow*>();
    };
    auto shown = [](ImageWindow* image) { return child<QLabel>(image, u"Picture1"_s)->pixmap().size(); };
    const QString kept = fixture.folder().images() + u"/dravé/"_s;

    // Downloaded, converted, shown: the original is kept with its address.
    ImageWindow* image = display();
    QTRY_COMPARE_WITH_TIMEOUT(shown(image), QSize(533, 400), 10'000);
    QCOMPARE(image->status(), QString());
    QCOMPARE(server->requests.size(), 1);
    QFile copy(kept + u"001.jpg"_s);
    QVERIFY(copy.open(QIODevice::ReadOnly) && copy.readAll() == wide);

    // Shown again from the copy, at once and without a request.
    image = display();
    QCOMPARE(shown(image), QSize(533, 400));
    QCOMPARE(server->requests.size(), 1);

    // An update of the address makes the copy stale: downloaded again, and the new original replaces the old.
    tab->setPanel({u"001"_s, entries[0].answer, entries[0].author, server->url("/1b.png"), entries[0].link});
    child<QPushButton>(window.get(), u"bt_maj_dravé"_s)->click();
    image = display();
    QTRY_COMPARE_WITH_TIMEOUT(shown(image), QSize(200, 400), 10'000);
    QCOMPARE(server->requests.size(), 2);
    QCOMPARE(filesIn(kept), QStringList{u"001.png"_s});
    QCOMPARE(window->catalogue().archiveRecord(Category::dravé(), u"001"_s)->address, server->url("/1b.png"));

    // Another address, and the server is gone: the stale copy stands in, and says so.
    tab->setPanel({u"001"_s, entries[0].answer, entries[0].author, server->url("/1c.png"), entries[0].link});
    child<QPushButton>(window.get(), u"bt_maj_dravé"_s)->click();
    server.reset();
    image = display();
    QTRY_VERIFY_WITH_TIMEOUT(image->status().startsWith(u"Copie locale du "_s), 10'000);
    QCOMPARE(shown(image), QSize(200, 400));
    QCOMPARE(filesIn(kept), QStringList{u"001.png"_s});
    QVERIFY(!QFile::exists(fixture.folder().downloadedImage()));
    QVERIFY(fixture.messenger.shown.isEmpty());
}

QTEST_MAIN(TestImageArchive)
#include "tst_image_archive.moc"
