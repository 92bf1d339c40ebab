#pragma once

#include <QString>

// French texts of the journal's windows, menus and commands.
// One text per line reads best here.
// clang-format off
namespace HistoryTexts {
inline QString undoAction() { return QStringLiteral("Annuler"); }
inline QString redoAction() { return QStringLiteral("Rétablir"); }
inline QString undoNamed() { return QStringLiteral("Annuler %1"); }
inline QString redoNamed() { return QStringLiteral("Rétablir %1"); }
inline QString historyAction() { return QStringLiteral("Historique…"); }
inline QString entryHistoryAction() { return QStringLiteral("Historique de cette entrée"); }
inline QString backupsAction() { return QStringLiteral("Restaurer une sauvegarde…"); }

inline QString historyTitle() { return QStringLiteral("Historique des changements"); }
inline QString entryHistoryTitle() { return QStringLiteral("Historique de %1"); }
inline QString allSeries() { return QStringLiteral("Toutes les séries"); }
inline QString filterPlaceholder() { return QStringLiteral("Filtrer…"); }
inline QString wholeHistory() { return QStringLiteral("Tout l'historique"); }
inline QString restoreVersion() { return QStringLiteral("Restaurer cette version"); }
inline QString dateHeader() { return QStringLiteral("Date"); }
inline QString seriesHeader() { return QStringLiteral("Série"); }
inline QString numberHeader() { return QStringLiteral("N°"); }
inline QString changeHeader() { return QStringLiteral("Changement"); }
inline QString detailHeader() { return QStringLiteral("Détail"); }
inline QString undoneMark() { return QStringLiteral(" (annulé)"); }
/// One changed field: "Nom : avant → après".
inline QString fieldChange() { return QStringLiteral("%1 : %2 → %3"); }
inline QString none() { return QStringLiteral("—"); }
inline QString moreEntries() { return QStringLiteral(" (et %1 autre(s) entrée(s))"); }
inline QString versionDescription() { return QStringLiteral("la restauration d'une version de %1"); }
inline QString chooseVersion() { return QStringLiteral("Choisissez d'abord la ligne de la version à restaurer."); }
inline QString noSuchVersion() { return QStringLiteral("Avant ce changement, l'entrée n'existait pas : il n'y a pas de version à restaurer."); }
inline QString entryMissing() { return QStringLiteral("L'entrée %1 n'existe plus : sa version ne peut pas être restaurée."); }
inline QString sameVersion() { return QStringLiteral("L'entrée %1 a déjà ce contenu."); }

inline QString backupsTitle() { return QStringLiteral("Restaurer une sauvegarde"); }
inline QString checkHeader() { return QStringLiteral("Vérification"); }
inline QString restoreButton() { return QStringLiteral("Restaurer"); }
inline QString noBackups() { return QStringLiteral("Le dossier « %1 » ne contient aucune sauvegarde."); }
inline QString chooseBackup() { return QStringLiteral("Choisissez d'abord une sauvegarde intacte."); }
inline QString restoreQuestion()
{
    return QStringLiteral("Remplacer le catalogue par la sauvegarde du %1 ? Une copie du catalogue actuel est d'abord "
                          "faite dans le dossier des sauvegardes.");
}
inline QString restored() { return QStringLiteral("La sauvegarde du %1 est en place ; l'ancien catalogue est gardé dans « %2 »."); }

// Command line.
inline QString historyHelp() { return QStringLiteral("Affiche les derniers changements du catalogue, du plus récent au plus ancien."); }
inline QString lastHelp() { return QStringLiteral("Avec --history : le nombre de changements affichés (20 par défaut)."); }
inline QString lastValue() { return QStringLiteral("N"); }
inline QString undoHelp() { return QStringLiteral("Annule le dernier changement du catalogue."); }
inline QString badLast() { return QStringLiteral("--last attend un nombre entier positif, et seulement avec --history."); }
inline QString emptyJournal() { return QStringLiteral("L'historique des changements est vide."); }
inline QString undone() { return QStringLiteral("Changement annulé : %1."); }
/// One line of `--history`: date, series and number, the change and its fields.
inline QString line() { return QStringLiteral("%1  %2  %3%4"); }
inline QString lineDetail() { return QStringLiteral(" — %1"); }
} // namespace HistoryTexts
// clang-format on
