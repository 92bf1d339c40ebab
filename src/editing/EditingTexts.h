#pragma once

#include <QString>

// French texts of adding and correcting an entry. The number message of each series is in its `Category`.
// One text per line reads best here.
// clang-format off
namespace EditingTexts {
inline QString apostrophe()
{
    return QStringLiteral("Apostrophe non autorisée dans le pseudo.");
}
inline QString numberLength()
{
    return QStringLiteral("Le numéro doit être sur 3 caractères.");
}
inline QString outOfSequence(int expected)
{
    return QStringLiteral("Le numéro ne suit pas. Il doit être égal à ") + QString::number(expected);
}
inline QString noAnswer()
{
    return QStringLiteral("Nom non renseigné.");
}
inline QString noAuthor()
{
    return QStringLiteral("Auteur non renseigné.");
}
inline QString alreadyExists(const QString& number)
{
    return QStringLiteral("N° ") + number + QStringLiteral(" déjà existant.");
}
inline QString unknown(const QString& number)
{
    return QStringLiteral("N° ") + number + QStringLiteral(" inconnu.");
}
} // namespace EditingTexts
// clang-format on
