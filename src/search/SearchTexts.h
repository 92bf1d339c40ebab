#pragma once

#include <QString>

// French refusals of a search.
// One text per line reads best here.
// clang-format off
namespace SearchTexts {
inline QString noCategory() { return QStringLiteral("Merci de spécifier où chercher."); }
inline QString noCriterion() { return QStringLiteral("Pas de critère de recherche."); }
} // namespace SearchTexts
// clang-format on
