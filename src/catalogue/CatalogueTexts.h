#pragma once

#include <QString>

// French texts of the catalogue store. %1 is the catalogue file's path.
// One text per line reads best here.
// clang-format off
namespace CatalogueTexts {
inline QString missing() { return QStringLiteral("Le catalogue « %1 » est introuvable."); }
inline QString notACatalogue()
{
    return QStringLiteral("Le fichier « %1 » n'est pas un catalogue lisible : il est endommagé ou ce n'est pas une "
                          "base SQLite. Il n'a pas été modifié.");
}
inline QString locked()
{
    return QStringLiteral("Le catalogue « %1 » est verrouillé par un autre programme. Fermez-le puis réessayez.");
}
inline QString outOfDate() { return QStringLiteral("Le catalogue « %1 » n'a pas la table « titres » ou l'un de ses champs."); }
inline QString missingTables() { return QStringLiteral("Le catalogue « %1 » n'a pas la table ou le champ « %2 »."); }
inline QString readFailed() { return QStringLiteral("Lecture du catalogue « %1 » impossible."); }
inline QString writeFailed()
{
    return QStringLiteral("Enregistrement dans le catalogue « %1 » impossible : rien n'a été modifié.");
}
inline QString readOnly()
{
    return QStringLiteral("Le catalogue « %1 » est en lecture seule : rien n'a été modifié.");
}
inline QString createFailed() { return QStringLiteral("Création du catalogue « %1 » impossible."); }
inline QString backupFailed()
{
    return QStringLiteral("La sauvegarde automatique du catalogue dans le dossier « %1 » a échoué. L'enregistrement "
                          "se fait quand même, sans sauvegarde.");
}
inline QString backupNoFolder() { return QStringLiteral("Le dossier des sauvegardes ne peut pas être créé."); }
inline QString backupNoName() { return QStringLiteral("Trop de sauvegardes dans la même seconde."); }
inline QString backupNotPruned()
{
    return QStringLiteral("La sauvegarde automatique a été faite, mais les plus anciennes sauvegardes du dossier "
                          "« %1 » n'ont pas pu être supprimées.");
}
inline QString upgradeFailed()
{
    return QStringLiteral("Le catalogue « %1 » n'a pas pu être mis à jour pour garder les images : il reste tel "
                          "quel, et les images ne sont pas archivées.");
}
inline QString absentTable() { return QStringLiteral("La table « %1 » est absente."); }
inline QString absentFields() { return QStringLiteral("Champs absents de la table « %1 » : %2."); }
} // namespace CatalogueTexts
// clang-format on
