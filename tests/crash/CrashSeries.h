#pragma once

#include "catalogue/PuzzleEntry.h"

/// The Dravé entries that the crash child types, and what the catalogue must then hold for them. Both sides compute
/// them from the number, so the test knows the exact answer of every number the child reports.
namespace CrashSeries {
/// What the child types into the panel for entry `number` (1 … 999).
PuzzleEntry typed(int number);
/// What the catalogue stores for it: the typed entry, empty addresses replaced by "Non disponible".
PuzzleEntry stored(int number);
/// The number text of `number`: "001" … "999".
QString ref(int number);
} // namespace CrashSeries
