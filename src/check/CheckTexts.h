#pragma once

#include <QString>

// French texts of the number comparison. Paths are shown with the system's separators.
// One text per line reads best here.
// clang-format off
namespace CheckTexts {
inline QString caption()
{
    return QStringLiteral("Liste des numéros");
}
/// The window's mark when a number differs; the title then reads "Liste des numéros — err".
inline QString differenceMark()
{
    return QStringLiteral("err");
}
inline QString titleWithMark()
{
    return QStringLiteral("%1 — %2");
}
inline QString heading()
{
    return QStringLiteral("Résultats entre GNV et DPT");
}
inline QString foundHeading()
{
    return QStringLiteral("GNV");
}
inline QString countedHeading()
{
    return QStringLiteral("DPT");
}
inline QString waiting()
{
    return QStringLiteral("Attente de la fin des recherches.");
}

/// Shown in a box whose number is unknown.
inline QString unknown()
{
    return QStringLiteral("?");
}
inline QString unknownTip()
{
    return QStringLiteral("Numéro inconnu");
}
inline QString missingOne()
{
    return QStringLiteral("Manque : %1");
}
inline QString missingRange()
{
    return QStringLiteral("Manquent : %1 à %2");
}

// %1 is the settings file.
inline QString programEmpty()
{
    return QStringLiteral("Aucun programme de recherche n'est indiqué : la ligne « programme= » du fichier « %1 » "
                          "est vide. Choisissez-le par « Catalogue › Programme de recherche… ».");
}
// Choosing the search program: %1 is the program's name, %2 the settings file.
inline QString chooseProgramAction() { return QStringLiteral("&Programme de recherche…"); }
inline QString chooseProgramTitle() { return QStringLiteral("Choisir le programme de recherche"); }
inline QString programChosen()
{
    return QStringLiteral("Le programme de recherche est maintenant « %1 » (ligne « programme= » de « %2 »).");
}
inline QString programOutside()
{
    return QStringLiteral("Le programme de recherche doit se trouver dans le dossier du catalogue « %1 » : rien n'a "
                          "été modifié.");
}
inline QString programNotWritable()
{
    return QStringLiteral("Le nom « %1 » ne peut pas s'écrire dans le fichier de paramètres « %2 », qui n'est pas en "
                          "UTF-8 : rien n'a été modifié.");
}
inline QString settingsWriteFailed()
{
    return QStringLiteral("Le fichier de paramètres « %1 » n'a pas pu être modifié : rien n'a changé.");
}
// %1 is the search program.
inline QString programMissing()
{
    return QStringLiteral("Le programme de recherche « %1 » est introuvable.");
}
inline QString programNotExecutable()
{
    return QStringLiteral("Le programme de recherche « %1 » n'est pas un programme exécutable.");
}
inline QString programNotStarted()
{
    return QStringLiteral("Le programme de recherche « %1 » n'a pas pu être lancé.");
}

// %1 is the settings file.
inline QString settingsUnreadable()
{
    return QStringLiteral("Le fichier de paramètres « %1 » est introuvable ou illisible : les derniers numéros "
                          "trouvés par le programme de recherche sont inconnus.");
}
inline QString noSection()
{
    return QStringLiteral("Le fichier de paramètres « %1 » n'a pas de ligne « [dernier_numero] » : les derniers "
                          "numéros trouvés par le programme de recherche sont inconnus.");
}
/// %2 lists the series without a line, "Plomé, Vantorel".
inline QString shortSection()
{
    return QStringLiteral("Le fichier de paramètres « %1 » s'arrête avant la fin de la section « [dernier_numero] » : "
                          "pas de ligne pour %2.");
}
/// %2 line number, %3 series, %4 the text read.
inline QString badValue()
{
    return QStringLiteral("Le fichier de paramètres « %1 », ligne %2 : le dernier numéro %3 « %4 » n'est pas un "
                          "nombre entier de 0 à 32767.");
}
/// %2 line number, %3 series, %4 the character where the number should start.
inline QString absentValue()
{
    return QStringLiteral("Le fichier de paramètres « %1 », ligne %2 : le dernier numéro %3 manque (rien à partir du "
                          "caractère %4).");
}
} // namespace CheckTexts
// clang-format on
