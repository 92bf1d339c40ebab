#pragma once

#include <QHash>
#include <QList>
#include <QQueue>
#include <QString>

#include <optional>

/// Which waiting job may start now, so that at most `maxRunning` jobs run at once and at most `perHost` of them
/// on one host. Hosts take turns, so that one big host does not hold up the others; the jobs of one host start in
/// the order they were added.
class HostScheduler {
public:
    HostScheduler(int maxRunning, int perHost);

    void add(int job, const QString& host);
    /// The next job that may start now, then counted as running; nothing while every waiting job must wait.
    std::optional<int> next();
    /// A running job of `host` has ended.
    void finished(const QString& host);
    /// Forgets every job, waiting or running.
    void clear();

private:
    struct Host {
        QQueue<int> jobs;
        int running = 0;
    };

    int m_maxRunning;
    int m_perHost;
    int m_running = 0;
    int m_waiting = 0;
    QList<QString> m_turns; ///< hosts in turn order
    qsizetype m_turn = 0;   ///< where the next search starts
    QHash<QString, Host> m_hosts;
};
