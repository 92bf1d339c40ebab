#pragma once

#include <QString>

/// Writes a full, invented catalogue for measurements: `perSeries` entries in each series, `authors` registered
/// authors posting with a Zipf-like skew, answers of 5 to 40 characters with French accents, addresses on loopback.
namespace CatalogueGenerator {
void generate(const QString& folder, int perSeries, int authors, quint16 imagePort, quint32 seed = 20261206);
/// The name of registered author `rank` (0 posts most).
QString authorName(int rank);
} // namespace CatalogueGenerator
