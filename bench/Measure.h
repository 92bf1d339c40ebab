#pragma once

#include <QList>
#include <QString>

#include <functional>

/// Timings of one operation, in milliseconds.
struct Timing {
    double min = 0;
    double median = 0;
    double max = 0;
    int runs = 0;
};

/// Runs `prepare` (untimed) then `operation` (timed) `runs` times.
Timing measure(int runs, const std::function<void()>& operation, const std::function<void()>& prepare = {});

/// Resident memory of this process, in MiB: now and at its peak. −1 where the platform does not tell.
double residentMiB();
double peakResidentMiB();
/// Starts the peak over from the resident memory of now; false where the platform cannot.
bool resetPeakResident();
/// Processor time the calling thread has used, in ms; −1 where the platform does not tell.
double threadCpuMs();
