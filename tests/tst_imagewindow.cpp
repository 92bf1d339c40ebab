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
const QString forumPost = QStringLiteral("https://sorvane.net/t/42");

// A picture whose four quarters are red, blue, green and yellow, to find them again on screen.
QByteArray quarters(QSize size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, w, h, Qt::blue);
    painter.fillRect(0, h, w, h, Qt::green);
    painter.fillRect(w, h, w, h, Qt::yellow);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 48 && qAbs(a.green() - b.green()) < 48 && qAbs(a.blue() - b.blue()) < 48;
}

QString boxText(QWidget* window, const char* name)
{
    return child<QLineEdit>(window, QString::fromUtf8(name))->text();
}

QPixmap picture(QWidget* window)
{
    return child<QLabel>(window, QStringLiteral("Picture1"))->pixmap();
}

/// One test's folder, server and main window, and the settings of the next image window.
struct Scene {
    QTemporaryDir dir;
    QTemporaryDir tools;
    CatalogueFolder folder{dir.path()};
    FakeMessenger messenger;
    LoopbackServer server;
    QWidget main;
    ImagePreviewSettings settings{10'000, 4'000'000};
    QString firstStatus; ///< the status right after the display started
    qsizetype endings = 0;

    ImageWindow* open()
    {
        auto* window = new ImageWindow(folder, messenger, settings, &main);
        window->show();
        main.hide();
        return window;
    }

    /// Shows `address` (a path on the server when it starts with '/') in a fresh window and waits for the end.
    ImageWindow* display(QString address)
    {
        if (address.startsWith(u'/')) {
            address = server.url(address.toUtf8());
        }
        ImageWindow* window = open();
        QSignalSpy ended(window, &ImageWindow::displayEnded);
        window->display({QStringLiteral("042"), QStringLiteral("Tour Eiffel"), address, forumPost, forumPost});
        firstStatus = window->status();
        endings = QTest::qWaitFor([&] { return !ended.isEmpty(); }, displayWait) ? ended.count() : 0;
        return window;
    }

    /// Writes an executable shell script in the tools folder and returns its path.
    QString script(const QString& name, const QByteArray& body)
    {
        QFile file(tools.filePath(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\n" + body + '\n');
            file.close();
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        }
        return file.fileName();
    }

    bool workFilesGone() const
    {
        return !QFile::exists(folder.downloadedImage()) && !QFile::exists(folder.resizedImage());
    }
};

} // namespace

class TestImageWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { m = std::make_unique<Scene>(); }
    void cleanup() { m.reset(); }
    void controls();
    void showsConvertedPicture_data();
    void showsConvertedPicture();
    void refusedAddress_data();
    void refusedAddress();
    void failedDisplay_data();
    void failedDisplay();
    void converterCommandLine();
    void closingDuringDownload();

private:
    std::unique_ptr<Scene> m;
};

void TestImageWindow::controls()
{
    ImageWindow* window = m->open();
    QCOMPARE(window->objectName(), QStringLiteral("Form_img"));
    QCOMPARE(window->windowTitle(), QStringLiteral("DPT - Image"));
    QVERIFY(window->isWindow());
    QVERIFY(child<QLabel>(window, QStringLiteral("Picture1")));
    auto* again = child<QPushButton>(window, QStringLiteral("bt_lien"));
    QVERIFY(again && again->isHidden());
    QCOMPARE(again->text(), QStringLiteral("Afficher"));
    const QList<std::tuple<const char*, const char*, const char*>> controls = {
        {"Label1", "QLabel", "Ref : "},    {"Label2", "QLabel", "Nom :"},     {"Label3", "QLabel", "Lien Sorvane"},
        {"lbl_ref", "QLineEdit", "Text1"}, {"lbl_nom", "QLineEdit", "Text1"}, {"txt_lien", "QLineEdit", ""},
        {"txt_lien_sor", "QLineEdit", ""}};
    for (const auto& [name, type, text] : controls) {
        auto* control = child<QWidget>(window, QString::fromUtf8(name));
        QVERIFY2(control && control->inherits(type), name);
        QCOMPARE(control->property("text").toString(), QString::fromUtf8(text));
    }
}

void TestImageWindow::showsConvertedPicture_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QSize>("shown");

    QTest::newRow("jpeg 1600×1200") << QByteArray("/a.jpg") << quarters({1600, 1200}, "JPEG") << QSize(533, 400);
    QTest::newRow("png 400×800") << QByteArray("/b.png") << quarters({400, 800}, "PNG") << QSize(200, 400);
    QTest::newRow("png 1000×250") << QByteArray("/c.png") << quarters({1000, 250}, "PNG") << QSize(800, 200);
    QTest::newRow("small png, enlarged") << QByteArray("/d.png") << quarters({200, 100}, "PNG") << QSize(800, 400);
    QTest::newRow("redirect") << QByteArray("/old.jpg") << quarters({1600, 1200}, "JPEG") << QSize(533, 400);
}

void TestImageWindow::showsConvertedPicture()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, body);
    QFETCH(QSize, shown);
    if (path == "/old.jpg") {
        m->server.redirect(path, "/new.jpg");
        m->server.serveBody("/new.jpg", body);
    } else {
        m->server.serveBody(path, body);
    }

    ImageWindow* window = m->display(QString::fromUtf8(path));
    QCOMPARE(m->firstStatus, QStringLiteral("Téléchargement…"));
    QCOMPARE(m->endings, 1);
    QCOMPARE(window->status(), QString());
    auto* box = child<QLabel>(window, QStringLiteral("Picture1"));
    QCOMPARE(box->pixmap().size(), shown);
    QCOMPARE(box->size(), shown);
    const QPoint origin = box->mapTo(window, QPoint(0, 0));
    QCOMPARE(origin.x(), GridStyle::pixels(120));
    QVERIFY(m->workFilesGone());
    QVERIFY(!m->server.requests.isEmpty());
    QCOMPARE(m->server.requests.last().headers.value("referer"), forumPost.toUtf8());
    QCOMPARE(boxText(window, "lbl_ref"), QStringLiteral("042"));
    QCOMPARE(boxText(window, "lbl_nom"), QStringLiteral("Tour Eiffel"));
    QCOMPARE(boxText(window, "txt_lien"), m->server.url(path));
    QCOMPARE(boxText(window, "txt_lien_sor"), forumPost);
    QVERIFY(m->messenger.shown.isEmpty());

    // The picture is painted on screen the right way round: sample the middle of each quarter.
    const QImage shot = window->grab().toImage();
    const auto at = [&](int x, int y) {
        const QPointF point(origin.x() + shown.width() * x / 4, origin.y() + shown.height() * y / 4);
        return shot.pixelColor((point * shot.devicePixelRatio()).toPoint());
    };
    QVERIFY(near(at(1, 1), Qt::red));
    QVERIFY(near(at(3, 1), Qt::blue));
    QVERIFY(near(at(1, 3), Qt::green));
    QVERIFY(near(at(3, 3), Qt::yellow));
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
    // Work files of an earlier display stay: a refused address touches nothing.
    for (const QString& file : {m->folder.downloadedImage(), m->folder.resizedImage()}) {
        QFile work(file);
        QVERIFY(work.open(QIODevice::WriteOnly));
    }

    ImageWindow* window = m->display(address);
    QCOMPARE(m->endings, 1);
    QCOMPARE(m->messenger.shown.size(), 1);
    QCOMPARE(m->messenger.shown.first().text, message);
    QCOMPARE(m->messenger.shown.first().icon, icon);
    QTest::qWait(50);
    QVERIFY(m->server.requests.isEmpty());
    QVERIFY(QFile::exists(m->folder.downloadedImage()));
    QVERIFY(QFile::exists(m->folder.resizedImage()));
    QVERIFY(picture(window).isNull());
}

void TestImageWindow::failedDisplay_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("converter");
    QTest::addColumn<QString>("status");

    // "absent" cannot start and would say so: the failed downloads must never reach it.
    const QString absent = QStringLiteral("absent");
    QTest::newRow("404") << QStringLiteral("/missing.jpg") << absent
                         << QStringLiteral("Téléchargement impossible : le serveur a répondu 404 Not Found.");
    QTest::newRow("server never answers")
        << QStringLiteral("/silent.jpg") << absent << ImageTexts::downloadTimeout().arg(QStringLiteral("0,3"));
    QTest::newRow("too large, announced") << QStringLiteral("/big.jpg") << absent << ImageTexts::tooLarge().arg(20000);
    QTest::newRow("too large, not announced")
        << QStringLiteral("/stream.jpg") << absent << ImageTexts::tooLarge().arg(20000);
    QTest::newRow("svg served as jpg") << QStringLiteral("/drawing.jpg") << absent << ImageTexts::notAnImage();
    QTest::newRow("empty body") << QStringLiteral("/empty.jpg") << absent << ImageTexts::notAnImage();
    QTest::newRow("no converter installed") << QStringLiteral("/a.jpg") << QString() << ImageTexts::converterMissing();
    QTest::newRow("converter cannot start")
        << QStringLiteral("/a.jpg") << absent
        << ImageTexts::converterNotStarted().arg(QStringLiteral("<tools>/absent"), QString());
    QTest::newRow("damaged png, real ImageMagick") << QStringLiteral("/damaged.png") << QStringLiteral("real")
                                                   << QStringLiteral("Le convertisseur a échoué (code ");
    QTest::newRow("converter overruns") << QStringLiteral("/a.jpg") << QStringLiteral("sleep")
                                        << ImageTexts::converterTimeout().arg(QStringLiteral("0,5"));
    QTest::newRow("converter writes nothing") << QStringLiteral("/a.jpg") << QStringLiteral("silent")
                                              << ImageTexts::unreadablePicture().arg(QStringLiteral("<resized>"));
}

void TestImageWindow::failedDisplay()
{
    QFETCH(QString, path);
    QFETCH(QString, converter);
    QFETCH(QString, status);
#ifdef Q_OS_WIN
    QSKIP("The test converters are shell scripts.");
#endif
    const QByteArray big = QByteArray("\xFF\xD8\xFF", 3) + QByteArray(50000, 'x');
    m->server.serve("/silent.jpg", {200, {}, {}, true, true});
    m->server.serve("/big.jpg", {200, big, {}});
    m->server.serve("/stream.jpg", {200, big, {}, false});
    m->server.serveBody("/drawing.jpg",
                        "<svg xmlns=\"http://www.w3.org/2000/svg\"><image href=\"file:///etc/passwd\"/></svg>");
    m->server.serveBody("/empty.jpg", {});
    m->server.serveBody("/a.jpg", quarters({64, 48}, "JPEG"));
    m->server.serveBody("/damaged.png", QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(300, '\x07'));
    m->settings.downloadTimeoutMs = path == u"/silent.jpg" ? 300 : 10'000;
    m->settings.maxDownloadBytes = 20000;
    m->settings.conversionTimeoutMs = converter == u"real" ? displayWait : 500;
    if (converter == u"absent") {
        m->settings.converter = {m->tools.filePath(converter), {}};
    } else if (converter == u"sleep") {
        m->settings.converter = {m->script(converter, "exec sleep 20"), {}};
    } else if (converter == u"silent") {
        m->settings.converter = {m->script(converter, "exit 0"), {}};
    } else if (converter.isEmpty()) {
        m->settings.converter = {};
    }
    status.replace(QStringLiteral("<tools>"), m->tools.path())
        .replace(QStringLiteral("<resized>"), m->folder.resizedImage());

    ImageWindow* window = m->display(path);
    QCOMPARE(m->firstStatus, QStringLiteral("Téléchargement…"));
    QCOMPARE(m->endings, 1);
    QVERIFY2(window->status().startsWith(status), qPrintable(window->status()));
    QVERIFY(m->workFilesGone());
    QVERIFY(picture(window).isNull());
    QVERIFY(m->messenger.shown.isEmpty());
}

void TestImageWindow::converterCommandLine()
{
#ifdef Q_OS_WIN
    QSKIP("The test converter is a shell script.");
#endif
    // Pretends to be ImageMagick 7: notes where it runs and what it gets, then hands the picture on unchanged.
    const QString log = m->tools.filePath(QStringLiteral("calls.txt"));
    m->settings.converter = {m->script(QStringLiteral("magick"),
                                       "printf '%s\\n' \"$PWD\" \"$@\" > '" + log.toUtf8() + "'\ncp \"$2\" \"$5\""),
                             {QStringLiteral("convert")}};
    m->server.serveBody("/a.jpg", quarters({120, 90}, "JPEG"));

    ImageWindow* window = m->display(QStringLiteral("/a.jpg"));
    QFile calls(log);
    QVERIFY(calls.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(calls.readAll()).split(u'\n', Qt::SkipEmptyParts),
             QStringList({m->folder.path(), QStringLiteral("convert"), QStringLiteral("image_url.jpg"),
                          QStringLiteral("-resize"), QStringLiteral("800x400"), QStringLiteral("image2_url.jpg")}));
    QCOMPARE(picture(window).size(), QSize(120, 90));
    QVERIFY(m->workFilesGone());
}

void TestImageWindow::closingDuringDownload()
{
    m->main.show();
    m->server.serve("/silent.jpg", {200, {}, {}, true, true});
    QPointer<ImageWindow> window = m->open();
    window->display({QStringLiteral("042"), {}, m->server.url("/silent.jpg"), {}, {}});
    QTRY_COMPARE(m->server.requests.size(), 1);
    QVERIFY(QFile::exists(m->folder.downloadedImage()));

    window->close();
    QVERIFY(m->main.isVisible());
    QVERIFY(m->workFilesGone());
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(TestImageWindow)
#include "tst_imagewindow.moc"
