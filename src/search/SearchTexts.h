#pragma once

#include <QString>

// French texts of the search and statistics tabs.
namespace SearchTexts {
inline QString noneFound() { return QStringLiteral("0 élément trouvé."); }
} // namespace SearchTexts
