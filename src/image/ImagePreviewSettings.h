#pragma once

#include "image/ConverterCommand.h"

#include <QtGlobal>

/// The bounds of one image display and the converter it runs. Tests shorten the bounds and swap the converter.
struct ImagePreviewSettings {
    int downloadTimeoutMs = 15'000;
    qint64 maxDownloadBytes = 20 * 1024 * 1024;
    int conversionTimeoutMs = 15'000;
    ConverterCommand converter = ConverterCommand::locate();
};
