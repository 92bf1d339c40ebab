#include "links/HostScheduler.h"

HostScheduler::HostScheduler(int maxRunning, int perHost)
    : m_maxRunning(maxRunning)
    , m_perHost(perHost)
{
}

void HostScheduler::add(int job, const QString& host)
{
    auto found = m_hosts.find(host);
    if (found == m_hosts.end()) {
        found = m_hosts.insert(host, {});
        m_turns.append(host);
    }
    found->jobs.enqueue(job);
    ++m_waiting;
}

std::optional<int> HostScheduler::next()
{
    if (m_running >= m_maxRunning || m_waiting == 0) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < m_turns.size(); ++i) {
        const qsizetype turn = (m_turn + i) % m_turns.size();
        Host& host = m_hosts[m_turns.at(turn)];
        if (!host.jobs.isEmpty() && host.running < m_perHost) {
            ++host.running;
            ++m_running;
            --m_waiting;
            m_turn = turn + 1;
            return host.jobs.dequeue();
        }
    }
    return std::nullopt;
}

void HostScheduler::finished(const QString& host)
{
    const auto found = m_hosts.find(host);
    if (found != m_hosts.end() && found->running > 0) {
        --found->running;
        --m_running;
    }
}

void HostScheduler::clear()
{
    m_hosts.clear();
    m_turns.clear();
    m_turn = 0;
    m_running = 0;
    m_waiting = 0;
}
