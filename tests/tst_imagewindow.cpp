#include "image/ImageTexts.h"
#include "image/ImageWindow.h"
#include "support/Fakes.h"
#include "support/Fixture.h"
#include "support/LoopbackServer.h"
#include "ui/GridStyle.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Conversions by the real ImageMagick take a moment, more so under the sanitizers.
constexpr int displayWait = 30'000;

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray picture(QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return encoded(image, format);
}

// A picture whose four quarters are red, blue, green and yellow, to find them again on screen.
QImage quarters(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, w, h, Qt::blue);
    painter.fillRect(0, h, w, h, Qt::green);
    painter.fillRect(w, h, w, h, Qt::yellow);
    return image;
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 48 && qAbs(a.green() - b.green()) < 48 && qAbs(a.blue() - b.blue()) < 48;
}

} // namespace

class TestImageWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controls();
    void showsConvertedPicture_data();
    void showsConvertedPicture();
    void refusedAddress_data();
    void refusedAddress();
    void failedDownload_data();
    void failedDownload();
    void failedConversion_data();
    void failedConversion();
    void converterCommandLine();
    void closingDuringDownload();
    void screenshot();

private:
    ImagePreviewSettings settings(int downloadTimeoutMs = 10'000) const;
    ImageWindow* open(const ImagePreviewSettings& settings);
    /// Writes an executable shell script in the test folder and returns its path.
    QString script(const QString& name, const QByteArray& body);
    bool workFilesGone() const;
    static ImageRequest request(const QString& address);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_tools;
    std::unique_ptr<CatalogueFolder> m_folder;
    std::unique_ptr<FakeMessenger> m_messenger;
    std::unique_ptr<LoopbackServer> m_server;
    std::unique_ptr<QWidget> m_main;
};

void TestImageWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_tools = std::make_unique<QTemporaryDir>();
    m_folder = std::make_unique<CatalogueFolder>(m_dir->path());
    m_messenger = std::make_unique<FakeMessenger>();
    m_server = std::make_unique<LoopbackServer>();
    m_main = std::make_unique<QWidget>();
    m_main->setObjectName(QStringLiteral("Form1"));
}

void TestImageWindow::cleanup()
{
    m_main.reset();
    m_server.reset();
}

ImagePreviewSettings TestImageWindow::settings(int downloadTimeoutMs) const
{
    ImagePreviewSettings result;
    result.downloadTimeoutMs = downloadTimeoutMs;
    result.maxDownloadBytes = 4'000'000;
    return result;
}

ImageWindow* TestImageWindow::open(const ImagePreviewSettings& settings)
{
    auto* window = new ImageWindow(*m_folder, *m_messenger, settings, m_main.get());
    window->show();
    m_main->hide();
    return window;
}

QString TestImageWindow::script(const QString& name, const QByteArray& body)
{
    const QString path = m_tools->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write("#!/bin/sh\n" + body + '\n');
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

bool TestImageWindow::workFilesGone() const
{
    return !QFile::exists(m_folder->downloadedImage()) && !QFile::exists(m_folder->resizedImage());
}

ImageRequest TestImageWindow::request(const QString& address)
{
    return {QStringLiteral("042"), QStringLiteral("Tour Eiffel"), address, QStringLiteral("https://sorvane.net/t/42"),
            QStringLiteral("https://sorvane.net/t/42")};
}

void TestImageWindow::controls()
{
    ImageWindow* window = open(settings());
    QCOMPARE(window->objectName(), QStringLiteral("Form_img"));
    QCOMPARE(window->windowTitle(), QStringLiteral("DPT - Image"));
    QVERIFY(window->isWindow());
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(child<QLabel>(window, QStringLiteral("Picture1")));
    auto* again = child<QPushButton>(window, QStringLiteral("bt_lien"));
    QVERIFY(again);
    QVERIFY(again->isHidden());
    QCOMPARE(again->text(), QStringLiteral("Afficher"));

    const QList<std::pair<QString, QString>> labels = {
        {QStringLiteral("Label1"), QStringLiteral("Ref : ")},
        {QStringLiteral("Label2"), QStringLiteral("Nom :")},
        {QStringLiteral("Label3"), QStringLiteral("Lien Sorvane")},
    };
    for (const auto& [name, text] : labels) {
        auto* label = child<QLabel>(window, name);
        QVERIFY2(label, qPrintable(name));
        QCOMPARE(label->text(), text);
    }
    const QList<std::pair<QString, QString>> boxes = {
        {QStringLiteral("lbl_ref"), QStringLiteral("Text1")},
        {QStringLiteral("lbl_nom"), QStringLiteral("Text1")},
        {QStringLiteral("txt_lien"), QString()},
        {QStringLiteral("txt_lien_sor"), QString()},
    };
    for (const auto& [name, text] : boxes) {
        auto* box = child<QLineEdit>(window, name);
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->text(), text);
    }
}

void TestImageWindow::showsConvertedPicture_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QSize>("shown");

    QTest::newRow("jpeg 1600×1200") << QByteArray("/a.jpg") << picture({1600, 1200}, "JPEG") << QSize(533, 400);
    QTest::newRow("png 400×800") << QByteArray("/b.png") << picture({400, 800}, "PNG") << QSize(200, 400);
    QTest::newRow("png 1000×250") << QByteArray("/c.png") << picture({1000, 250}, "PNG") << QSize(800, 200);
    QTest::newRow("small png, enlarged") << QByteArray("/d.png") << picture({200, 100}, "PNG") << QSize(800, 400);
    QTest::newRow("redirect") << QByteArray("/old.jpg") << picture({1600, 1200}, "JPEG") << QSize(533, 400);
}

void TestImageWindow::showsConvertedPicture()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, body);
    QFETCH(QSize, shown);
    if (path == "/old.jpg") {
        m_server->redirect(path, "/new.jpg");
        m_server->serveBody("/new.jpg", body);
    } else {
        m_server->serveBody(path, body);
    }

    ImageWindow* window = open(settings());
    QSignalSpy ended(window, &ImageWindow::displayEnded);
    window->display(request(m_server->url(path)));
    QCOMPARE(window->status(), QStringLiteral("Téléchargement…"));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, displayWait);

    QCOMPARE(window->status(), QString());
    auto* box = child<QLabel>(window, QStringLiteral("Picture1"));
    QCOMPARE(box->pixmap().size(), shown);
    QCOMPARE(box->size(), shown);
    QCOMPARE(box->mapTo(window, QPoint(0, 0)).x(), GridStyle::pixels(120));
    QVERIFY(workFilesGone());
    QVERIFY(!m_server->requests.isEmpty());
    QCOMPARE(m_server->requests.last().headers.value("referer"), QByteArray("https://sorvane.net/t/42"));
    QCOMPARE(child<QLineEdit>(window, QStringLiteral("lbl_ref"))->text(), QStringLiteral("042"));
    QCOMPARE(child<QLineEdit>(window, QStringLiteral("lbl_nom"))->text(), QStringLiteral("Tour Eiffel"));
    QCOMPARE(child<QLineEdit>(window, QStringLiteral("txt_lien"))->text(), m_server->url(path));
    QCOMPARE(child<QLineEdit>(window, QStringLiteral("txt_lien_sor"))->text(),
             QStringLiteral("https://sorvane.net/t/42"));
    QVERIFY(m_messenger->shown.isEmpty());
}

void TestImageWindow::refusedAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Messenger::Icon>("icon");

    QTest::newRow("empty") << QString() << QStringLiteral("URL non spécifiée.") << Messenger::Icon::Warning;
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/a.jpg") << QStringLiteral("URL invalide.")
                         << Messenger::Icon::None;
    QTest::newRow("gif") << QStringLiteral("/a.gif") << QStringLiteral("Format GIF non supporté. ")
                         << Messenger::Icon::Critical;
    QTest::newRow("webp") << QStringLiteral("/a.webp") << QStringLiteral("Extension invalide.")
                          << Messenger::Icon::None;
}

void TestImageWindow::refusedAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, message);
    QFETCH(Messenger::Icon, icon);
    if (address.startsWith(u'/')) {
        address = m_server->url(address.toLatin1());
    }
    // Work files of an earlier display stay: a refused address touches nothing.
    for (const QString& file : {m_folder->downloadedImage(), m_folder->resizedImage()}) {
        QFile work(file);
        QVERIFY(work.open(QIODevice::WriteOnly));
    }

    ImageWindow* window = open(settings());
    QSignalSpy ended(window, &ImageWindow::displayEnded);
    window->display(request(address));

    QCOMPARE(ended.count(), 1);
    QCOMPARE(m_messenger->shown.size(), 1);
    QCOMPARE(m_messenger->shown.first().text, message);
    QCOMPARE(m_messenger->shown.first().icon, icon);
    QTest::qWait(50);
    QVERIFY(m_server->requests.isEmpty());
    QVERIFY(QFile::exists(m_folder->downloadedImage()));
    QVERIFY(QFile::exists(m_folder->resizedImage()));
    QVERIFY(child<QLabel>(window, QStringLiteral("Picture1"))->pixmap().isNull());
}

void TestImageWindow::failedDownload_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("timeout");
    QTest::addColumn<QString>("status");

    QTest::newRow("404") << QByteArray("/missing.jpg") << 10'000
                         << QStringLiteral("Téléchargement impossible : le serveur a répondu 404 Not Found.");
    QTest::newRow("server never answers")
        << QByteArray("/silent.jpg") << 300 << ImageTexts::downloadTimeout().arg(QStringLiteral("0,3"));
    QTest::newRow("too large, announced") << QByteArray("/big.jpg") << 10'000 << ImageTexts::tooLarge().arg(1000);
    QTest::newRow("too large, not announced")
        << QByteArray("/stream.jpg") << 10'000 << ImageTexts::tooLarge().arg(1000);
    QTest::newRow("svg served as jpg") << QByteArray("/drawing.jpg") << 10'000 << ImageTexts::notAnImage();
    QTest::newRow("empty body") << QByteArray("/empty.jpg") << 10'000 << ImageTexts::notAnImage();
}

void TestImageWindow::failedDownload()
{
    QFETCH(QByteArray, path);
    QFETCH(int, timeout);
    QFETCH(QString, status);

    const QByteArray big = QByteArray("\xFF\xD8\xFF", 3) + QByteArray(5000, 'x');
    m_server->serve("/silent.jpg", {200, {}, {}, true, true});
    m_server->serve("/big.jpg", {200, big, {}});
    m_server->serve("/stream.jpg", {200, big, {}, false});
    m_server->serveBody("/drawing.jpg",
                        "<svg xmlns=\"http://www.w3.org/2000/svg\"><image href=\"file:///etc/passwd\"/></svg>");
    m_server->serveBody("/empty.jpg", {});

    ImagePreviewSettings bounded = settings(timeout);
    bounded.maxDownloadBytes = 1000;
    // A converter that cannot start would say so: these downloads must never reach it.
    bounded.converter = {m_tools->filePath(QStringLiteral("absent")), {}};
    ImageWindow* window = open(bounded);
    QSignalSpy ended(window, &ImageWindow::displayEnded);
    window->display(request(m_server->url(path)));
    QCOMPARE(window->status(), QStringLiteral("Téléchargement…"));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, displayWait);

    QCOMPARE(window->status(), status);
    QVERIFY(workFilesGone());
    QVERIFY(child<QLabel>(window, QStringLiteral("Picture1"))->pixmap().isNull());
    QVERIFY(m_messenger->shown.isEmpty());
}

void TestImageWindow::failedConversion_data()
{
    QTest::addColumn<QString>("converter");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("status");

    const QByteArray jpeg = picture({64, 48}, "JPEG");
    QTest::newRow("no converter installed") << QString() << jpeg << ImageTexts::converterMissing();
    QTest::newRow("converter cannot start")
        << QStringLiteral("absent") << jpeg
        << ImageTexts::converterNotStarted().arg(QStringLiteral("absent"), QString());
    QTest::newRow("damaged png, real ImageMagick")
        << QStringLiteral("real") << QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(300, '\x07')
        << QStringLiteral("Le convertisseur a échoué (code ");
    QTest::newRow("converter overruns") << QStringLiteral("sleep") << jpeg
                                        << ImageTexts::converterTimeout().arg(QStringLiteral("0,5"));
    QTest::newRow("converter writes nothing")
        << QStringLiteral("silent") << jpeg << ImageTexts::unreadablePicture().arg(QStringLiteral("resized"));
}

void TestImageWindow::failedConversion()
{
    QFETCH(QString, converter);
    QFETCH(QByteArray, body);
    QFETCH(QString, status);
#ifdef Q_OS_WIN
    QSKIP("The test converters are shell scripts.");
#endif
    m_server->serveBody("/a.jpg", body);
    ImagePreviewSettings bounded = settings();
    bounded.conversionTimeoutMs = 500;
    if (converter.isEmpty()) {
        bounded.converter = {};
    } else if (converter == u"absent") {
        bounded.converter = {m_tools->filePath(converter), {}};
        status = ImageTexts::converterNotStarted().arg(bounded.converter.program, QString());
    } else if (converter == u"sleep") {
        bounded.converter = {script(converter, "exec sleep 20"), {}};
    } else if (converter == u"silent") {
        bounded.converter = {script(converter, "exit 0"), {}};
        status = ImageTexts::unreadablePicture().arg(m_folder->resizedImage());
    } else {
        bounded.conversionTimeoutMs = displayWait;
    }

    ImageWindow* window = open(bounded);
    QSignalSpy ended(window, &ImageWindow::displayEnded);
    window->display(request(m_server->url("/a.jpg")));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, displayWait);

    QVERIFY2(window->status().startsWith(status), qPrintable(window->status()));
    QVERIFY(workFilesGone());
    QVERIFY(child<QLabel>(window, QStringLiteral("Picture1"))->pixmap().isNull());
}

void TestImageWindow::converterCommandLine()
{
#ifdef Q_OS_WIN
    QSKIP("The test converter is a shell script.");
#endif
    // Pretends to be ImageMagick 7: notes where it runs and what it gets, then hands the picture on unchanged.
    const QString log = m_tools->filePath(QStringLiteral("calls.txt"));
    const QString recorder =
        script(QStringLiteral("magick"), "printf '%s\\n' \"$PWD\" \"$@\" > '" + log.toUtf8() + "'\ncp \"$2\" \"$5\"");
    m_server->serveBody("/a.jpg", picture({120, 90}, "JPEG"));
    ImagePreviewSettings recorded = settings();
    recorded.converter = {recorder, {QStringLiteral("convert")}};

    ImageWindow* window = open(recorded);
    QSignalSpy ended(window, &ImageWindow::displayEnded);
    window->display(request(m_server->url("/a.jpg")));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, displayWait);

    QFile calls(log);
    QVERIFY(calls.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(calls.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines,
             QStringList({m_folder->path(), QStringLiteral("convert"), QStringLiteral("image_url.jpg"),
                          QStringLiteral("-resize"), QStringLiteral("800x400"), QStringLiteral("image2_url.jpg")}));
    QCOMPARE(child<QLabel>(window, QStringLiteral("Picture1"))->pixmap().size(), QSize(120, 90));
    QVERIFY(workFilesGone());
}

void TestImageWindow::closingDuringDownload()
{
    m_main->show();
    m_server->serve("/silent.jpg", {200, {}, {}, true, true});
    QPointer<ImageWindow> window = open(settings());
    window->display(request(m_server->url("/silent.jpg")));
    QTRY_COMPARE(m_server->requests.size(), 1);
    QVERIFY(QFile::exists(m_folder->downloadedImage()));

    window->close();
    QVERIFY(m_main->isVisible());
    QVERIFY(workFilesGone());
    QTRY_VERIFY(window.isNull());
}

void TestImageWindow::screenshot()
{
    m_server->serveBody("/quarters.jpg", encoded(quarters({1600, 1200}), "JPEG"));
    ImageWindow* window = open(settings());
    QSignalSpy ended(window, &ImageWindow::displayEnded);
    window->display(request(m_server->url("/quarters.jpg")));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, displayWait);

    const QImage shot = window->grab().toImage();
    shot.save(QStringLiteral("/tmp/image-window.png"));
    const QPoint origin = child<QLabel>(window, QStringLiteral("Picture1"))->mapTo(window, QPoint(0, 0));
    const qreal ratio = shot.devicePixelRatio();
    const auto at = [&](int x, int y) { return shot.pixelColor(QPointF((origin + QPoint(x, y)) * ratio).toPoint()); };
    QVERIFY(near(at(133, 100), Qt::red));
    QVERIFY(near(at(400, 100), Qt::blue));
    QVERIFY(near(at(133, 300), Qt::green));
    QVERIFY(near(at(400, 300), Qt::yellow));
}

QTEST_MAIN(TestImageWindow)
#include "tst_imagewindow.moc"
