#include "consistency/ConsistencyCheck.h"

#include "catalogue/Catalogue.h"
#include "consistency/ConsistencyRules.h"

namespace ConsistencyCheck {

CatalogueSnapshot snapshot(const Catalogue& catalogue)
{
    CatalogueSnapshot snapshot;
    for (const Category& category : Category::all()) {
        snapshot.series[category.index] = catalogue.entries(category, EntryOrder::ByNumber);
    }
    snapshot.authors = catalogue.authors();
    return snapshot;
}

Result run(const Catalogue& catalogue)
{
    Result result;
    result.marks = catalogue.marks();
    QSet<QString> marked;
    for (const FindingMark& mark : std::as_const(result.marks)) {
        marked.insert(mark.key);
    }
    const QList<Finding> all = ConsistencyRules::check(snapshot(catalogue));
    result.findings = ConsistencyRules::unmarked(all, marked);
    result.silenced = int(all.size() - result.findings.size());
    return result;
}

} // namespace ConsistencyCheck
