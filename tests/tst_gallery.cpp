// The thumbnails of the kept pictures: what each kept copy gives, when the cache is made again, and a cache that
// cannot be written; the gallery window that shows them and follows the catalogue.
#include "catalogue/Catalogue.h"
#include "gallery/GalleryModel.h"
#include "gallery/GalleryWindow.h"
#include "image/ImageWindow.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "ui/CategoryTab.h"
#include "ui/ThumbnailCache.h"
#include "ui/ThumbnailLoader.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;
using State = Thumbnail::State;

namespace {

QByteArray picture(QSize size, QColor colour = Qt::darkCyan, const char* format = "JPEG")
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

const QDateTime taken(QDate(2026, 3, 3), QTime(14, 2), Qt::UTC);

} // namespace

class TestGallery : public QObject {
    Q_OBJECT

private slots:
    void thumbnailOfEachCopy_data();
    void thumbnailOfEachCopy();
    void sizeLimits_data();
    void sizeLimits();
    void madeAgainOnlyWhenNeeded_data();
    void madeAgainOnlyWhenNeeded();
    void cacheThatCannotBeWritten_data();
    void cacheThatCannotBeWritten();
    void windowShowsAndFollowsTheSeries();
    void windowAsksForWhatIsInView();
};

void TestGallery::thumbnailOfEachCopy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // the kept file; none when null
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<State>("state");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QString>("problem");
    const QByteArray jpeg = picture({400, 300});
    QTest::newRow("kept") << u"001.jpg"_s << jpeg << true << State::Made << QSize(128, 96) << QString();
    QTest::newRow("tall") << u"001.png"_s << picture({100, 400}, Qt::red, "PNG") << true << State::Made
                          << QSize(32, 128) << QString();
    QTest::newRow("a thread") << u"001.png"_s << picture({2, 1000}, Qt::red, "PNG") << true << State::Made
                              << QSize(1, 128) << QString();
    QTest::newRow("a wide thread") << u"001.png"_s << picture({1000, 2}, Qt::red, "PNG") << true << State::Made
                                   << QSize(128, 1) << QString();
    QTest::newRow("smaller than asked") << u"001.jpg"_s << picture({40, 20}) << true << State::Made << QSize(40, 20)
                                        << QString();
    QTest::newRow("no record") << u"001.jpg"_s << jpeg << false << State::NotKept << QSize(0, 0) << QString();
    QTest::newRow("record, no file") << u"001.jpg"_s << QByteArray() << true << State::NotKept << QSize(0, 0)
                                     << QString();
    QTest::newRow("name leaving the folder")
        << u"../001.jpg"_s << jpeg << true << State::NotKept << QSize(0, 0) << u"est refusé"_s;
    QTest::newRow("unreadable") << u"001.jpg"_s << QByteArray("\xFF\xD8\xFF garbage") << true << State::Broken
                                << QSize(0, 0) << u"est illisible"_s;
    QTest::newRow("empty file") << u"001.png"_s << QByteArray("") << true << State::Broken << QSize(0, 0)
                                << u"est illisible"_s;
    // A header that announces 20000 × 20000 with no pixel behind it: decoding would fail, the size check does not.
    QTest::newRow("too large") << u"001.pgm"_s << QByteArray("P5\n20000 20000\n255\n") << true << State::TooLarge
                               << QSize(0, 0) << u"(20000 × 20000 pixels)"_s;
}

void TestGallery::thumbnailOfEachCopy()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, recorded);
    QFETCH(State, state);
    QFETCH(QSize, shown);
    QFETCH(QString, problem);
    Fixture fixture;
    const Category& dravé = Category::dravé();
    if (!bytes.isNull()) {
        writeFile(fixture.folder().images(dravé) + u'/' + name, bytes);
    }
    const std::optional<ArchiveRecord> record =
        recorded ? std::optional(ArchiveRecord{u"001"_s, u"http://a/1"_s, name, taken}) : std::nullopt;
    const ThumbnailCache cache(fixture.folder());

    const Thumbnail thumbnail = cache.thumbnail(dravé, record, 128);
    QCOMPARE(thumbnail.state, state);
    QCOMPARE(thumbnail.image.size(), shown);
    QVERIFY2(problem.isEmpty() ? thumbnail.problem.isEmpty() : thumbnail.problem.contains(problem),
             qPrintable(thumbnail.problem));
    // Only a picture leaves a cache file, and only inside the cache folder.
    const QStringList written = QDir(fixture.folder().thumbnails() + u"/dravé"_s).entryList(QDir::Files);
    QCOMPARE(written, thumbnail.hasImage() ? QStringList{name + u".png"_s} : QStringList());
    QCOMPARE(thumbnail.path, thumbnail.hasImage() ? *cache.cacheFile(dravé, name) : QString());
    QVERIFY(!QFileInfo::exists(fixture.folder().thumbnails() + u"/001.jpg.png"_s));
    if (thumbnail.hasImage()) {
        const Thumbnail again = cache.thumbnail(dravé, record, 128);
        QCOMPARE(std::pair(again.state, again.path), std::pair(State::Cached, thumbnail.path));
    }
}

void TestGallery::sizeLimits_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<bool>("decodesReduced");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("8000 × 8000 JPEG") << QSize(8000, 8000) << true << true;
    QTest::newRow("8001 × 8000 JPEG") << QSize(8001, 8000) << true << false;
    QTest::newRow("wide JPEG") << QSize(64'000'000, 1) << true << true;
    QTest::newRow("8000 × 8000 PNG") << QSize(8000, 8000) << false << false;
    QTest::newRow("128 MiB PNG") << QSize(8192, 4096) << false << true;
    QTest::newRow("a pixel more") << QSize(8193, 4096) << false << false;
    QTest::newRow("20000 × 20000 JPEG") << QSize(20000, 20000) << true << false;
    QTest::newRow("no pixel") << QSize(0, 10) << true << false;
}

void TestGallery::sizeLimits()
{
    QFETCH(QSize, pixels);
    QFETCH(bool, decodesReduced);
    QFETCH(bool, accepted);
    QCOMPARE(ThumbnailCache::acceptsSize(pixels, decodesReduced), accepted);
}

void TestGallery::madeAgainOnlyWhenNeeded_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("size");
    QTest::addColumn<State>("state");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("nothing") << u""_s << 128 << State::Cached << QSize(128, 64) << QColor(Qt::blue);
    QTest::newRow("smaller size") << u""_s << 96 << State::Cached << QSize(96, 48) << QColor(Qt::blue);
    QTest::newRow("larger size") << u""_s << 256 << State::Made << QSize(256, 128) << QColor(Qt::blue);
    QTest::newRow("copy replaced") << u"copy"_s << 128 << State::Made << QSize(128, 64) << QColor(Qt::red);
    QTest::newRow("copy taken again") << u"taken"_s << 128 << State::Made << QSize(128, 64) << QColor(Qt::blue);
    QTest::newRow("cache file larger than it says")
        << u"swollen"_s << 128 << State::Made << QSize(128, 64) << QColor(Qt::blue);
    QTest::newRow("cache file damaged") << u"damage"_s << 128 << State::Made << QSize(128, 64) << QColor(Qt::blue);
}

void TestGallery::madeAgainOnlyWhenNeeded()
{
    QFETCH(QString, change);
    QFETCH(int, size);
    QFETCH(State, state);
    QFETCH(QSize, shown);
    QFETCH(QColor, colour);
    Fixture fixture;
    const Category& plomé = Category::plomé();
    const QString kept = fixture.folder().images(plomé) + u"/007.bmp"_s;
    writeFile(kept, picture({600, 300}, Qt::blue, "BMP"));
    ArchiveRecord record{u"007"_s, u"http://a/7"_s, u"007.bmp"_s, taken};
    const ThumbnailCache cache(fixture.folder());
    QCOMPARE(cache.thumbnail(plomé, record, 128).state, State::Made);

    if (change == u"copy") {
        // The same size in bytes and the same recorded date: only the file's time tells.
        QFile file(kept);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray red = picture({600, 300}, Qt::red, "BMP");
        QCOMPARE(red.size(), file.size());
        file.write(red);
        file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    } else if (change == u"taken") {
        record.taken = taken.addSecs(1);
    } else if (change == u"swollen") {
        const QString path = *cache.cacheFile(plomé, record.fileName);
        QImageReader made(path);
        QImage swollen(4000, 2000, QImage::Format_RGB32);
        swollen.fill(Qt::blue);
        for (const QString& key : made.textKeys()) {
            swollen.setText(key, made.text(key));
        }
        QVERIFY(swollen.save(path));
    } else if (change == u"damage") {
        writeFile(*cache.cacheFile(plomé, record.fileName), fileBytes(kept).left(60));
    }
    const Thumbnail thumbnail = cache.thumbnail(plomé, record, size);
    QCOMPARE(thumbnail.state, state);
    QCOMPARE(thumbnail.image.size(), shown);
    QCOMPARE(thumbnail.image.pixelColor(10, 10), colour);
    QVERIFY2(thumbnail.problem.isEmpty(), qPrintable(thumbnail.problem));
    // What was made last is what the next call finds.
    QCOMPARE(cache.thumbnail(plomé, record, size).state, State::Cached);
}

void TestGallery::cacheThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::newRow("folder blocked") << u"folder"_s;
#ifdef Q_OS_UNIX
    QTest::newRow("disk full") << u"disk"_s;
#endif
}

void TestGallery::cacheThatCannotBeWritten()
{
    QFETCH(QString, breakage);
    Fixture fixture;
    const Category& tusqué = Category::tusqué();
    writeFile(fixture.folder().images(tusqué) + u"/003.jpg"_s, picture({300, 300}));
    const ArchiveRecord record{u"003"_s, u"http://a/3"_s, u"003.jpg"_s, taken};
    const ThumbnailCache cache(fixture.folder());
    const QString folder = fixture.folder().thumbnails() + u"/tusqué"_s;
    if (breakage == u"folder") {
        writeFile(folder, "not a folder");
    } else {
        QCOMPARE(cache.thumbnail(tusqué, record, 64).state, State::Made);
    }
    const QByteArray before = fileBytes(*cache.cacheFile(tusqué, record.fileName));
#ifdef Q_OS_UNIX
    // A full disk: writes beyond 100 bytes fail, and do not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limit{breakage == u"disk" ? 100 : unlimited.rlim_cur, unlimited.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    auto restore = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &unlimited); });
#endif
    const Thumbnail thumbnail = cache.thumbnail(tusqué, record, 100);
#ifdef Q_OS_UNIX
    restore.dismiss();
    setrlimit(RLIMIT_FSIZE, &unlimited);
#endif
    // The picture is still given, what is reported is true, and the thumbnail made before is still whole.
    QCOMPARE(thumbnail.state, State::Made);
    QCOMPARE(thumbnail.image.size(), QSize(100, 100));
    QCOMPARE(thumbnail.path, QString());
    QVERIFY2(thumbnail.problem.contains(u"n'a pas pu être enregistrée"_s), qPrintable(thumbnail.problem));
    QCOMPARE(fileBytes(*cache.cacheFile(tusqué, record.fileName)), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             breakage == u"disk" ? QStringList{u"003.jpg.png"_s} : QStringList());
}

void TestGallery::windowShowsAndFollowsTheSeries()
{
    Fixture fixture;
    const Category& dravé = Category::dravé();
    const QList<PuzzleEntry> entries = Fixture::series(3, {u"Léa"_s, u"Zoé"_s});
    fixture.insert(dravé, entries);
    // 001 kept, 002 not kept, 003 kept but unreadable; the thumbnails cannot be written.
    const QString images = fixture.folder().images(dravé) + u'/';
    writeFile(images + u"001.jpg"_s, picture({400, 300}, Qt::blue));
    writeFile(images + u"003.jpg"_s, "garbage");
    writeFile(fixture.folder().thumbnails() + u"/dravé"_s, "not a folder");
    for (const QString& ref : {u"001"_s, u"003"_s}) {
        fixture.sql(u"INSERT INTO images VALUES ('dravé', '%1', 'http://127.0.0.1/%2.jpg', '%1.jpg', "
                    "'2026-03-03T14:02:00Z')"_s.arg(ref)
                        .arg(ref.toInt()));
    }
    auto window = fixture.openShown();
    QVERIFY(window);
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    auto* gallery = window->findChild<GalleryWindow*>();
    QVERIFY(gallery);
    GalleryModel* model = gallery->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    auto states = [model] {
        QStringList shown;
        for (int row = 0; row < model->rowCount(); ++row) {
            shown.append(model->entry(row).ref + u'=' + model->index(row).data(GalleryModel::StateRole).toString());
        }
        return shown;
    };
    auto hue = [model](int row) {
        const QIcon icon = model->index(row).data(Qt::DecorationRole).value<QIcon>();
        return icon.pixmap(icon.availableSizes().value(0)).toImage().pixelColor(5, 5).hue();
    };
    const QString made = QString::number(int(State::Made));
    const QString notKept = QString::number(int(State::NotKept));
    QTRY_COMPARE(states(), (QStringList{u"001="_s + made, u"002="_s + notKept, u"003=3"_s}));
    QCOMPARE(changes.size(), 2); // the view hears of each thumbnail as it comes
    QCOMPARE(model->index(0).data(Qt::DisplayRole).toString(), u"001\nRéponse 1"_s);
    QCOMPARE(hue(0), QColor(Qt::blue).hue());
    const QString status = child<QLabel>(gallery, u"lbl_galerie"_s)->text();
    QVERIFY2(status.contains(u"inutilisable(s) (illisible, trop grande ou nom refusé) : 003."_s), qPrintable(status));
    QVERIFY2(status.contains(u"n'a pas pu être enregistrée"_s), qPrintable(status));
    QCOMPARE(child<QLabel>(gallery, u"lbl_non_gardees"_s)->text(), u"1 entrée(s) sans image gardée."_s);
    QVERIFY(child<QPushButton>(gallery, u"bt_archiver"_s)->isVisibleTo(gallery));

    // The filter, as typed, on the answer or the author.
    auto* filter = child<QLineEdit>(gallery, u"filtre_galerie"_s);
    QTest::keyClicks(filter, u"zo"_s);
    QCOMPARE(gallery->view()->model()->rowCount(), 1);
    filter->setText(u"ponse 3"_s);
    QCOMPARE(gallery->view()->model()->index(0, 0).data(GalleryModel::RefRole).toString(), u"003"_s);
    filter->clear();

    // An add and a "MAJ", a new kept copy for 002 and a replaced one for 001, then an undo of the add.
    // The add lands in number order: first.
    fixture.insert(dravé, {{u"000"_s, u"Zéro"_s, u"Léa"_s, {}, {}}});
    emit window->events().entryEdited(dravé, u"000"_s);
    fixture.sql(u"UPDATE \"dravé\" SET nom = 'Corrigée' WHERE ref = '002'"_s);
    emit window->events().entryEdited(dravé, u"002"_s);
    QCOMPARE(model->index(2).data(Qt::DisplayRole).toString(), u"002\nCorrigée"_s);
    for (const QString& ref : {u"001"_s, u"002"_s}) {
        writeFile(images + ref + u".png"_s, picture({80, 60}, Qt::red, "PNG"));
        window->catalogue().recordArchive(dravé, {ref, u"http://a"_s, ref + u".png"_s, taken.addDays(1)});
        emit window->events().keptCopyChanged(dravé, ref);
    }
    QTRY_COMPARE(states(), (QStringList{u"000="_s + notKept, u"001="_s + made, u"002="_s + made, u"003=3"_s}));
    QCOMPARE(hue(1), QColor(Qt::red).hue());
    fixture.sql(u"DELETE FROM \"dravé\" WHERE ref = '000'"_s);
    emit window->events().seriesChanged(dravé);
    QCOMPARE(model->rowCount(), 3);
    auto* archiveButton = child<QPushButton>(gallery, u"bt_archiver"_s);
    QVERIFY(!archiveButton->isVisibleTo(gallery)); // every entry has its copy now

    // A larger size asks for larger thumbnails.
    child<QSlider>(gallery, u"taille_galerie"_s)->setValue(GalleryWindow::largest);
    writeFile(images + u"001.png"_s, picture({800, 600}, Qt::green, "PNG"));
    window->catalogue().recordArchive(dravé, {u"001"_s, u"http://a"_s, u"001.png"_s, taken.addDays(2)});
    emit window->events().keptCopyChanged(dravé, u"001"_s);
    QTRY_COMPARE(model->index(0).data(Qt::DecorationRole).value<QIcon>().availableSizes(), QList{QSize(256, 192)});

    // "Archiver les images…" runs the archive of the main window.
    QSignalSpy archive(window->findChild<QAction*>(u"action_images"_s), &QAction::triggered);
    archiveButton->click();
    QCOMPARE(archive.size(), 1);

    // Enter opens the image window; a double click shows the entry in its tab.
    gallery->view()->setCurrentIndex(gallery->view()->model()->index(1, 0));
    QTest::keyClick(gallery->view(), Qt::Key_Right);
    QCOMPARE(std::pair(gallery->view()->currentIndex().row(), window->findChild<ImageWindow*>() != nullptr),
             std::pair(2, false)); // an arrow moves, and opens nothing
    QTest::keyClick(gallery->view(), Qt::Key_Return);
    auto* image = window->findChild<ImageWindow*>();
    QVERIFY(image);
    QCOMPARE(child<QLineEdit>(image, u"lbl_ref"_s)->text(), u"003"_s);
    image->close();
    const QRect third = gallery->view()->visualRect(gallery->view()->model()->index(2, 0));
    QTest::mouseClick(gallery->view()->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(gallery->view()->viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(window->categoryTab(dravé)->numberBox()->text(), u"003"_s);

    window->tabs()->setCurrentIndex(Tabs::Search);
    QVERIFY(!window->findChild<QAction*>(u"action_galerie"_s)->isEnabled());
    QCOMPARE(fixture.messenger.texts(), QStringList());

    // A catalogue that cannot be read is said so, and the window keeps what it showed.
    fixture.sql(u"DROP TABLE images"_s);
    emit window->events().seriesChanged(dravé);
    QVERIFY2(fixture.messenger.texts().contains(u"La galerie ne peut pas lire le catalogue."_s),
             qPrintable(fixture.messenger.texts().join(u'|')));
    QCOMPARE(model->rowCount(), 3);
}

void TestGallery::windowAsksForWhatIsInView()
{
    Fixture fixture;
    fixture.insert(Category::dravé(), Fixture::series(300, {u"Léa"_s, u"Zoé"_s}));
    // Records without their files: each thumbnail asked for comes back at once as "not kept".
    fixture.sql(u"INSERT INTO images SELECT 'dravé', ref, url, ref || '.jpg', '2026-01-01T00:00:00Z' FROM \"dravé\""_s);
    auto window = fixture.openShown();
    QVERIFY(window);
    window->findChild<QAction*>(u"action_galerie"_s)->trigger();
    auto* gallery = window->findChild<GalleryWindow*>();
    auto state = [gallery](int row) { return gallery->model()->index(row).data(GalleryModel::StateRole).toInt(); };
    const int notKept = int(State::NotKept);
    QTRY_COMPARE(state(0), notKept);
    QVERIFY(gallery->loader()->waitForDone(5000));
    QCoreApplication::processEvents();
    QCOMPARE(std::pair(state(95), state(299)), std::pair(-1, -1));
    // What the filter brings into view is asked for (096 by Zoé comes to the first screen), and so is what a
    // scroll brings.
    child<QLineEdit>(gallery, u"filtre_galerie"_s)->setText(u"zo"_s);
    QTRY_COMPARE(state(95), notKept);
    child<QLineEdit>(gallery, u"filtre_galerie"_s)->clear();
    gallery->view()->scrollToBottom();
    QTRY_COMPARE(state(299), notKept);
    QCOMPARE(state(150), -1);
}

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
