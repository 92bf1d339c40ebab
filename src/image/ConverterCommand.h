#pragma once

#include <QString>
#include <QStringList>

/// The ImageMagick program that resizes the downloaded image, and the arguments that come before the resize
/// arguments: ImageMagick 7 is "magick convert …", ImageMagick 6 (Debian 12) is "convert …".
struct ConverterCommand {
    /// The box the picture is resized to fit, its proportions kept (a smaller picture is enlarged).
    static constexpr int boxWidth = 800;
    static constexpr int boxHeight = 400;

    QString program; ///< absolute path; empty when no converter was found
    QStringList leadingArguments;

    /// Looks for "magick", then "convert", in `searchPaths` (the PATH when empty).
    static ConverterCommand locate(const QStringList& searchPaths = {});
    /// The whole argument list: the leading ones, then "<input> -resize 800x400 <output>".
    QStringList arguments(const QString& inputName, const QString& outputName) const;
};
