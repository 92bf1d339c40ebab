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
inline QString folderNotOpened()
{
    return QStringLiteral("Le bureau n'a pas pu ouvrir le dossier du catalogue (aucun programme n'y est choisi pour "
                          "ouvrir les dossiers). Ouvrez-le à la main, il se trouve ici :\n%1");
}
inline QString close() { return QStringLiteral("Fermer"); }
inline QString importing() { return QStringLiteral("Lecture et vérification des fichiers à importer…"); }
inline QString cancel() { return QStringLiteral("Annuler"); }

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
inline QString exportNotWritten()
{
    return QStringLiteral("L'export dans le dossier « %1 » a échoué : aucun fichier n'y a été écrit.");
}
inline QString exportMixed()
{
    return QStringLiteral("L'export dans le dossier « %1 » a échoué en cours de route, et les fichiers d'avant n'ont "
                          "pas tous pu être remis en place. Fichiers du nouvel export : %2. Fichiers d'un export "
                          "précédent : %3. Anciens fichiers restés sous un autre nom : %4.");
}
inline QString leftAside() { return QStringLiteral("%1 (sous le nom %2)"); }
inline QString none() { return QStringLiteral("aucun"); }
inline QString notSetAside() { return QStringLiteral("L'ancien fichier %1 n'a pas pu être mis de côté : %2"); }
inline QString notPlaced() { return QStringLiteral("Le nouveau fichier %1 n'a pas pu être mis en place : %2"); }

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
inline QString numberRange() { return QStringLiteral("%1 à %2"); }
inline QString andMore() { return QStringLiteral("%1 et %2 autres"); }
inline QString absentTables() { return QStringLiteral("Absents, donc laissés vides : %1."); }
inline QString paddedNumbers()
{
    return QStringLiteral("Numéros complétés à trois chiffres (« 7 » lu « 007 », comme un tableur les écrit) : %1.");
}
inline QString registerAbsent(qsizetype count)
{
    return count > 1 ? QStringLiteral("Attention : le registre des auteurs est absent, alors que les entrées nomment "
                                      "des auteurs ; les %1 auteurs qu'elles nomment y ont été inscrits.").arg(count)
                     : QStringLiteral("Attention : le registre des auteurs est absent, alors que les entrées nomment "
                                      "un auteur ; il y a été inscrit.");
}
inline QString authorsRegistered(qsizetype count)
{
    return (count > 1 ? QStringLiteral("Auteurs nommés par des entrées et absents du registre, inscrits comme le fait "
                                       "un ajout (%1) : %2.")
                      : QStringLiteral("Auteur nommé par des entrées et absent du registre, inscrit comme le fait un "
                                       "ajout (%1) : %2.")).arg(count);
}
inline QString doublyEncoded()
{
    return QStringLiteral("À vérifier : %1, lignes %2 : texte qui semble encodé deux fois (« Ã© » au lieu de « é », "
                          "un fichier UTF-8 relu en Windows-1252 puis réenregistré). L'import les a pris tels quels.");
}

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
inline QString mixedEncoding()
{
    return QStringLiteral("cette ligne n'est pas en UTF-8 alors que d'autres le sont : le fichier mêle deux encodages, "
                          "il serait lu en partie de travers. Enregistrez-le tout en UTF-8");
}
inline QString noHeader() { return QStringLiteral("fichier vide : la ligne d'en-tête manque"); }
inline QString missingColumns() { return QStringLiteral("colonne(s) absente(s) de l'en-tête : %1"); }
inline QString unterminatedQuote()
{
    return QStringLiteral("guillemet ouvert ici et jamais fermé : la suite du fichier ne peut pas être lue");
}
inline QString textAfterQuote() { return QStringLiteral("texte collé après un guillemet fermant"); }
inline QString fieldCount() { return QStringLiteral("%1 champ(s) au lieu des %2 de l'en-tête"); }
inline QString badNumber() { return QStringLiteral("numéro « %1 » : il faut un à trois chiffres de 0 à 9"); }
inline QString zeroNumber() { return QStringLiteral("numéro 000 : une série commence à 001"); }
inline QString holes(int count)
{
    return QStringLiteral("les numéros d'une série se suivent de 001 au dernier, sans trou, sinon l'ajout ne pourrait "
                          "jamais la compléter ni la continuer : ") + (count > 1 ? QStringLiteral("manquent %1") : QStringLiteral("manque %1"));
}
inline QString then() { return QStringLiteral(". Pour continuer : "); }
inline QString repeatedNumber() { return QStringLiteral("numéro %1 déjà donné à la ligne %2"); }
inline QString blank() { return QStringLiteral("« %1 » est vide"); }

// The old program's Access file.
inline QString mdbSource() { return QStringLiteral("%1, table %2"); }
inline QString mdbMissing() { return QStringLiteral("fichier introuvable"); }
inline QString noMdbTable()
{
    return QStringLiteral("aucune des tables dravé, plomé, tusqué, titres et auteurs n'est dans ce fichier");
}
inline QString mdbRenumbering()
{
    return QStringLiteral("exportez les tables en CSV, « mdb-export \"%1\" %2 > %3 » et de même pour les autres, "
                          "corrigez les numéros dans un tableur, puis importez le dossier de ces fichiers "
                          "(« mezor --import DOSSIER_CSV »)");
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
