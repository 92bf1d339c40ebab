#include "browsing/ImageChoice.h"
#include "image/ConverterCommand.h"
#include "image/ImageAddress.h"
#include "image/ImageSignature.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Problem = ImageAddress::Problem;
using Action = ImageChoice::Action;
using Option = ImageChoice::Option;

Q_DECLARE_METATYPE(ImageAddress::Problem)
Q_DECLARE_METATYPE(ImageChoice::Action)
Q_DECLARE_METATYPE(ImageChoice::Option)

class TestImageRules : public QObject {
    Q_OBJECT

private slots:
    void addressChecks_data();
    void addressChecks();
    void signatures_data();
    void signatures();
    void displayChoice_data();
    void displayChoice();
    void converterLookup();
};

void TestImageRules::addressChecks_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<QString>("message");

    const QString forum = QString::fromUtf16(ImageAddress::forumPrefix);
    QTest::newRow("empty") << QString() << Problem::Missing << QStringLiteral("URL non spécifiée.");
    QTest::newRow("spaces only") << QStringLiteral("   ") << Problem::Missing << QStringLiteral("URL non spécifiée.");
    QTest::newRow("ftp") << QStringLiteral("ftp://img.example/a.jpg") << Problem::NotWeb
                         << QStringLiteral("URL invalide.");
    QTest::newRow("leading space") << QStringLiteral(" http://img.example/a.jpg") << Problem::NotWeb
                                   << QStringLiteral("URL invalide.");
    QTest::newRow("mixed-case scheme") << QStringLiteral("HtTpS://img.example/a.jpg") << Problem::None << QString();
    QTest::newRow("upper-case JPG") << QStringLiteral("http://img.example/A.JPG") << Problem::None << QString();
    QTest::newRow("gif") << QStringLiteral("http://img.example/a.gif") << Problem::Gif
                         << QStringLiteral("Format GIF non supporté. ");
    QTest::newRow("GIF upper case") << QStringLiteral("http://img.example/a.GIF") << Problem::Gif
                                    << QStringLiteral("Format GIF non supporté. ");
    QTest::newRow("webp") << QStringLiteral("http://img.example/a.webp") << Problem::BadExtension
                          << QStringLiteral("Extension invalide.");
    QTest::newRow("query after the name") << QStringLiteral("http://img.example/a.jpg?w=2") << Problem::BadExtension
                                          << QStringLiteral("Extension invalide.");
    for (const char* ending : {"jpg", "jpeg", "jpe", "png", "bmp", "tif", "tiff"}) {
        QTest::addRow("ending .%s", ending)
            << QStringLiteral("http://img.example/a.") + QLatin1String(ending) << Problem::None << QString();
    }
    QTest::newRow("forum prefix, gif") << forum + QStringLiteral("images/a.gif") << Problem::None << QString();
    QTest::newRow("forum prefix, no extension")
        << forum + QStringLiteral("image.php?id=42") << Problem::None << QString();
    // One character short of the prefix, or another case: the extension checks apply again.
    QTest::newRow("prefix cut short") << forum.left(19) << Problem::BadExtension
                                      << QStringLiteral("Extension invalide.");
    QTest::newRow("prefix in upper case")
        << forum.toUpper() + QStringLiteral("a.gif") << Problem::Gif << QStringLiteral("Format GIF non supporté. ");
}

void TestImageRules::addressChecks()
{
    QFETCH(QString, address);
    QFETCH(Problem, problem);
    QFETCH(QString, message);
    QCOMPARE(ImageAddress::check(address), problem);
    QCOMPARE(ImageAddress::message(problem), message);
}

void TestImageRules::signatures_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("jpeg") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JF", 8) << true;
    QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1A\n", 8) << true;
    QTest::newRow("gif87a") << QByteArray("GIF87a\x01\x00", 8) << true;
    QTest::newRow("gif89a") << QByteArray("GIF89a\x01\x00", 8) << true;
    QTest::newRow("bmp") << QByteArray("BM6\x00\x00\x00\x00\x00", 8) << true;
    QTest::newRow("tiff little-endian") << QByteArray("II*\x00\x08\x00\x00\x00", 8) << true;
    QTest::newRow("tiff big-endian") << QByteArray("MM\x00*\x00\x00\x00\x08", 8) << true;
    QTest::newRow("svg") << QByteArray("<svg xml") << false;
    QTest::newRow("xml svg") << QByteArray("<?xml ve") << false;
    QTest::newRow("postscript") << QByteArray("%!PS-Ado") << false;
    QTest::newRow("mvg") << QByteArray("push gra") << false;
    QTest::newRow("html error page") << QByteArray("<!DOCTYP") << false;
    QTest::newRow("png cut short") << QByteArray("\x89PNG", 4) << false;
    QTest::newRow("tiff with wrong magic") << QByteArray("II+\x00", 4) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestImageRules::signatures()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, accepted);
    QCOMPARE(ImageSignature::isAccepted(head), accepted);
}

void TestImageRules::displayChoice_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("show");
    QTest::addColumn<Option>("option");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("address");

    const QString image = QStringLiteral("http://img.example/42.jpg");
    const QString post = QStringLiteral("https://sorvane.net/t/42");
    const QString none = QStringLiteral("Non disponible");
    const int dravé = 0, plomé = 1, tusqué = 2, vantorel = 3;

    QTest::newRow("unticked") << dravé << image << post << true << false << Option::Web << Action::Nothing << QString();
    QTest::newRow("window") << dravé << image << post << true << true << Option::Window << Action::OpenWindow << image;
    QTest::newRow("web") << plomé << image << post << true << true << Option::Web << Action::OpenOnDesktop << image;
    QTest::newRow("forum") << tusqué << image << post << true << true << Option::Forum << Action::OpenOnDesktop << post;
    QTest::newRow("url placeholder, window")
        << dravé << none << post << true << true << Option::Window << Action::Nothing << QString();
    QTest::newRow("url placeholder, forum")
        << tusqué << none << post << true << true << Option::Forum << Action::Nothing << QString();
    QTest::newRow("url empty") << dravé << QString() << post << true << true << Option::Web << Action::Nothing
                               << QString();
    QTest::newRow("url spaces") << dravé << QStringLiteral("  ") << post << true << true << Option::Window
                                << Action::Nothing << QString();
    QTest::newRow("vantorel, link placeholder, web")
        << vantorel << image << none << true << true << Option::Web << Action::Nothing << QString();
    QTest::newRow("vantorel, link empty, window")
        << vantorel << image << QString() << true << true << Option::Window << Action::Nothing << QString();
    QTest::newRow("vantorel, both, web") << vantorel << image << post << true << true << Option::Web
                                         << Action::OpenOnDesktop << image;
    QTest::newRow("dravé, link placeholder, web")
        << dravé << image << none << true << true << Option::Web << Action::OpenOnDesktop << image;
    QTest::newRow("plomé, link placeholder, window")
        << plomé << image << none << true << true << Option::Window << Action::OpenWindow << image;
    QTest::newRow("tusqué, link placeholder, forum")
        << tusqué << image << none << true << true << Option::Forum << Action::Nothing << QString();
    QTest::newRow("plomé, link empty, forum")
        << plomé << image << QString() << true << true << Option::Forum << Action::Nothing << QString();
    QTest::newRow("local file, web") << dravé << QStringLiteral("file:///etc/passwd") << post << true << true
                                     << Option::Web << Action::Refuse << QStringLiteral("file:///etc/passwd");
    QTest::newRow("windows program, web") << dravé << QStringLiteral("C:\\Windows\\calc.exe") << post << true << true
                                          << Option::Web << Action::Refuse << QStringLiteral("C:\\Windows\\calc.exe");
    QTest::newRow("no scheme, forum") << dravé << image << QStringLiteral("sorvane.net/t/42") << true << true
                                      << Option::Forum << Action::Refuse << QStringLiteral("sorvane.net/t/42");
    QTest::newRow("upper-case scheme, web")
        << dravé << QStringLiteral("HTTP://IMG.EXAMPLE/A.JPG") << post << true << true << Option::Web
        << Action::OpenOnDesktop << QStringLiteral("HTTP://IMG.EXAMPLE/A.JPG");
    // The image window runs its own checks and messages.
    QTest::newRow("ftp, window") << dravé << QStringLiteral("ftp://img.example/a.jpg") << post << true << true
                                 << Option::Window << Action::OpenWindow << QStringLiteral("ftp://img.example/a.jpg");
    QTest::newRow("number not in the catalogue")
        << dravé << image << post << false << true << Option::Window << Action::Nothing << QString();
}

void TestImageRules::displayChoice()
{
    QFETCH(int, category);
    QFETCH(QString, url);
    QFETCH(QString, link);
    QFETCH(bool, found);
    QFETCH(bool, show);
    QFETCH(Option, option);
    QFETCH(Action, action);
    QFETCH(QString, address);

    std::optional<PuzzleEntry> entry;
    if (found) {
        entry = PuzzleEntry{QStringLiteral("042"), QStringLiteral("Réponse"), QStringLiteral("Léa"), url, link};
    }
    const ImageChoice choice = ImageChoice::decide(Category::all().at(category), entry, show, option);
    QCOMPARE(choice.action, action);
    QCOMPARE(choice.address, address);
}

void TestImageRules::converterLookup()
{
#ifdef Q_OS_WIN
    QSKIP("Looks for programs by their executable bit.");
#endif
    QTemporaryDir seven;
    QTemporaryDir six;
    QTemporaryDir nothing;
    const auto makeProgram = [](const QString& path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    };
    makeProgram(seven.filePath(QStringLiteral("magick")));
    makeProgram(seven.filePath(QStringLiteral("convert")));
    makeProgram(six.filePath(QStringLiteral("convert")));

    const ConverterCommand magick = ConverterCommand::locate({seven.path()});
    QCOMPARE(magick.program, seven.filePath(QStringLiteral("magick")));
    QCOMPARE(magick.arguments(QStringLiteral("in.jpg"), QStringLiteral("out.jpg")),
             QStringList({QStringLiteral("convert"), QStringLiteral("in.jpg"), QStringLiteral("-resize"),
                          QStringLiteral("800x400"), QStringLiteral("out.jpg")}));

    const ConverterCommand convert = ConverterCommand::locate({six.path()});
    QCOMPARE(convert.program, six.filePath(QStringLiteral("convert")));
    QCOMPARE(convert.arguments(QStringLiteral("in.jpg"), QStringLiteral("out.jpg")),
             QStringList({QStringLiteral("in.jpg"), QStringLiteral("-resize"), QStringLiteral("800x400"),
                          QStringLiteral("out.jpg")}));

    QVERIFY(ConverterCommand::locate({nothing.path()}).program.isEmpty());
}

QTEST_GUILESS_MAIN(TestImageRules)
#include "tst_imagerules.moc"
