#pragma once

#include <QString>

// French texts of the link check and of the image archive's downloads.
// One text per line reads best here.
// clang-format off
namespace LinksTexts {
inline QString checkAction() { return QStringLiteral("Vérifier les &liens…"); }
inline QString archiveAction() { return QStringLiteral("&Archiver les images…"); }
inline QString checkCommandHelp()
{
    return QStringLiteral("Vérifie toutes les adresses web (images et messages) et liste celles qui ne sont pas "
                          "« ok ». Code de sortie : 0 si toutes sont ok, 1 sinon.");
}
inline QString archiveCommandHelp()
{
    return QStringLiteral("Télécharge dans le dossier « images » chaque image qui n'y a pas de copie à jour. Code "
                          "de sortie : 0 si toutes les images ont leur copie, 1 sinon.");
}

// The window.
inline QString checkTitle() { return QStringLiteral("Vérification des liens"); }
inline QString archiveTitle() { return QStringLiteral("Archivage des images"); }
inline QString checking() { return QStringLiteral("Vérification des adresses en cours…"); }
inline QString archiving() { return QStringLiteral("Téléchargement des images en cours…"); }
inline QString progressFormat() { return QStringLiteral("%v / %m"); }
inline QString cancel() { return QStringLiteral("Annuler"); }
inline QString close() { return QStringLiteral("Fermer"); }
inline QString exportList() { return QStringLiteral("Exporter la liste…"); }
inline QString exportTitle() { return QStringLiteral("Exporter la liste des liens"); }
inline QString exportFilter() { return QStringLiteral("Fichiers CSV (*.csv)"); }
inline QString exportName() { return QStringLiteral("liens.csv"); }
inline QString exported() { return QStringLiteral("Liste enregistrée dans « %1 »."); }
inline QString exportFailed() { return QStringLiteral("La liste n'a pas pu être enregistrée dans « %1 »."); }
/// `n` and the noun that agrees with it: one form up to 1, as French counts (« 0 image », « 2 images »).
inline QString counted(qsizetype n, const QString& one, const QString& many)
{
    return QString::number(n) + u' ' + (n <= 1 ? one : many);
}
inline QString cancelled() { return QStringLiteral("Annulé après %1 / %2."); }
inline QString address() { return QStringLiteral("adresse"); }
inline QString addresses() { return QStringLiteral("adresses"); }
inline QString doubleClickHint() { return QStringLiteral("Double-cliquez sur une ligne pour ouvrir l'entrée."); }
inline QString seriesHeader() { return QStringLiteral("Série"); }
inline QString numberHeader() { return QStringLiteral("N°"); }
inline QString fieldHeader() { return QStringLiteral("Lien"); }
inline QString addressHeader() { return QStringLiteral("Adresse"); }
inline QString classHeader() { return QStringLiteral("Résultat"); }
inline QString detailHeader() { return QStringLiteral("Détail"); }
inline QString finalHeader() { return QStringLiteral("Adresse finale"); }
/// The two addresses of an entry, as the edit panel names them.
inline QString imageField() { return QStringLiteral("Lien image"); }
inline QString postField() { return QStringLiteral("Lien Sorvane"); }

// The classes of a result.
inline QString ok() { return QStringLiteral("ok"); }
inline QString redirected() { return QStringLiteral("redirigé"); }
inline QString notFound() { return QStringLiteral("introuvable"); }
inline QString error() { return QStringLiteral("erreur"); }
inline QString notAnImage() { return QStringLiteral("pas une image"); }

// Reasons.
inline QString malformed() { return QStringLiteral("adresse mal formée"); }
inline QString timeout() { return QStringLiteral("pas de réponse complète en %1 s"); }
inline QString tooManyRedirects() { return QStringLiteral("plus de %1 redirections"); }
inline QString insecureRedirect() { return QStringLiteral("redirection de https vers http refusée : %1"); }
inline QString redirectNotWeb()
{
    return QStringLiteral("redirection vers une adresse qui n'est pas http ou https : %1");
}
/// %1: what the status says (one of the five below), %2: its code.
inline QString httpStatus() { return QStringLiteral("%1 (HTTP %2)"); }
inline QString statusGone() { return QStringLiteral("introuvable"); }
inline QString statusDenied() { return QStringLiteral("accès refusé"); }
inline QString statusRefused() { return QStringLiteral("requête refusée"); }
inline QString statusServer() { return QStringLiteral("erreur du serveur"); }
inline QString statusUnexpected() { return QStringLiteral("réponse inattendue"); }
inline QString noSignature() { return QStringLiteral("ni JPEG, ni PNG, ni GIF, ni BMP, ni TIFF"); }
inline QString received() { return QStringLiteral("%1 (reçu : %2)"); }
inline QString tooLarge() { return QStringLiteral("l'image dépasse %1 octets"); }

// Summaries: the window's status and the last line of the commands.
inline QString checkSummary()
{
    return QStringLiteral("%1 : ok %2, redirigé %3, introuvable %4, erreur %5, pas une image %6. Sans adresse web : "
                          "%7.");
}
inline QString checked() { return QStringLiteral("adresse web vérifiée"); }
inline QString checkedMany() { return QStringLiteral("adresses web vérifiées"); }
inline QString archiveSummary()
{
    return QStringLiteral("%1 à télécharger : %2, %3 en échec. Déjà à jour : %4. Sans adresse web : %5.");
}
inline QString image() { return QStringLiteral("image"); }
inline QString images() { return QStringLiteral("images"); }
inline QString kept() { return QStringLiteral("gardée"); }
inline QString keptMany() { return QStringLiteral("gardées"); }
inline QString commandProgress() { return QStringLiteral("%1 / %2"); }
} // namespace LinksTexts
// clang-format on
