#include "app/PublishCommands.h"

#include "app/AppTexts.h"
#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "publish/BbcodeRecap.h"
#include "publish/PublicationPlan.h"
#include "publish/PublishTexts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

namespace PublishCommands {

namespace {

int usage(const QString& error)
{
    QTextStream(stderr) << AppTexts::usageError().arg(error) << '\n' << AppTexts::moreHelp() << '\n';
    return 2;
}

} // namespace

int bbcode(const QString& series, const QHash<QString, QString>& settings, const CatalogueFolder& folder,
           Messenger& messenger)
{
    const Category* category = BbcodeRecap::seriesNamed(series);
    if (!category) {
        return usage(PublishTexts::unknownSeries().arg(series));
    }
    BbcodeRecap::Options options;
    const std::pair<QString, int*> numbers[] = {{QStringLiteral("from"), &options.from},
                                                {QStringLiteral("to"), &options.to},
                                                {QStringLiteral("limit"), &options.limit}};
    for (const auto& [name, value] : numbers) {
        if (!settings.contains(name)) {
            continue;
        }
        bool ok = false;
        *value = settings.value(name).toInt(&ok);
        if (!ok || *value < 1) {
            return usage(PublishTexts::notANumber().arg(name, settings.value(name)));
        }
    }
    const std::optional<LoadedCatalogue> loaded = Startup::open(folder, messenger);
    if (!loaded) {
        return 1;
    }
    BbcodeRecap::Result recap;
    try {
        recap = BbcodeRecap::build(*category, loaded->catalogue->entries(*category, EntryOrder::ByNumber), options);
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
    if (!recap.refusal.isEmpty()) {
        messenger.warning(recap.refusal);
        return 1;
    }
    QTextStream out(stdout);
    out << recap.parts.join(u'\n');
    return 0;
}

int publish(const QString& target, const CatalogueFolder& folder, Messenger& messenger)
{
    const std::optional<LoadedCatalogue> loaded = Startup::open(folder, messenger);
    if (!loaded) {
        return 1;
    }
    PublicationPlan plan;
    try {
        plan = PublicationPlan::of(*loaded->catalogue, folder);
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
    QTextStream err(stderr);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    const SitePublisher::Report report =
        SitePublisher::publish(QDir(target).absolutePath(), plan.series, plan.thumbnails,
                               {{}, [&](int done, int total) {
                                    if (sinceProgress.elapsed() >= 1000) {
                                        err << PublishTexts::commandProgress().arg(done).arg(total) << '\n';
                                        err.flush();
                                        sinceProgress.restart();
                                    }
                                }});
    if (report.outcome == SitePublisher::Outcome::Done) {
        QTextStream(stdout) << report.message << '\n';
        return 0;
    }
    messenger.critical(report.message);
    return 1;
}

} // namespace PublishCommands
