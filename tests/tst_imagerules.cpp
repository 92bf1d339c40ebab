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

    const QString forum = QString::fromUtf16(ImageAddress::forumPrefix);
    const QString site = QStringLiteral("http://img.example/");
    QTest::newRow("empty") << QString() << Problem::Missing;
    QTest::newRow("spaces only") << QStringLiteral("   ") << Problem::Missing;
    QTest::newRow("ftp") << QStringLiteral("ftp://img.example/a.jpg") << Problem::NotWeb;
    QTest::newRow("leading space") << QStringLiteral(" ") + site + QStringLiteral("a.jpg") << Problem::NotWeb;
    QTest::newRow("mixed-case scheme") << QStringLiteral("HtTpS://img.example/a.jpg") << Problem::None;
    QTest::newRow("upper-case JPG") << site + QStringLiteral("A.JPG") << Problem::None;
    QTest::newRow("gif") << site + QStringLiteral("a.gif") << Problem::Gif;
    QTest::newRow("GIF upper case") << site + QStringLiteral("a.GIF") << Problem::Gif;
    QTest::newRow("webp") << site + QStringLiteral("a.webp") << Problem::BadExtension;
    QTest::newRow("query after the name") << site + QStringLiteral("a.jpg?w=2") << Problem::BadExtension;
    for (const char* ending : {"jpg", "jpeg", "jpe", "png", "bmp", "tif", "tiff"}) {
        QTest::addRow("ending .%s", ending) << site + QStringLiteral("a.") + QLatin1String(ending) << Problem::None;
    }
    QTest::newRow("forum prefix, gif") << forum + QStringLiteral("images/a.gif") << Problem::None;
    QTest::newRow("forum prefix, no extension") << forum + QStringLiteral("image.php?id=42") << Problem::None;
    // One character short of the prefix, or another case: the extension checks apply again.
    QTest::newRow("prefix cut short") << forum.left(19) << Problem::BadExtension;
    QTest::newRow("prefix in upper case") << forum.toUpper() + QStringLiteral("a.gif") << Problem::Gif;
}

void TestImageRules::addressChecks()
{
    QFETCH(QString, address);
    QFETCH(Problem, problem);
    // Indexed by Problem, in the order of its enumerators.
    const QStringList messages = {QString(), QStringLiteral("URL non spécifiée."), QStringLiteral("URL invalide."),
                                  QStringLiteral("Format GIF non supporté. "), QStringLiteral("Extension invalide.")};
    QCOMPARE(ImageAddress::check(address), problem);
    QCOMPARE(ImageAddress::message(problem), messages.at(int(problem)));
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

    const QString img = QStringLiteral("http://img.example/42.jpg");
    const QString post = QStringLiteral("https://sorvane.net/t/42");
    const QString none = QStringLiteral("Non disponible");
    const QString file = QStringLiteral("file:///etc/passwd");
    const QString exe = QStringLiteral("C:\\Windows\\calc.exe");
    const QString bare = QStringLiteral("sorvane.net/t/42");
    const QString upper = QStringLiteral("HTTP://IMG.EXAMPLE/A.JPG");
    const QString ftp = QStringLiteral("ftp://img.example/a.jpg");
    const int dravé = 0, plomé = 1, tusqué = 2, vantorel = 3;
    const auto row = [](const char* name, int category, const QString& url, const QString& link, Option option,
                        Action action, const QString& address, bool found = true, bool show = true) {
        QTest::newRow(name) << category << url << link << found << show << option << action << address;
    };

    row("unticked", dravé, img, post, Option::Web, Action::Nothing, {}, true, false);
    row("window", dravé, img, post, Option::Window, Action::OpenWindow, img);
    row("web", plomé, img, post, Option::Web, Action::OpenOnDesktop, img);
    row("forum", tusqué, img, post, Option::Forum, Action::OpenOnDesktop, post);
    row("url placeholder, window", dravé, none, post, Option::Window, Action::Nothing, {});
    row("url placeholder, forum", tusqué, none, post, Option::Forum, Action::Nothing, {});
    row("url empty", dravé, {}, post, Option::Web, Action::Nothing, {});
    row("url spaces", dravé, QStringLiteral("  "), post, Option::Window, Action::Nothing, {});
    row("vantorel, link placeholder, web", vantorel, img, none, Option::Web, Action::Nothing, {});
    row("vantorel, link empty, window", vantorel, img, {}, Option::Window, Action::Nothing, {});
    row("vantorel, both, web", vantorel, img, post, Option::Web, Action::OpenOnDesktop, img);
    row("dravé, link placeholder, web", dravé, img, none, Option::Web, Action::OpenOnDesktop, img);
    row("plomé, link placeholder, window", plomé, img, none, Option::Window, Action::OpenWindow, img);
    row("tusqué, link placeholder, forum", tusqué, img, none, Option::Forum, Action::Nothing, {});
    row("plomé, link empty, forum", plomé, img, {}, Option::Forum, Action::Nothing, {});
    row("local file, web", dravé, file, post, Option::Web, Action::Refuse, file);
    row("windows program, web", dravé, exe, post, Option::Web, Action::Refuse, exe);
    row("no scheme, forum", dravé, img, bare, Option::Forum, Action::Refuse, bare);
    row("upper-case scheme, web", dravé, upper, post, Option::Web, Action::OpenOnDesktop, upper);
    // The image window runs its own checks and messages.
    row("ftp, window", dravé, ftp, post, Option::Window, Action::OpenWindow, ftp);
    row("number not in the catalogue", dravé, img, post, Option::Window, Action::Nothing, {}, false);
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
    QTemporaryDir seven, six, nothing;
    for (const QString& path : {seven.filePath(QStringLiteral("magick")), seven.filePath(QStringLiteral("convert")),
                                six.filePath(QStringLiteral("convert"))}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }
    const QStringList resize = {QStringLiteral("in.jpg"), QStringLiteral("-resize"), QStringLiteral("800x400"),
                                QStringLiteral("out.jpg")};

    const ConverterCommand magick = ConverterCommand::locate({seven.path()});
    QCOMPARE(magick.program, seven.filePath(QStringLiteral("magick")));
    QCOMPARE(magick.arguments(QStringLiteral("in.jpg"), QStringLiteral("out.jpg")),
             QStringList{QStringLiteral("convert")} + resize);
    const ConverterCommand convert = ConverterCommand::locate({six.path()});
    QCOMPARE(convert.program, six.filePath(QStringLiteral("convert")));
    QCOMPARE(convert.arguments(QStringLiteral("in.jpg"), QStringLiteral("out.jpg")), resize);
    QVERIFY(ConverterCommand::locate({nothing.path()}).program.isEmpty());
}

QTEST_GUILESS_MAIN(TestImageRules)
#include "tst_imagerules.moc"
