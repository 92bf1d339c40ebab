#pragma once

#include "Measure.h"

class Catalogue;
struct Category;

/// The straightforward way of the same work, kept as the baseline the real code is measured against.
namespace NaiveWay {
/// Statistics by one statement per registered author and category, each walked to count its rows.
double statisticsMedian(const Catalogue& catalogue, int runs);
/// Search by walking the table and upper-casing the criterion and each row's answer.
double searchMedian(const Catalogue& catalogue, const Category& category, const QString& criterion, int runs);
} // namespace NaiveWay
