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
    return QStringLiteral("Le catalogue « %1 » n'a pas pu être mis à jour pour garder les images, l'historique "
                          "des changements et les constats marqués « Pas un problème » : il reste tel quel, les "
                          "images ne sont pas archivées et les changements ne peuvent pas être enregistrés.");
}

// The journal of changes: descriptions are noun phrases that the menus complete ("Annuler l'ajout de Dravé 315").
inline QString entryName() { return QStringLiteral("%1 %2"); }
inline QString addDescription() { return QStringLiteral("l'ajout de %1"); }
inline QString updateDescription() { return QStringLiteral("la correction de %1"); }
inline QString importDescription() { return QStringLiteral("l'import du catalogue"); }
inline QString undoDescription() { return QStringLiteral("l'annulation de %1"); }
inline QString redoDescription() { return QStringLiteral("le rétablissement de %1"); }
inline QString nothingToUndo() { return QStringLiteral("Il n'y a aucun changement à annuler."); }
inline QString nothingToRedo() { return QStringLiteral("Il n'y a aucun changement à rétablir."); }
inline QString undoRefused() { return QStringLiteral("Impossible d'annuler %1 : %2 Rien n'a été modifié."); }
inline QString redoRefused() { return QStringLiteral("Impossible de rétablir %1 : %2 Rien n'a été modifié."); }
inline QString changeRefused() { return QStringLiteral("Impossible d'enregistrer %1 : %2 Rien n'a été modifié."); }
inline QString entryModified() { return QStringLiteral("l'entrée %1 a été modifiée depuis."); }
inline QString entryGone() { return QStringLiteral("l'entrée %1 n'existe plus."); }
inline QString numberTaken() { return QStringLiteral("le numéro %1 est déjà pris."); }
inline QString notLast() { return QStringLiteral("l'entrée %1 n'est plus la dernière de sa série."); }
inline QString authorAbsent() { return QStringLiteral("l'auteur « %1 » n'est pas dans la liste des auteurs."); }
inline QString emptyChange() { return QStringLiteral("le changement ne porte sur aucune entrée connue."); }
inline QString journalUnreadable() { return QStringLiteral("Le changement n° %1 de l'historique est illisible."); }
inline QString restoreFailed()
{
    return QStringLiteral("La sauvegarde n'a pas pu être mise en place : le catalogue « %1 » reste tel qu'il était.");
}
inline QString settingsTooLarge()
{
    return QStringLiteral("Le fichier de paramètres « %1 » dépasse %2 Ko : il n'est pas lu. Un fichier de paramètres "
                          "tient en quelques lignes ; celui-ci a sans doute été rempli par un programme emballé.");
}
inline QString absentTable() { return QStringLiteral("La table « %1 » est absente."); }
inline QString absentFields() { return QStringLiteral("Champs absents de la table « %1 » : %2."); }
} // namespace CatalogueTexts
// clang-format on
