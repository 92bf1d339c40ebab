#include "app/CommandLine.h"

#include "app/AppTexts.h"
#include "catalogue/CatalogueFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QTextStream>

namespace CommandLine {

namespace {

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, AppTexts::helpOption());
}

QCommandLineOption versionOption()
{
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")}, AppTexts::versionOption());
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(AppTexts::description());
    parser.addOption(helpOption());
    parser.addOption(versionOption());
    parser.addPositionalArgument(AppTexts::folderArgument(), AppTexts::folderHelp(),
                                 u'[' + AppTexts::folderArgument() + u']');
}

// The first lines of the help: the usage line and the description, not the list of every option.
QString helpHead(const QCommandLineParser& parser)
{
    const QStringList lines = parser.helpText().split(u'\n');
    return lines.mid(0, 3).join(u'\n');
}

int usageError(const QCommandLineParser& parser, const QString& error)
{
    QTextStream err(stderr);
    err << AppTexts::usageError().arg(error) << '\n' << helpHead(parser) << '\n' << AppTexts::moreHelp() << '\n';
    return 2;
}

} // namespace

bool isCommand(const QStringList& arguments)
{
    // A folder is the only thing the window takes; anything that looks like an option is for the parser, which
    // explains what it does not know. "--" ends the options, so "mezor -- -dossier" opens that folder.
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"--") {
            return false;
        }
        if (argument.startsWith(u'-')) {
            return true;
        }
    }
    return false;
}

QString chosenFolder(const QString& given)
{
    return CatalogueFolder::choose(given, QCoreApplication::applicationDirPath(),
                                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

int run(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(arguments)) {
        return usageError(parser, parser.errorText());
    }
    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << AppTexts::version().arg(QCoreApplication::applicationVersion()) << '\n';
        return 0;
    }
    if (parser.positionalArguments().size() > 1) {
        return usageError(parser, AppTexts::tooManyArguments());
    }
    return usageError(parser, AppTexts::moreHelp());
}

} // namespace CommandLine
