// The thumbnails of the kept pictures: what each kept copy gives, when the cache is made again, and a cache that
// cannot be written.
#include "catalogue/Catalogue.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "ui/ThumbnailCache.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTest>

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
    void madeAgainOnlyWhenNeeded_data();
    void madeAgainOnlyWhenNeeded();
    void cacheThatCannotBeWritten();
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
        QCOMPARE(cache.thumbnail(dravé, record, 128).state, State::Cached);
    }
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

void TestGallery::cacheThatCannotBeWritten()
{
    Fixture fixture;
    const Category& tusqué = Category::tusqué();
    writeFile(fixture.folder().images(tusqué) + u"/003.jpg"_s, picture({300, 300}));
    writeFile(fixture.folder().thumbnails() + u"/tusqué"_s, "not a folder");
    const ArchiveRecord record{u"003"_s, u"http://a/3"_s, u"003.jpg"_s, taken};
    const ThumbnailCache cache(fixture.folder());
    const Thumbnail thumbnail = cache.thumbnail(tusqué, record, 100);
    // The picture is still given, and what is reported is true: no file.
    QCOMPARE(thumbnail.state, State::Made);
    QCOMPARE(thumbnail.image.size(), QSize(100, 100));
    QCOMPARE(thumbnail.path, QString());
    QVERIFY2(thumbnail.problem.contains(u"n'a pas pu être enregistrée"_s), qPrintable(thumbnail.problem));
    QCOMPARE(fileBytes(fixture.folder().thumbnails() + u"/tusqué"_s), QByteArray("not a folder"));
}

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
