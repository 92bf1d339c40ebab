#pragma once

#include "catalogue/FindingMark.h"
#include "consistency/Finding.h"

class Catalogue;

/// The check of an open catalogue: what the window lists and the command prints.
namespace ConsistencyCheck {

struct Result {
    QList<Finding> findings; ///< those not marked "Pas un problème"
    int silenced = 0;        ///< findings left out because they are marked
    QList<FindingMark> marks;
};

/// The four series and the register as the check reads them. Throws `CatalogueError`.
CatalogueSnapshot snapshot(const Catalogue& catalogue);
/// Checks the catalogue and leaves out the marked findings. Throws `CatalogueError`.
Result run(const Catalogue& catalogue);

} // namespace ConsistencyCheck
