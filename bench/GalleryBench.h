#pragma once

#include "Measure.h"

/// The gallery on a full series whose every picture is kept: its first screen with the thumbnails cached and
/// without, the longest the window's thread went without an event-loop turn while they were made, and the memory
/// once every thumbnail of the series was made and shown at the largest size.
namespace GalleryBench {

struct Results {
    Timing warm;
    Timing cold;
    Timing longestGap;     ///< per cold run, the longest time between two event-loop turns
    Timing longestBusy;    ///< per cold run, the most processor time the window thread used between two turns
    int firstScreen = 0;   ///< thumbnails on the first screen
    double allShownMs = 0; ///< scrolling through the whole series at the largest size, every thumbnail made
    double residentMiB = -1;
    double peakMiB = -1;
};

Results run(int entries, int warmRuns, int coldRuns);

} // namespace GalleryBench
