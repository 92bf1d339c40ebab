#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <time.h>
#endif

Timing measure(int runs, const std::function<void()>& operation, const std::function<void()>& prepare)
{
    QList<double> samples;
    samples.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        if (prepare) {
            prepare();
        }
        QElapsedTimer timer;
        timer.start();
        operation();
        samples.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    Timing timing;
    timing.runs = runs;
    if (!samples.isEmpty()) {
        timing.min = samples.first();
        timing.max = samples.last();
        const qsizetype mid = samples.size() / 2;
        timing.median = samples.size() % 2 ? samples.at(mid) : (samples.at(mid - 1) + samples.at(mid)) / 2;
    }
    return timing;
}

namespace {

// The only platform-specific place of the benchmark: Linux reports memory in /proc and a thread's processor time
// through clock_gettime; elsewhere nothing is read.
double procStatusMiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

} // namespace

double residentMiB()
{
    return procStatusMiB("VmRSS:");
}

double peakResidentMiB()
{
    return procStatusMiB("VmHWM:");
}

bool resetPeakResident()
{
    // Linux 4.0 and later: "5" resets the peak (VmHWM) to the resident size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

double threadCpuMs()
{
#ifdef Q_OS_LINUX
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) == 0) {
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }
#endif
    return -1;
}
