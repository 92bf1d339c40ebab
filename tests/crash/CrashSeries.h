#pragma once

#include "catalogue/PuzzleEntry.h"

/// The Dravé entries that the crash child types. The test computes them from the number too, so that it knows the
/// exact answer of every number the child reports.
namespace CrashSeries {
inline constexpr int lastNumber = 999;
/// What the child types into the panel for entry `number` (1 … 999).
PuzzleEntry typed(int number);
} // namespace CrashSeries
