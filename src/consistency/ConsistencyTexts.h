#pragma once

#include <QString>

// French texts of the consistency check of the catalogue and of the merge of an author's spellings.
// One text per line reads best here.
// clang-format off
namespace ConsistencyTexts {
inline QString checkAction() { return QStringLiteral("Contrôler le catalogue…"); }
inline QString commandHelp()
{
    return QStringLiteral("Contrôle le catalogue (numérotation, réponses en double, adresses partagées ou qui ne "
                          "sont pas web, orthographes des auteurs) et liste ce qui n'est pas marqué « Pas un "
                          "problème ». Code de sortie : 0 si rien n'est trouvé, 1 sinon.");
}

// Kinds of findings, as the groups of the list.
inline QString numbering() { return QStringLiteral("Numérotation"); }
inline QString sameAnswer() { return QStringLiteral("Même réponse deux fois dans une série"); }
inline QString sharedImage() { return QStringLiteral("Même adresse d'image pour plusieurs entrées"); }
inline QString sharedPost() { return QStringLiteral("Même adresse de message pour plusieurs entrées"); }
inline QString authorSpellings() { return QStringLiteral("Orthographes d'un même auteur"); }
inline QString unusedAuthor() { return QStringLiteral("Auteurs inscrits qu'aucune entrée ne nomme"); }
inline QString unregisteredAuthor() { return QStringLiteral("Auteurs non inscrits"); }
inline QString notWebAddress() { return QStringLiteral("Adresses qui ne sont pas web"); }
inline QString group() { return QStringLiteral("%1 (%2)"); }

// One line per finding.
inline QString hole() { return QStringLiteral("%1 : numéro %2 absent"); }
inline QString holes() { return QStringLiteral("%1 : numéros %2 à %3 absents"); }
inline QString repeated() { return QStringLiteral("%1 : numéro %2 porté par %3 entrées"); }
inline QString malformed() { return QStringLiteral("%1 : numéro « %2 » qui n'est pas sur trois chiffres de 001 à 999"); }
inline QString answerTwice() { return QStringLiteral("%1 : « %2 » aux numéros %3"); }
inline QString shared() { return QStringLiteral("« %1 » pour %2 entrées"); }
inline QString spellings() { return QStringLiteral("Sans doute une seule personne : %1"); }
inline QString spelling() { return QStringLiteral("« %1 » (%2)"); }
inline QString entries(qsizetype n) { return n == 1 ? QStringLiteral("1 entrée") : QStringLiteral("%1 entrées").arg(n); }
inline QString registered() { return QStringLiteral("inscrit"); }
inline QString unused() { return QStringLiteral("« %1 » est inscrit, mais aucune entrée ne le nomme"); }
inline QString unregistered() { return QStringLiteral("« %1 » signe %2 mais n'est pas inscrit"); }
inline QString notWeb() { return QStringLiteral("%1 %2, %3 : « %4 » n'est ni une adresse http(s), ni « Non disponible »"); }
inline QString imageField() { return QStringLiteral("Lien image"); }
inline QString postField() { return QStringLiteral("Lien Sorvane"); }

// The command's report.
inline QString entryLine() { return QStringLiteral("%1 %2 — %3 — %4"); }
inline QString nothingFound() { return QStringLiteral("Rien à signaler dans le catalogue."); }
inline QString summary() { return QStringLiteral("%1 constat(s) à examiner."); }
inline QString marksSilent() { return QStringLiteral("%1 constat(s) marqué(s) « Pas un problème » non affiché(s)."); }

// The window.
inline QString title() { return QStringLiteral("Contrôle du catalogue"); }
inline QString findingsTab() { return QStringLiteral("Constats"); }
inline QString marksTab() { return QStringLiteral("Marqués « Pas un problème » (%1)"); }
inline QString seriesHeader() { return QStringLiteral("Constat / Série"); }
inline QString numberHeader() { return QStringLiteral("N°"); }
inline QString answerHeader() { return QStringLiteral("Réponse"); }
inline QString authorHeader() { return QStringLiteral("Auteur"); }
inline QString findingHeader() { return QStringLiteral("Constat"); }
inline QString markedHeader() { return QStringLiteral("Marqué le"); }
inline QString notAProblem() { return QStringLiteral("Pas un problème"); }
inline QString unmark() { return QStringLiteral("Retirer la marque"); }
inline QString merge() { return QStringLiteral("Fusionner…"); }
inline QString close() { return QStringLiteral("Fermer"); }
inline QString status() { return QStringLiteral("%1 constat(s), %2 marqué(s) « Pas un problème »."); }
inline QString clean() { return QStringLiteral("Rien à signaler ; %1 constat(s) marqué(s) « Pas un problème »."); }
inline QString doubleClickHint() { return QStringLiteral("Double-cliquez sur une entrée pour l'ouvrir."); }
inline QString markDate() { return QStringLiteral("d MMMM yyyy 'à' HH:mm"); }
inline QString chooseTitle() { return QStringLiteral("Fusionner les orthographes"); }
inline QString chooseLabel()
{
    return QStringLiteral("Orthographe à garder : toutes les entrées des autres la prendront, et le registre des "
                          "auteurs ne gardera qu'elle.");
}
inline QString quoted() { return QStringLiteral("« %1 »"); }
inline QString mergeDescription() { return QStringLiteral("la fusion de %1 en « %2 »"); }
inline QString nothingToMerge() { return QStringLiteral("Aucune entrée ni aucun nom du registre ne porte ces orthographes : rien n'a été fusionné."); }
inline QString merged() { return QStringLiteral("Orthographes fusionnées en « %1 »."); }
} // namespace ConsistencyTexts
// clang-format on
