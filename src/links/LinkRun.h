#pragma once

#include "links/HostScheduler.h"
#include "links/LinkProbe.h"

#include <QHash>
#include <QObject>

#include <functional>

class QNetworkAccessManager;

/// The addresses of a job asked in parallel, politely: at most `maxRunning` requests at once and `perHost` to one
/// host. In an archive run each image that answers is handed to the keeper. Never blocks the event loop; a
/// cancel stops every request at once.
class LinkRun : public QObject {
    Q_OBJECT

public:
    struct Settings {
        int maxRunning = 8;
        int perHost = 2;
        LinkProbe::Limits limits{10'000, 20 * 1024 * 1024, {}};
    };
    /// Keeps the downloaded image of a target; returns why it could not, or nothing.
    using Keeper = std::function<QString(const LinkTarget& target, const QByteArray& original)>;

    LinkRun(QNetworkAccessManager& network, Settings settings, QObject* parent = nullptr);
    ~LinkRun() override;

    /// Starts the job; `keep` takes the images of an archive run.
    void start(const LinkJob& job, Keeper keep = {});
    /// Stops every request now; `finished(true)` follows at once.
    void cancel();

    bool isRunning() const { return m_running; }
    const LinkJob& job() const { return m_job; }
    const LinkTally& tally() const { return m_tally; }

signals:
    /// Every address's result, ok included, in the order they end.
    void resultReady(const LinkResult& result);
    void progressed(int done, int total);
    void finished(bool cancelled);

private:
    void launch();
    void probed(int index, const LinkOutcome& outcome, const QByteArray& body);
    void end(bool cancelled);

    QNetworkAccessManager& m_network;
    Settings m_settings;
    HostScheduler m_scheduler;
    LinkJob m_job;
    Keeper m_keep;
    LinkTally m_tally;
    QHash<int, LinkProbe*> m_probes; ///< running, by target index
    bool m_running = false;
};
