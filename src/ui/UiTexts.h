#pragma once

#include <QLocale>
#include <QString>

// French texts of the main window and its start-up.
// One text per line reads best here.
// clang-format off
namespace UiTexts {
// A duration in seconds as the messages give it: "0,3", "10".
inline QString seconds(int milliseconds) { return QLocale(QLocale::French).toString(milliseconds / 1000.0, 'g', 4); }
inline QString applicationTitle() { return QStringLiteral("Mézor"); }
inline QString mainWindowTitle() { return QStringLiteral("Dravé - Plomé - Tusqué - Vantorel - 4.3.2"); }
inline QString outOfDate() { return QStringLiteral("Vous n'avez pas la dernière version de la base de données."); }
inline QString noSettingsFile() { return QStringLiteral("Le fichier de paramètres « %1 » est introuvable ou illisible."); }
inline QString noProgramLine()
{
    return QStringLiteral("Le fichier de paramètres « %1 » n'a pas de ligne commençant par « programme= ».");
}
inline QString createQuestion()
{
    return QStringLiteral("Il n'y a pas de catalogue dans le dossier « %1 ». Faut-il y créer un catalogue vide ?");
}
inline QString folderFailed() { return QStringLiteral("Le dossier « %1 » ne peut pas être créé ou n'est pas accessible."); }
inline QString settingsCreateFailed() { return QStringLiteral("Le fichier de paramètres « %1 » ne peut pas être créé."); }
inline QString alreadyRunning()
{
    return QStringLiteral("Le catalogue du dossier « %1 » est déjà ouvert par un autre Mézor.");
}
inline QString repeatedNumbers()
{
    return QStringLiteral("Le catalogue contient des numéros portés par plusieurs entrées : %1. Une correction "
                          "(« MAJ ») ne modifie que la première entrée de chaque numéro.");
}
inline QString repeatedInSeries() { return QStringLiteral("%1 %2"); }
inline QString lockFailed()
{
    return QStringLiteral("Le dossier « %1 » ne peut pas être verrouillé (%2) : un autre Mézor pourrait ouvrir ce "
                          "catalogue en même temps. L'ouvrir quand même ?");
}
inline QString lockDenied() { return QStringLiteral("accès refusé, le dossier est peut-être en lecture seule"); }
inline QString lockUnknown() { return QStringLiteral("erreur inconnue"); }
inline QString lockedElsewhere()
{
    return QStringLiteral("Le catalogue du dossier « %1 » est marqué comme ouvert par Mézor sur l'ordinateur « %2 » "
                          "(processus %3, depuis le %4).\n\nS'il n'y est plus ouvert (coupure de courant, clé retirée "
                          "sans fermer Mézor), vous pouvez l'ouvrir ici ; sinon, fermez-le d'abord sur cet ordinateur. "
                          "L'ouvrir quand même ?");
}

inline QString catalogueMenu() { return QStringLiteral("&Catalogue"); }
inline QString editMenu() { return QStringLiteral("&Édition"); }

// The search and statistics tabs.
inline QString noneFound() { return QStringLiteral("0 élément trouvé."); }
/// The hit count shown for one hit or more: "3 élément(s) trouvé(s)." (also for 1).
inline QString found(qsizetype hits) { return QString::number(hits) + QStringLiteral(" élément(s) trouvé(s)."); }
inline QString notFound() { return QStringLiteral("Non trouvé"); }
inline QString authorHeader() { return QStringLiteral("Auteur"); }
inline QString postsHeader() { return QStringLiteral("Posts"); }

// Thumbnails of the kept pictures.
inline QString refusedName() { return QStringLiteral("le nom de fichier « %1 » de la copie gardée est refusé"); }
inline QString unreadablePicture() { return QStringLiteral("l'image gardée « %1 » est illisible (%2)"); }
inline QString pictureTooLarge() { return QStringLiteral("l'image gardée « %1 » est trop grande (%2 × %3 pixels)"); }
inline QString folderNotMade() { return QStringLiteral("le dossier « %1 » ne peut pas être créé"); }
inline QString thumbnailNotSaved() { return QStringLiteral("la vignette « %1 » n'a pas pu être enregistrée (%2)"); }
} // namespace UiTexts
// clang-format on
