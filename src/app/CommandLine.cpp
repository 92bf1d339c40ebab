#include "app/CommandLine.h"

#include "app/AppTexts.h"
#include "app/ConsistencyCommand.h"
#include "app/ConsoleMessenger.h"
#include "app/LinkJobs.h"
#include "app/Startup.h"
#include "app/TransferCommands.h"
#include "catalogue/CatalogueFolder.h"
#include "consistency/ConsistencyTexts.h"
#include "links/LinksTexts.h"
#include "transfer/TransferTexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLockFile>
#include <QStandardPaths>
#include <QTextStream>

#include <functional>

namespace CommandLine {

namespace {

/// A command: `mezor --<name> [VALUE] [dossier]`. It runs with the folder's lock held, as the window does.
struct Command {
    QString name;
    QString valueName; ///< empty when the command takes no value
    QString description;
    /// Prints its report and returns the exit status: 0 done, 1 refused or failed.
    std::function<int(const QString& value, const CatalogueFolder& folder, Messenger& messenger)> run;
};

const QList<Command>& commands()
{
    static const QList<Command> all = {
        // The catalogue in and out: CSV files, and the old program's Access file.
        {QStringLiteral("export"), TransferTexts::csvFolderValue(), TransferTexts::exportHelp(),
         TransferCommands::exportCatalogue},
        {QStringLiteral("import"), TransferTexts::csvFolderValue(), TransferTexts::importHelp(),
         TransferCommands::importCsv},
        {QStringLiteral("import-mdb"), TransferTexts::mdbFileValue(), TransferTexts::importMdbHelp(),
         TransferCommands::importAccess},
        // Links that last: the link check and the image archive.
        {QStringLiteral("check-links"),
         {},
         LinksTexts::checkCommandHelp(),
         [](const QString&, const CatalogueFolder& folder, Messenger& messenger) {
             return LinkJobs::checkLinksCommand(folder, messenger);
         }},
        {QStringLiteral("archive-images"),
         {},
         LinksTexts::archiveCommandHelp(),
         [](const QString&, const CatalogueFolder& folder, Messenger& messenger) {
             return LinkJobs::archiveImagesCommand(folder, messenger);
         }},
        // The consistency check, read-only.
        {QStringLiteral("check"),
         {},
         ConsistencyTexts::commandHelp(),
         [](const QString&, const CatalogueFolder& folder, Messenger& messenger) {
             return ConsistencyCommand::run(folder, messenger);
         }},
    };
    return all;
}

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
    for (const Command& command : commands()) {
        parser.addOption(QCommandLineOption(command.name, command.description, command.valueName));
    }
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
    const Command* chosen = nullptr;
    for (const Command& command : commands()) {
        if (parser.isSet(command.name)) {
            if (chosen) {
                return usageError(parser, AppTexts::oneCommandOnly());
            }
            chosen = &command;
        }
    }
    if (!chosen) {
        return usageError(parser, AppTexts::moreHelp());
    }
    const CatalogueFolder folder(chosenFolder(parser.positionalArguments().value(0)));
    ConsoleMessenger messenger;
    const auto lock = Startup::lockFolder(folder, messenger);
    if (!lock) {
        return 1;
    }
    return chosen->run(chosen->valueName.isEmpty() ? QString() : parser.value(chosen->name), folder, messenger);
}

} // namespace CommandLine
