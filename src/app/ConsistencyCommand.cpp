#include "app/ConsistencyCommand.h"

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueFolder.h"
#include "consistency/ConsistencyCheck.h"
#include "consistency/ConsistencyRules.h"
#include "consistency/ConsistencyTexts.h"
#include "ui/Messenger.h"

#include <QTextStream>

namespace ConsistencyCommand {

int run(const CatalogueFolder& folder, Messenger& messenger)
{
    ConsistencyCheck::Result result;
    try {
        // A report only: the file is opened read-only, so not even an older file's upgrade is written.
        const Catalogue catalogue(folder.database(), Catalogue::Access::ReadOnly);
        result = ConsistencyCheck::run(catalogue);
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
    QTextStream out(stdout);
    for (const QString& line : ConsistencyRules::report(result.findings)) {
        out << line << '\n';
    }
    out << (result.findings.isEmpty() ? ConsistencyTexts::nothingFound()
                                      : ConsistencyTexts::summary().arg(result.findings.size()))
        << '\n';
    if (result.silenced > 0) {
        out << ConsistencyTexts::marksSilent().arg(result.silenced) << '\n';
    }
    return result.findings.isEmpty() ? 0 : 1;
}

} // namespace ConsistencyCommand
