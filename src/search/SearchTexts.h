#pragma once

#include <QString>

// French texts of the search and statistics tabs.
// One text per line reads best here.
// clang-format off
namespace SearchTexts {
inline QString noneFound() { return QStringLiteral("0 élément trouvé."); }
/// The hit count shown for one hit or more: "3 élément(s) trouvé(s)." (also for 1).
inline QString found(qsizetype hits) { return QString::number(hits) + QStringLiteral(" élément(s) trouvé(s)."); }
inline QString notFound() { return QStringLiteral("Non trouvé"); }
inline QString noCategory() { return QStringLiteral("Merci de spécifier où chercher."); }
inline QString noCriterion() { return QStringLiteral("Pas de critère de recherche."); }
inline QString authorHeader() { return QStringLiteral("Auteur"); }
inline QString postsHeader() { return QStringLiteral("Posts"); }
} // namespace SearchTexts
// clang-format on
