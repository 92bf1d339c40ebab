#pragma once

#include <QString>

// French texts of the catalogue's export and import. Paths are shown with the system's separators.
// One text per line reads best here.
// clang-format off
namespace TransferTexts {
// The menu "Catalogue" and its dialogs.
inline QString exportAction() { return QStringLiteral("&Exporter en CSV…"); }
inline QString importAction() { return QStringLiteral("&Importer…"); }
inline QString openFolderAction() { return QStringLiteral("&Ouvrir le dossier du catalogue"); }
inline QString chooseExportFolder() { return QStringLiteral("Dossier où exporter le catalogue en CSV"); }
inline QString chooseImportFolder() { return QStringLiteral("Dossier des fichiers CSV à importer"); }
inline QString folderNotOpened() { return QStringLiteral("Le dossier « %1 » ne peut pas être ouvert."); }
inline QString close() { return QStringLiteral("Fermer"); }

// Export.
inline QString exported() { return QStringLiteral("Catalogue exporté dans le dossier « %1 » : %2."); }
inline QString exportFailed()
{
    return QStringLiteral("L'export dans le dossier « %1 » a échoué : les fichiers d'un export précédent y sont "
                          "restés tels quels.");
}
inline QString folderNotMade() { return QStringLiteral("Le dossier ne peut pas être créé."); }
inline QString notAFile() { return QStringLiteral("« %1 » existe et n'est pas un fichier."); }
inline QString fileNotWritten() { return QStringLiteral("« %1 » : %2"); }
inline QString partlyReplaced()
{
    return QStringLiteral("« %1 » n'a pas pu remplacer l'ancien fichier (%2). Déjà remplacés : %3.");
}

// Import: the outcome.
inline QString notEmpty()
{
    return QStringLiteral("Le catalogue contient déjà des entrées ou des auteurs : un import le mêlerait à un autre "
                          "historique. Importez dans le dossier d'un nouveau catalogue, vide.");
}
inline QString importDone() { return QStringLiteral("Import terminé. Le catalogue a reçu :"); }
inline QString importRefused() { return QStringLiteral("Import refusé, rien n'a été écrit :"); }
inline QString received(qsizetype count)
{
    return QStringLiteral("%1 : ") + QString::number(count) + (count > 1 ? QStringLiteral(" entrées") : QStringLiteral(" entrée"));
}
inline QString receivedAuthors(qsizetype count)
{
    return QStringLiteral("Auteurs : ") + QString::number(count) + (count > 1 ? QStringLiteral(" noms") : QStringLiteral(" nom"));
}
inline QString missingNumbers(int count)
{
    return count > 1 ? QStringLiteral("%1 : manquent %2") : QStringLiteral("%1 : manque %2");
}
inline QString noMissingNumber() { return QStringLiteral("Aucun numéro manquant."); }
inline QString numberRange() { return QStringLiteral("%1 à %2"); }

// Import: one problem per line of the report.
inline QString problemAt() { return QStringLiteral("%1, ligne %2 : %3."); }
inline QString problemIn() { return QStringLiteral("%1 : %2."); }
inline QString moreProblems() { return QStringLiteral("%1 : %2 autres problèmes, non listés."); }
inline QString noCsvFile()
{
    return QStringLiteral("aucun des fichiers dravé.csv, plomé.csv, tusqué.csv, titres.csv et auteurs.csv n'est dans "
                          "ce dossier");
}
inline QString notRegular() { return QStringLiteral("ce n'est pas un fichier ordinaire"); }
inline QString unreadable() { return QStringLiteral("fichier illisible (%1)"); }
inline QString tooLarge()
{
    return QStringLiteral("%1 Mo, bien plus qu'un catalogue entier (au plus %2 Mo) : le fichier n'a pas été lu");
}
inline QString binary()
{
    return QStringLiteral("octets nuls : ce n'est pas un texte CSV (fichier binaire, ou texte en UTF-16)");
}
inline QString brokenUtf8()
{
    return QStringLiteral("le fichier s'annonce en UTF-8 (marque d'ordre des octets) mais cette ligne n'en est pas");
}
inline QString noHeader() { return QStringLiteral("fichier vide : la ligne d'en-tête manque"); }
inline QString missingColumns() { return QStringLiteral("colonne(s) absente(s) de l'en-tête : %1"); }
inline QString unterminatedQuote()
{
    return QStringLiteral("guillemet ouvert ici et jamais fermé : la suite du fichier ne peut pas être lue");
}
inline QString textAfterQuote() { return QStringLiteral("texte collé après un guillemet fermant"); }
inline QString fieldCount() { return QStringLiteral("%1 champ(s) au lieu des %2 de l'en-tête"); }
inline QString badNumber() { return QStringLiteral("numéro « %1 » : il faut exactement trois chiffres de 0 à 9"); }
inline QString repeatedNumber() { return QStringLiteral("numéro %1 déjà donné à la ligne %2"); }
inline QString blank() { return QStringLiteral("« %1 » est vide"); }

// The old program's Access file.
inline QString mdbSource() { return QStringLiteral("%1, table %2"); }
inline QString mdbMissing() { return QStringLiteral("fichier introuvable"); }
inline QString noMdbTable()
{
    return QStringLiteral("aucune des tables dravé, plomé, tusqué, titres et auteurs n'est dans ce fichier");
}
inline QString toolMissing()
{
    return QStringLiteral("le programme « %1 » est introuvable : installez le paquet Debian mdbtools "
                          "(sudo apt install mdbtools), qui lit les fichiers Access");
}
inline QString toolFailed() { return QStringLiteral("« %1 » a échoué : %2"); }
inline QString toolOutputTooLarge() { return QStringLiteral("sa sortie dépasse %1 Mo, bien plus qu'un catalogue entier"); }
inline QString toolTimedOut() { return QStringLiteral("ne répond plus"); }
inline QString toolExit() { return QStringLiteral("code de sortie %1"); }
inline QString seeCommand()
{
    return QStringLiteral("… et %1 autres lignes : « mezor --import-mdb \"%2\" » les affiche toutes.");
}
inline QString importOldQuestion()
{
    return QStringLiteral("Ce dossier contient le catalogue de l'ancienne version (Mézor.mdb). L'importer ?");
}

// The command line.
inline QString csvFolderValue() { return QStringLiteral("dossier_csv"); }
inline QString mdbFileValue() { return QStringLiteral("fichier_mdb"); }
inline QString exportHelp()
{
    return QStringLiteral("Exporte le catalogue du dossier en CSV dans <dossier_csv> (créé s'il manque) : dravé.csv, "
                          "plomé.csv, tusqué.csv, titres.csv et auteurs.csv.");
}
inline QString importHelp()
{
    return QStringLiteral("Importe les fichiers CSV de <dossier_csv> dans le catalogue du dossier, qui doit être vide "
                          "(il est créé s'il n'existe pas).");
}
inline QString importMdbHelp()
{
    return QStringLiteral("Importe le catalogue de l'ancienne version (fichier Access <fichier_mdb>, lu par "
                          "mdb-export du paquet mdbtools) dans le catalogue du dossier, comme --import.");
}
inline QString emptyValue() { return QStringLiteral("mezor : --%1 demande une valeur non vide."); }
} // namespace TransferTexts
// clang-format on
