#pragma once

#include "catalogue/Category.h"
#include "catalogue/PuzzleEntry.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

class QImage;

#include <array>
#include <functional>

/// Writes an invented catalogue: for the benchmark a full one on loopback addresses, for the demo one that looks
/// like a few years of a real forum. The same recipe and seed give the same file, byte for byte.
namespace CatalogueGenerator {

struct Recipe {
    std::array<int, 4> entries{}; ///< entries of each series, descriptor order
    int authors = 0;              ///< distinct authors, posting with a Zipf-like skew (author 0 posts most)
    std::function<QString(int rank)> authorName;
    std::function<QString(const Category& category, QRandomGenerator& random)> answer;
    std::function<QString(const Category& category, const QString& ref, QRandomGenerator& random)> url;
    std::function<QString(const Category& category, const QString& ref, QRandomGenerator& random)> link;
    int otherCaseOneIn = 10;  ///< one entry in this many spells its author in capitals (still the same author)
    bool registerAll = true;  ///< register every author; else only the authors of the first series, as adds do
    int storedOutOfOrder = 0; ///< pairs of neighbours stored swapped in the series loaded in stored order
    quint32 seed = 20261206;
    /// Changes the generated series (stored order) and register before they are written: the demo's planted faults.
    std::function<void(std::array<QList<PuzzleEntry>, 4>& series, QStringList& authors)> plant;
};

/// Makes `folder`'s catalogue (replacing one that is there) and a settings file naming `program`.
void generate(const QString& folder, const Recipe& recipe, const QByteArray& program = "recherche.sh");

/// The benchmark's catalogue: `perSeries` entries in each series (`shortSeries`, a descriptor index, `shortBy`
/// fewer so that adds have numbers to take), `authors` authors, answers of 5 to 40 characters with French accents,
/// addresses on loopback.
void generate(const QString& folder, int perSeries, int authors, quint16 imagePort, int shortSeries = -1,
              int shortBy = 0, quint32 seed = 20261206);
/// The name of the benchmark's author `rank` (0 posts most).
QString authorName(int rank);

/// A picture as a JPEG file's bytes, as a download would bring it.
QByteArray jpeg(const QImage& image, int quality = 85);

} // namespace CatalogueGenerator
