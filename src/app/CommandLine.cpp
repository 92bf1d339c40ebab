#include "app/CommandLine.h"

#include "app/AppTexts.h"
#include "app/ConsistencyCommand.h"
#include "app/ConsoleMessenger.h"
#include "app/HistoryCommands.h"
#include "app/LinkJobs.h"
#include "app/Opening.h"
#include "app/PublishCommands.h"
#include "app/TransferCommands.h"
#include "catalogue/CatalogueFolder.h"
#include "consistency/ConsistencyTexts.h"
#include "history/HistoryTexts.h"
#include "links/LinksTexts.h"
#include "publish/PublishTexts.h"
#include "transfer/TransferTexts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

#include <functional>

namespace CommandLine {

namespace {

/// What a command is given: its value, and the values of the settings it takes that were set, by name.
struct Input {
    QString value;
    QHash<QString, QString> settings;
};

/// A command: `mezor --<name> [VALUE] [--<setting> VALUE…] [dossier]`. It runs with the folder's lock held, as the
/// window does; one that only reads also runs where no lock can be written (read-only media).
struct Command {
    QString name;
    QString valueName; ///< empty when the command takes no value
    QString description;
    bool writes;
    /// Prints its report and returns the exit status: 0 done, 1 refused or failed, 2 a value that is not one.
    std::function<int(const Input& input, const CatalogueFolder& folder, Messenger& messenger)> run;
    QStringList settings; ///< the settings it takes
};

/// An option that refines a command rather than being one: `--from 12` for `--bbcode`.
struct Setting {
    QString name;
    QString valueName;
    QString description;
};

using ValueCommand = int (*)(const QString& value, const CatalogueFolder& folder, Messenger& messenger);

// A command that takes its value and no setting.
auto valueOnly(ValueCommand command)
{
    return [command](const Input& input, const CatalogueFolder& folder, Messenger& messenger) {
        return command(input.value, folder, messenger);
    };
}

const QList<Setting>& settings()
{
    static const QList<Setting> all = {
        {QStringLiteral("from"), PublishTexts::numberValue(), PublishTexts::fromHelp()},
        {QStringLiteral("to"), PublishTexts::numberValue(), PublishTexts::toHelp()},
        {QStringLiteral("limit"), PublishTexts::numberValue(), PublishTexts::limitHelp()},
        {QStringLiteral("last"), HistoryTexts::lastValue(), HistoryTexts::lastHelp()},
    };
    return all;
}

const QList<Command>& commands()
{
    static const QList<Command> all = {
        // The catalogue in and out: CSV files, and the old program's Access file.
        {QStringLiteral("export"),
         TransferTexts::csvFolderValue(),
         TransferTexts::exportHelp(),
         false,
         valueOnly(TransferCommands::exportCatalogue),
         {}},
        {QStringLiteral("import"),
         TransferTexts::csvFolderValue(),
         TransferTexts::importHelp(),
         true,
         valueOnly(TransferCommands::importCsv),
         {}},
        {QStringLiteral("import-mdb"),
         TransferTexts::mdbFileValue(),
         TransferTexts::importMdbHelp(),
         true,
         valueOnly(TransferCommands::importAccess),
         {}},
        // Links that last: the link check and the image archive.
        {QStringLiteral("check-links"),
         {},
         LinksTexts::checkCommandHelp(),
         false,
         [](const Input&, const CatalogueFolder& folder, Messenger& messenger) {
             return LinkJobs::checkLinksCommand(folder, messenger);
         },
         {}},
        {QStringLiteral("archive-images"),
         {},
         LinksTexts::archiveCommandHelp(),
         true,
         [](const Input&, const CatalogueFolder& folder, Messenger& messenger) {
             return LinkJobs::archiveImagesCommand(folder, messenger);
         },
         {}},
        // The journal of changes.
        {QStringLiteral("history"),
         {},
         HistoryTexts::historyHelp(),
         false,
         [](const Input& input, const CatalogueFolder& folder, Messenger& messenger) {
             return HistoryCommands::printHistory(input.settings.value(QStringLiteral("last")), folder, messenger);
         },
         {QStringLiteral("last")}},
        {QStringLiteral("undo"),
         {},
         HistoryTexts::undoHelp(),
         true,
         [](const Input&, const CatalogueFolder& folder, Messenger& messenger) {
             return HistoryCommands::undoLast(folder, messenger);
         },
         {}},
        // The catalogue for the forum: a series' recap in BBCode, the HTML catalogue.
        {QStringLiteral("bbcode"),
         PublishTexts::seriesValue(),
         PublishTexts::bbcodeHelp(),
         false,
         [](const Input& input, const CatalogueFolder& folder, Messenger& messenger) {
             return PublishCommands::bbcode(input.value, input.settings, folder, messenger);
         },
         {QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("limit")}},
        {QStringLiteral("publish"),
         PublishTexts::folderValue(),
         PublishTexts::publishHelp(),
         false,
         valueOnly(PublishCommands::publish),
         {}},
        // The consistency check, read-only.
        {QStringLiteral("check"),
         {},
         ConsistencyTexts::commandHelp(),
         false,
         [](const Input&, const CatalogueFolder& folder, Messenger& messenger) {
             return ConsistencyCommand::run(folder, messenger);
         },
         {}},
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
    for (const Setting& setting : settings()) {
        parser.addOption(QCommandLineOption(setting.name, setting.description, setting.valueName));
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
    Input input{chosen->valueName.isEmpty() ? QString() : parser.value(chosen->name), {}};
    for (const Setting& setting : settings()) {
        if (!parser.isSet(setting.name)) {
            continue;
        }
        if (!chosen->settings.contains(setting.name)) {
            return usageError(parser, AppTexts::settingElsewhere().arg(setting.name, chosen->name));
        }
        input.settings.insert(setting.name, parser.value(setting.name));
    }
    const CatalogueFolder folder(chosenFolder(parser.positionalArguments().value(0)));
    ConsoleMessenger messenger;
    const auto lock = Opening::lockFolder(folder, messenger);
    if (!lock) {
        return 1;
    }
    if (chosen->writes && !lock->isHeld()) {
        messenger.critical(AppTexts::cannotLock().arg(QDir::toNativeSeparators(folder.path())));
        return 1;
    }
    return chosen->run(input, folder, messenger);
}

} // namespace CommandLine
