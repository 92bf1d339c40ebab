#pragma once

#include <QString>

// French texts of the forum recap and of the HTML catalogue.
// One text per line reads best here.
// clang-format off
namespace PublishTexts {
// The menu "Catalogue".
inline QString menu() { return QStringLiteral("Publier"); }
inline QString bbcodeAction() { return QStringLiteral("Récapitulatif BBCode…"); }
inline QString htmlAction() { return QStringLiteral("Catalogue HTML…"); }

// The recap's lines and parts.
inline QString heading() { return QStringLiteral("%1 %2–%3 (%4/%5)"); }
inline QString separator() { return QStringLiteral(" — "); }
inline QString postLabel() { return QStringLiteral("message"); }
inline QString imageLabel() { return QStringLiteral("image"); }
inline QString nothingInRange() { return QStringLiteral("Aucune entrée de %1 entre %2 et %3."); }
inline QString entryTooLong()
{
    return QStringLiteral("L'entrée N° %1 de %2 fait à elle seule %3 caractères avec l'en-tête : elle ne tient pas "
                          "dans un message de %4 caractères. Augmentez la limite ou retirez des champs.");
}
inline QString badRange() { return QStringLiteral("Plage de numéros invalide : de %1 à %2."); }

// The recap dialog.
inline QString bbcodeTitle() { return QStringLiteral("Récapitulatif BBCode"); }
inline QString series() { return QStringLiteral("Série"); }
inline QString from() { return QStringLiteral("Du N°"); }
inline QString to() { return QStringLiteral("au N°"); }
inline QString answer() { return QStringLiteral("Réponse"); }
inline QString answerShown() { return QStringLiteral("affichée"); }
inline QString answerSpoiler() { return QStringLiteral("dans [spoiler]"); }
inline QString answerLeftOut() { return QStringLiteral("omise"); }
inline QString author() { return QStringLiteral("Auteur"); }
inline QString postLink() { return QStringLiteral("Lien vers le message"); }
inline QString image() { return QStringLiteral("Image"); }
inline QString imageLeftOut() { return QStringLiteral("omise"); }
inline QString imageLink() { return QStringLiteral("en lien"); }
inline QString imageInline() { return QStringLiteral("en [img]"); }
inline QString limit() { return QStringLiteral("Caractères par message"); }
inline QString part() { return QStringLiteral("Message %1/%2 — %3 caractères"); }
inline QString copy() { return QStringLiteral("Copier"); }
inline QString copied() { return QStringLiteral("Message %1 copié dans le presse-papiers."); }
inline QString save() { return QStringLiteral("Enregistrer…"); }
inline QString close() { return QStringLiteral("Fermer"); }
inline QString saveFolder() { return QStringLiteral("Dossier où enregistrer les messages"); }
inline QString partFile() { return QStringLiteral("%1-%2-%3.txt"); }
inline QString saved() { return QStringLiteral("%1 fichier(s) enregistré(s) dans « %2 »."); }
inline QString saveFailed() { return QStringLiteral("« %1 » n'a pas pu être enregistré : %2. Fichiers déjà enregistrés : %3."); }

// The command line.
inline QString bbcodeHelp()
{
    return QStringLiteral("Écrit sur la sortie standard le récapitulatif BBCode d'une série (Dravé, Plomé, Tusqué "
                          "ou Vantorel, accents et majuscules facultatifs), message après message.");
}
inline QString seriesValue() { return QStringLiteral("série"); }
inline QString fromHelp() { return QStringLiteral("Avec --bbcode : premier numéro (par défaut le premier)."); }
inline QString toHelp() { return QStringLiteral("Avec --bbcode : dernier numéro (par défaut le dernier)."); }
inline QString limitHelp() { return QStringLiteral("Avec --bbcode : caractères par message (par défaut 60000)."); }
inline QString numberValue() { return QStringLiteral("N"); }
inline QString unknownSeries() { return QStringLiteral("Série inconnue : « %1 ». Séries : Dravé, Plomé, Tusqué, Vantorel."); }
inline QString notANumber() { return QStringLiteral("--%1 attend un nombre entier positif, pas « %2 »."); }
inline QString publishHelp()
{
    return QStringLiteral("Publie le catalogue en pages HTML dans le dossier donné (vide, ou une publication "
                          "précédente de Mézor) ; seules les pages changées sont réécrites.");
}
inline QString commandProgress() { return QStringLiteral("%1 / %2 fichiers"); }
inline QString folderValue() { return QStringLiteral("dossier"); }

// The HTML catalogue: its pages.
inline QString siteTitle() { return QStringLiteral("Catalogue des énigmes"); }
inline QString seriesHeading() { return QStringLiteral("Séries"); }
inline QString entryCount() { return QStringLiteral("%1 entrées"); }
inline QString latest() { return QStringLiteral("Dernières entrées"); }
inline QString authors() { return QStringLiteral("Auteurs"); }
inline QString home() { return QStringLiteral("Accueil"); }
inline QString numberHeader() { return QStringLiteral("N°"); }
inline QString authorHeader() { return QStringLiteral("Auteur"); }
inline QString imageHeader() { return QStringLiteral("Image"); }
inline QString postHeader() { return QStringLiteral("Message"); }
inline QString seriesHeader() { return QStringLiteral("Série"); }
inline QString postLinkText() { return QStringLiteral("message"); }
inline QString noPicture() { return QStringLiteral("pas d'image"); }
inline QString pictureAlt() { return QStringLiteral("Image de %1 N° %2"); }
inline QString authorTitle() { return QStringLiteral("Énigmes de %1"); }
inline QString postsOfAuthor() { return QStringLiteral("%1 énigmes"); }

// The publication: refusals, progress, outcome.
inline QString htmlTitle() { return QStringLiteral("Publication du catalogue HTML"); }
inline QString chooseFolder() { return QStringLiteral("Dossier de la publication HTML (vide, ou une publication précédente)"); }
inline QString foreignFolder()
{
    return QStringLiteral("Le dossier « %1 » n'est pas vide et ne contient pas de publication de Mézor : rien n'y a "
                          "été écrit. Choisissez un dossier vide ou celui d'une publication précédente.");
}
inline QString folderNotMade() { return QStringLiteral("Le dossier « %1 » ne peut pas être créé."); }
inline QString publishing() { return QStringLiteral("Publication dans « %1 » : les vignettes, puis les pages…"); }
inline QString progressFormat() { return QStringLiteral("%v / %m"); }
inline QString cancel() { return QStringLiteral("Annuler"); }
inline QString published()
{
    return QStringLiteral("Catalogue publié dans « %1 » : pages, %2 fichier(s) écrit(s) et %3 inchangé(s) ; vignettes, "
                          "%4 faite(s), %5 inchangée(s) et %6 image(s) illisible(s).");
}
inline QString cancelled()
{
    return QStringLiteral("Publication annulée : %1 fichier(s) déjà écrit(s) dans « %2 », chacun complet ; les autres "
                          "pages sont celles de la publication précédente.");
}
inline QString failed()
{
    return QStringLiteral("Publication interrompue : « %1 » n'a pas pu être écrit (%2). %3 fichier(s) déjà écrit(s), "
                          "chacun complet ; les autres sont ceux de la publication précédente.");
}
inline QString markerNotWritten() { return QStringLiteral("Le registre de la publication « %1 » n'a pas pu être écrit (%2) : la prochaine publication refera toutes les vignettes."); }
} // namespace PublishTexts
