#pragma once

#include <QString>

/// Writes a full, invented catalogue for measurements: `perSeries` entries in each series, `authors` registered
/// authors posting with a Zipf-like skew, answers of 5 to 40 characters with French accents, addresses on loopback.
namespace CatalogueGenerator {
/// `shortSeries` (descriptor index) is left `shortBy` entries short, so that adds have numbers to take.
void generate(const QString& folder, int perSeries, int authors, quint16 imagePort, int shortSeries = -1,
              int shortBy = 0, quint32 seed = 20261206);
/// The name of registered author `rank` (0 posts most).
QString authorName(int rank);
} // namespace CatalogueGenerator
