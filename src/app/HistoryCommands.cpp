#include "app/HistoryCommands.h"

#include "app/Opening.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueFolder.h"
#include "history/HistoryTexts.h"
#include "history/JournalFormat.h"
#include "ui/Messenger.h"

#include <QTextStream>

namespace HistoryCommands {

int printHistory(const QString& last, const CatalogueFolder& folder, Messenger& messenger)
{
    constexpr int byDefault = 20;
    bool numeric = true;
    const int count = last.isNull() ? byDefault : last.toInt(&numeric);
    if (!numeric || count <= 0) {
        QTextStream(stderr) << HistoryTexts::badLast() << '\n';
        return 2;
    }
    try {
        const Catalogue catalogue(folder.database(), Catalogue::Access::ReadOnly);
        const QList<JournalRecord> records = catalogue.journal(count);
        QTextStream out(stdout);
        if (records.isEmpty()) {
            out << HistoryTexts::emptyJournal() << '\n';
        }
        for (const JournalRecord& record : records) {
            out << JournalFormat::line(record) << '\n';
        }
        return 0;
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
}

int undoLast(const CatalogueFolder& folder, Messenger& messenger)
{
    try {
        const auto catalogue = Opening::openCatalogue(folder, messenger);
        const UndoOutcome outcome = catalogue->undo();
        if (outcome.refusal) {
            messenger.warning(*outcome.refusal);
            return 1;
        }
        QTextStream(stdout) << HistoryTexts::undone().arg(outcome.change.description) << '\n';
        return 0;
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
}

} // namespace HistoryCommands
