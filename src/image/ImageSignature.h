#pragma once

#include <QByteArray>
#include <QString>

/// The formats the image window hands to the converter, told by their first bytes. ImageMagick guesses a format
/// from the content, and several of the formats it reads (SVG, MVG, MSL, PostScript, text) run code or read
/// files, so a download must be one of these before the converter sees it.
namespace ImageSignature {
/// How many leading bytes `isAccepted` needs at most.
inline constexpr int headLength = 8;
/// True when `head` starts like a JPEG, PNG, GIF, BMP or TIFF file.
bool isAccepted(const QByteArray& head);
/// The usual file extension of the format `head` starts like ("jpg", "png", "gif", "bmp", "tif"), or nothing.
QString extension(const QByteArray& head);
} // namespace ImageSignature
