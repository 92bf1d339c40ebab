#include "app/TransferCommands.h"

#include "app/Opening.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueFolder.h"
#include "transfer/AccessFile.h"
#include "transfer/CsvFolder.h"
#include "transfer/TransferTexts.h"
#include "ui/Messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace TransferCommands {

namespace {

using Status = ImportOutcome::Status;

int emptyValue(const QString& command)
{
    QTextStream(stderr) << TransferTexts::emptyValue().arg(command) << '\n';
    return 2;
}

int print(const ImportOutcome& outcome, Messenger& messenger)
{
    if (outcome.status == Status::Failed) {
        messenger.critical(outcome.heading, outcome.detail);
        return 1;
    }
    // The report on the standard output; a refusal, like every error, on the standard error.
    QTextStream out(outcome.status == Status::Done ? stdout : stderr);
    out << outcome.heading << '\n';
    for (const QString& line : outcome.lines) {
        out << (line.isEmpty() ? QString() : u"  "_s + line) << '\n';
    }
    return outcome.status == Status::Done ? 0 : 1;
}

// `--<command> SOURCE`: what `read` takes from SOURCE, imported and reported.
int importCommand(const QString& command, const QString& source, ImportInput (*read)(const QString&),
                  const CatalogueFolder& folder, Messenger& messenger)
{
    if (source.isEmpty()) {
        return emptyValue(command);
    }
    return print(importInto(
                     folder, [&] { return read(source); }, messenger),
                 messenger);
}

} // namespace

int exportCatalogue(const QString& csvFolder, const CatalogueFolder& folder, Messenger& messenger)
{
    if (csvFolder.isEmpty()) {
        return emptyValue(QStringLiteral("export"));
    }
    try {
        const Catalogue catalogue(folder.database());
        const QStringList names = CsvFolder::write(catalogue, csvFolder);
        QTextStream(stdout) << TransferTexts::exported().arg(QDir::toNativeSeparators(QDir(csvFolder).absolutePath()),
                                                             names.join(QStringLiteral(", ")))
                            << '\n';
        return 0;
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
}

int importCsv(const QString& csvFolder, const CatalogueFolder& folder, Messenger& messenger)
{
    return importCommand(QStringLiteral("import"), csvFolder, &CsvFolder::read, folder, messenger);
}

int importAccess(const QString& file, const CatalogueFolder& folder, Messenger& messenger)
{
    return importCommand(QStringLiteral("import-mdb"), file, &AccessFile::read, folder, messenger);
}

ImportOutcome importInto(const CatalogueFolder& folder, const std::function<ImportInput()>& gather,
                         Messenger& messenger)
{
    std::unique_ptr<Catalogue> catalogue;
    const auto open = [&]() -> Catalogue& {
        if (!catalogue) {
            if (!QFileInfo::exists(folder.database())) {
                Opening::createCatalogue(folder);
            }
            catalogue = Opening::openCatalogue(folder, messenger);
        }
        return *catalogue;
    };
    try {
        if (QFileInfo::exists(folder.database()) && !open().isEmpty()) {
            return {Status::Refused, TransferTexts::notEmpty(), {}, {}};
        }
    } catch (const CatalogueError& error) {
        return {Status::Failed, error.message(), {}, error.detail()};
    }
    return CatalogueImport::run(gather(), open);
}

bool importOldCatalogue(const CatalogueFolder& folder, Messenger& messenger)
{
    const QString file = AccessFile::inFolder(folder);
    const ImportOutcome outcome = importInto(
        folder, [&] { return AccessFile::read(file); }, messenger);
    // A box cannot show hundreds of lines: the command lists them all.
    constexpr qsizetype shown = 20;
    QStringList lines = outcome.lines.first(std::min(shown, outcome.lines.size()));
    if (outcome.lines.size() > shown) {
        lines.append(TransferTexts::seeCommand().arg(outcome.lines.size() - shown).arg(QDir::toNativeSeparators(file)));
    }
    switch (outcome.status) {
    case Status::Done:
        messenger.show(Messenger::Icon::Information, outcome.heading, lines.join(u'\n'));
        return true;
    case Status::Refused:
        messenger.critical(outcome.heading, lines.join(u'\n'));
        return false;
    case Status::Failed:
        break;
    }
    messenger.critical(outcome.heading, outcome.detail);
    return false;
}

} // namespace TransferCommands
