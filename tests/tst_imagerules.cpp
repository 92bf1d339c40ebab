#include "browsing/ImageChoice.h"
#include "image/ConverterCommand.h"
#include "image/ImageAddress.h"
#include "image/ImageSignature.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Problem = ImageAddress::Problem;
using Action = ImageChoice::Action;
using Option = ImageChoice::Option;

namespace {

/// A click on an entry of a category grid, and the choice it must make.
struct Click {
    int category = 0;
    QString url = {}; ///< null: the catalogue no longer holds the number
    QString link = {};
    Option option = Option::Window;
    ImageChoice made = {};
    bool showImage = true; ///< "Afficher" ticked
};

} // namespace

class TestImageRules : public QObject {
    Q_OBJECT

private slots:
    void addressChecks_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<Problem>("problem");
        const QString forum = QString::fromUtf16(ImageAddress::forumPrefix);
        const QString site = u"http://img.example/"_s;
        QTest::newRow("empty") << QString() << Problem::Missing;
        QTest::newRow("spaces only") << u"   "_s << Problem::Missing;
        QTest::newRow("ftp") << u"ftp://img.example/a.jpg"_s << Problem::NotWeb;
        QTest::newRow("leading space") << u" "_s + site + u"a.jpg"_s << Problem::NotWeb;
        QTest::newRow("mixed-case scheme") << u"HtTpS://img.example/a.jpg"_s << Problem::None;
        QTest::newRow("upper-case JPG") << site + u"A.JPG"_s << Problem::None;
        QTest::newRow("gif") << site + u"a.gif"_s << Problem::Gif;
        QTest::newRow("query after the name") << site + u"a.jpg?w=2"_s << Problem::BadExtension;
        for (const char* ending : {"jpg", "jpeg", "jpe", "png", "bmp", "tif", "tiff"}) {
            QTest::addRow("ending .%s", ending) << site + u"a."_s + QLatin1String(ending) << Problem::None;
        }
        QTest::newRow("forum prefix, gif") << forum + u"images/a.gif"_s << Problem::None;
        // One character short of the prefix, or another case: the extension checks apply again.
        QTest::newRow("prefix cut short") << forum.left(19) << Problem::BadExtension;
        QTest::newRow("prefix in upper case") << forum.toUpper() + u"a.gif"_s << Problem::Gif;
    }
    void addressChecks()
    {
        QFETCH(QString, address);
        QFETCH(Problem, problem);
        // Indexed by Problem, in the order of its enumerators.
        const QStringList messages = {QString(), u"URL non spécifiée."_s, u"URL invalide."_s,
                                      u"Format GIF non supporté. "_s, u"Extension invalide."_s};
        QCOMPARE(ImageAddress::check(address), problem);
        QCOMPARE(ImageAddress::message(problem), messages.at(int(problem)));
    }

    void signatures_data()
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
        // Formats ImageMagick would run or read other files for, and an error page.
        QTest::newRow("svg") << QByteArray("<svg xml") << false;
        QTest::newRow("postscript") << QByteArray("%!PS-Ado") << false;
        QTest::newRow("html error page") << QByteArray("<!DOCTYP") << false;
        QTest::newRow("png cut short") << QByteArray("\x89PNG", 4) << false;
        QTest::newRow("tiff with wrong magic") << QByteArray("II+\x00", 4) << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void signatures()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, accepted);
        QCOMPARE(ImageSignature::isAccepted(head), accepted);
    }

    void displayChoice_data()
    {
        QTest::addColumn<Click>("click");
        const QString img = u"http://img.example/42.jpg"_s;
        const QString post = u"https://sorvane.net/t/42"_s;
        const QString none = u"Non disponible"_s;
        const QString file = u"file:///etc/passwd"_s;
        const QString ftp = u"ftp://img.example/a.jpg"_s;
        const QString bare = u"sorvane.net/t/42"_s;
        const int dravé = 0, plomé = 1, tusqué = 2, vantorel = 3;
        QTest::newRow("number not in the catalogue") << Click{dravé, {}, post, Option::Window, {}};
        QTest::newRow("unticked") << Click{dravé, img, post, Option::Web, {}, false};
        // The image window runs its own checks and messages.
        QTest::newRow("window, any address") << Click{dravé, ftp, post, Option::Window, {Action::OpenWindow, ftp}};
        QTest::newRow("web") << Click{plomé, img, post, Option::Web, {Action::OpenOnDesktop, img}};
        QTest::newRow("forum") << Click{tusqué, img, post, Option::Forum, {Action::OpenOnDesktop, post}};
        QTest::newRow("url placeholder") << Click{dravé, none, post, Option::Window, {}};
        QTest::newRow("url spaces") << Click{dravé, u"  "_s, post, Option::Window, {}};
        QTest::newRow("vantorel, link placeholder") << Click{vantorel, img, none, Option::Web, {}};
        QTest::newRow("vantorel, both") << Click{vantorel, img, post, Option::Web, {Action::OpenOnDesktop, img}};
        QTest::newRow("dravé, link placeholder") << Click{dravé, img, none, Option::Web, {Action::OpenOnDesktop, img}};
        QTest::newRow("tusqué, link placeholder, forum") << Click{tusqué, img, none, Option::Forum, {}};
        QTest::newRow("local file, web") << Click{dravé, file, post, Option::Web, {Action::Refuse, file}};
        QTest::newRow("ftp, web") << Click{dravé, ftp, post, Option::Web, {Action::Refuse, ftp}};
        QTest::newRow("no scheme, forum") << Click{dravé, img, bare, Option::Forum, {Action::Refuse, bare}};
        QTest::newRow("upper-case scheme, web")
            << Click{dravé, img.toUpper(), post, Option::Web, {Action::OpenOnDesktop, img.toUpper()}};
    }
    void displayChoice()
    {
        QFETCH(Click, click);
        std::optional<PuzzleEntry> entry;
        if (!click.url.isNull()) {
            entry = PuzzleEntry{u"042"_s, u"Réponse"_s, u"Léa"_s, click.url, click.link};
        }
        const ImageChoice made =
            ImageChoice::decide(Category::all().at(click.category), entry, click.showImage, click.option);
        QCOMPARE(made.action, click.made.action);
        QCOMPARE(made.address, click.made.address);
    }

    void converterLookup()
    {
#ifdef Q_OS_WIN
        QSKIP("Looks for programs by their executable bit.");
#endif
        QTemporaryDir seven, six, nothing;
        for (const QString& path :
             {seven.filePath(u"magick"_s), seven.filePath(u"convert"_s), six.filePath(u"convert"_s)}) {
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        const QStringList resize = {u"in.jpg"_s, u"-resize"_s, u"800x400"_s, u"out.jpg"_s};
        const ConverterCommand magick = ConverterCommand::locate({seven.path()});
        QCOMPARE(magick.program, seven.filePath(u"magick"_s));
        QCOMPARE(magick.arguments(u"in.jpg"_s, u"out.jpg"_s), QStringList{u"convert"_s} + resize);
        const ConverterCommand convert = ConverterCommand::locate({six.path()});
        QCOMPARE(convert.program, six.filePath(u"convert"_s));
        QCOMPARE(convert.arguments(u"in.jpg"_s, u"out.jpg"_s), resize);
        QVERIFY(ConverterCommand::locate({nothing.path()}).program.isEmpty());
    }
};
QTEST_GUILESS_MAIN(TestImageRules)
#include "tst_imagerules.moc"
