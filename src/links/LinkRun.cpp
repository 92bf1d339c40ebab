#include "links/LinkRun.h"

#include "catalogue/EntryAddress.h"

namespace {

QString hostOf(const LinkTarget& target)
{
    return EntryAddress::webUrl(target.address).host().toLower();
}

} // namespace

LinkRun::LinkRun(QNetworkAccessManager& network, Settings settings, QObject* parent)
    : QObject(parent)
    , m_network(network)
    , m_settings(std::move(settings))
    , m_scheduler(m_settings.maxRunning, m_settings.perHost)
{
}

LinkRun::~LinkRun()
{
    qDeleteAll(m_probes);
}

void LinkRun::start(const LinkJob& job, Keeper keep)
{
    cancel();
    m_job = job;
    m_keep = std::move(keep);
    m_tally = {};
    m_tally.total = int(job.targets.size());
    m_tally.withoutWebAddress = job.withoutWebAddress;
    m_tally.upToDate = job.upToDate;
    m_running = true;
    for (int i = 0; i < m_tally.total; ++i) {
        m_scheduler.add(i, hostOf(job.targets.at(i)));
    }
    if (m_tally.total == 0) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_running) {
                    end(false);
                }
            },
            Qt::QueuedConnection);
        return;
    }
    launch();
}

void LinkRun::cancel()
{
    if (!m_running) {
        return;
    }
    for (LinkProbe* probe : std::as_const(m_probes)) {
        probe->abort();
        probe->deleteLater();
    }
    m_probes.clear();
    m_scheduler.clear();
    end(true);
}

void LinkRun::launch()
{
    while (const std::optional<int> index = m_scheduler.next()) {
        auto* probe = new LinkProbe(m_network, m_settings.limits, this);
        m_probes.insert(*index, probe);
        connect(probe, &LinkProbe::finished, this,
                [this, i = *index](const LinkOutcome& outcome, const QByteArray& body) { probed(i, outcome, body); });
        probe->start(m_job.targets.at(*index), m_job.mode);
    }
}

void LinkRun::probed(int index, const LinkOutcome& outcome, const QByteArray& body)
{
    if (LinkProbe* probe = m_probes.take(index)) {
        probe->deleteLater();
    }
    const LinkTarget& target = m_job.targets.at(index);
    m_scheduler.finished(hostOf(target));
    LinkResult result{target, LinkRules::classify(outcome)};
    const LinkClass linkClass = result.verdict.linkClass;
    if (m_job.mode == LinkMode::Archive && m_keep &&
        (linkClass == LinkClass::Ok || linkClass == LinkClass::Redirected)) {
        if (const QString failure = m_keep(target, body); !failure.isEmpty()) {
            result.verdict = {LinkClass::Error, failure, result.verdict.finalAddress};
        }
    }
    ++m_tally.byClass[std::size_t(result.verdict.linkClass)];
    ++m_tally.done;
    emit resultReady(result);
    emit progressed(m_tally.done, m_tally.total);
    if (!m_running) {
        return; // a receiver cancelled
    }
    if (m_tally.done == m_tally.total) {
        end(false);
        return;
    }
    launch();
}

void LinkRun::end(bool cancelled)
{
    m_running = false;
    emit finished(cancelled);
}
