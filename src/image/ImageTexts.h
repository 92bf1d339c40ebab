#pragma once

#include <QString>

// French texts of the image window, its download and its conversion.
// clang-format off: one text a line.
namespace ImageTexts {
inline QString windowTitle()
{
    return QStringLiteral("DPT - Image");
}
inline QString showButton()
{
    return QStringLiteral("Afficher");
}
inline QString refLabel()
{
    return QStringLiteral("Ref : ");
}
inline QString nameLabel()
{
    return QStringLiteral("Nom :");
}
inline QString linkLabel()
{
    return QStringLiteral("Lien Sorvane");
}
inline QString boxPlaceholder()
{
    return QStringLiteral("Text1");
}

// Refusals of the image address, in the order the checks run.
inline QString noAddress()
{
    return QStringLiteral("URL non spécifiée.");
}
inline QString invalidAddress()
{
    return QStringLiteral("URL invalide.");
}
inline QString gifRefused()
{
    return QStringLiteral("Format GIF non supporté. ");
}
inline QString badExtension()
{
    return QStringLiteral("Extension invalide.");
}

// What the window is doing, and why it shows no picture.
inline QString downloading()
{
    return QStringLiteral("Téléchargement…");
}
inline QString converting()
{
    return QStringLiteral("Conversion de l'image…");
}
inline QString downloadFailed()
{
    return QStringLiteral("Téléchargement impossible : %1");
}
inline QString httpError()
{
    return QStringLiteral("Téléchargement impossible : le serveur a répondu %1 %2.");
}
inline QString downloadTimeout()
{
    return QStringLiteral("Téléchargement interrompu : pas de réponse complète en %1 s.");
}
inline QString tooLarge()
{
    return QStringLiteral("Téléchargement interrompu : l'image dépasse %1 octets.");
}
inline QString notWebDownload()
{
    return QStringLiteral("Téléchargement refusé : « %1 » n'est pas une adresse http ou https.");
}
inline QString fileWriteFailed()
{
    return QStringLiteral("Le fichier « %1 » ne peut pas être écrit : %2");
}
inline QString fileReadFailed()
{
    return QStringLiteral("Le fichier « %1 » ne peut pas être lu : %2");
}
inline QString notAnImage()
{
    return QStringLiteral("Le fichier reçu n'est pas une image JPEG, PNG, GIF, BMP ou TIFF : il n'a pas été converti.");
}
inline QString converterMissing()
{
    return QStringLiteral("Le convertisseur d'images ImageMagick (« magick » ou « convert ») est introuvable.");
}
inline QString converterNotStarted()
{
    return QStringLiteral("Le convertisseur « %1 » n'a pas pu être lancé : %2");
}
inline QString converterFailed()
{
    return QStringLiteral("Le convertisseur a échoué (code %1) : %2");
}
inline QString converterCrashed()
{
    return QStringLiteral("Le convertisseur s'est arrêté brutalement.");
}
inline QString converterTimeout()
{
    return QStringLiteral("Le convertisseur n'a pas fini en %1 s : il a été arrêté.");
}
inline QString unreadablePicture()
{
    return QStringLiteral("L'image convertie « %1 » est illisible.");
}
inline QString workFileNotRemoved()
{
    return QStringLiteral("Le fichier de travail « %1 » ne peut pas être supprimé : %2");
}

// The archive of the pictures shown.
inline QString localCopy()
{
    return QStringLiteral("Copie locale du %1 : l'image n'a pas pu être téléchargée.");
}
/// The date of a copy in `localCopy`, as QLocale formats it.
inline QString copyDateFormat()
{
    return QStringLiteral("d MMMM yyyy 'à' HH:mm");
}
inline QString keepFailed()
{
    return QStringLiteral("L'image n'a pas pu être gardée dans « %1 » : %2");
}
inline QString notMovedAside() { return QStringLiteral("la copie déjà gardée ne peut pas être déplacée."); }
inline QString archiveFolderFailed()
{
    return QStringLiteral("Le dossier des images « %1 » ne peut pas être créé.");
}
inline QString archiveReadFailed()
{
    return QStringLiteral("L'archive des images n'a pas pu être lue : %1");
}
} // namespace ImageTexts
// clang-format on
