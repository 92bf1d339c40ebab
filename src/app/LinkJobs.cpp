#include "app/LinkJobs.h"

#include "app/Opening.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueError.h"
#include "image/ImageArchive.h"
#include "image/ImageSignature.h"
#include "links/LinkTargets.h"
#include "links/LinksTexts.h"
#include "ui/Messenger.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTextStream>

namespace LinkJobs {

namespace {

QList<QList<PuzzleEntry>> allSeries(const Catalogue& catalogue)
{
    QList<QList<PuzzleEntry>> series;
    for (const Category& category : Category::all()) {
        series.append(catalogue.entries(category, EntryOrder::ByNumber));
    }
    return series;
}

// Runs a job to its end on the console: the listed results on the standard output as they come, the progress on
// the standard error about once a second, the summary last.
int runOnConsole(LinkMode mode, const CatalogueFolder& folder, Messenger& messenger)
{
    // A check only reads: it needs neither the folder's lock nor the newer tables.
    const std::optional<LoadedCatalogue> loaded = Opening::load(
        folder, messenger, mode == LinkMode::Check ? Catalogue::Access::ReadOnly : Catalogue::Access::ReadWrite);
    if (!loaded) {
        return 1;
    }
    ImageArchive archive(folder, *loaded->catalogue);
    LinkJob job;
    try {
        job = mode == LinkMode::Check ? check(*loaded->catalogue) : LinkJobs::archive(*loaded->catalogue, archive);
    } catch (const CatalogueError& error) {
        messenger.critical(error.message(), error.detail());
        return 1;
    }
    QNetworkAccessManager network;
    LinkRun run(network, settings());
    QTextStream out(stdout);
    QTextStream err(stderr);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    QObject::connect(&run, &LinkRun::resultReady, &run, [&](const LinkResult& result) {
        if (LinkRules::isListed(mode, result.verdict.linkClass)) {
            out << LinkRules::reportLine(result) << '\n';
            out.flush();
        }
    });
    QObject::connect(&run, &LinkRun::progressed, &run, [&](int done, int total) {
        if (sinceProgress.elapsed() >= 1000) {
            err << LinksTexts::commandProgress().arg(done).arg(total) << '\n';
            err.flush();
            sinceProgress.restart();
        }
    });
    bool cancelled = false;
    QEventLoop loop;
    QObject::connect(&run, &LinkRun::finished, &loop, [&](bool wasCancelled) {
        cancelled = wasCancelled;
        loop.quit();
    });
    run.start(job, mode == LinkMode::Archive ? keeper(archive) : LinkRun::Keeper());
    loop.exec();
    out << LinkRules::summary(mode, run.tally()) << '\n';
    return LinkRules::exitStatus(run.tally(), mode, cancelled);
}

} // namespace

LinkRun::Settings settings()
{
    LinkRun::Settings settings;
    settings.limits.isImage = &ImageSignature::isAccepted;
    return settings;
}

LinkJob check(const Catalogue& catalogue)
{
    return LinkTargets::check(allSeries(catalogue));
}

LinkJob archive(const Catalogue& catalogue, const ImageArchive& archive)
{
    const QList<QList<PuzzleEntry>> series = allSeries(catalogue);
    QList<QSet<QString>> fresh;
    for (const Category& category : Category::all()) {
        fresh.append(archive.freshNumbers(category, series.at(category.index)));
    }
    return LinkTargets::archive(series, fresh);
}

LinkRun::Keeper keeper(ImageArchive& archive)
{
    return [&archive](const LinkTarget& target, const QByteArray& original) {
        return archive.keep(Category::all().at(target.category), target.ref, target.address, original);
    };
}

int checkLinksCommand(const CatalogueFolder& folder, Messenger& messenger)
{
    return runOnConsole(LinkMode::Check, folder, messenger);
}

int archiveImagesCommand(const CatalogueFolder& folder, Messenger& messenger)
{
    return runOnConsole(LinkMode::Archive, folder, messenger);
}

} // namespace LinkJobs
