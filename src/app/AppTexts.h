#pragma once

#include <QString>

// French texts of the program's start and of its command-line modes.
// One text per line reads best here.
// clang-format off
namespace AppTexts {
inline QString description() { return QStringLiteral("Mézor : catalogue des énigmes Dravé, Plomé, Tusqué et Vantorel."); }
inline QString folderArgument() { return QStringLiteral("dossier"); }
inline QString folderHelp()
{
    return QStringLiteral("Dossier du catalogue (par défaut : celui du programme s'il contient Mézor.db ou Mézor.mdb, "
                          "sinon le dossier de données de l'utilisateur).");
}
inline QString helpOption() { return QStringLiteral("Affiche cette aide et s'arrête."); }
inline QString versionOption() { return QStringLiteral("Affiche la version et s'arrête."); }
inline QString version() { return QStringLiteral("Mézor %1"); }
inline QString usageError() { return QStringLiteral("mezor : %1"); }
inline QString moreHelp() { return QStringLiteral("« mezor --help » décrit toutes les options."); }
inline QString tooManyArguments() { return QStringLiteral("un seul dossier peut être donné."); }
inline QString oneCommandOnly() { return QStringLiteral("une seule commande à la fois."); }
inline QString cannotLock()
{
    return QStringLiteral("Le dossier « %1 » ne peut pas être verrouillé (il est peut-être en lecture seule) : cette "
                          "commande écrit dans le catalogue et ne s'y fait pas.");
}
inline QString settingElsewhere() { return QStringLiteral("--%1 ne s'emploie pas avec --%2."); }
inline QString answeredNo() { return QStringLiteral("(réponse : non)"); }
} // namespace AppTexts
// clang-format on
