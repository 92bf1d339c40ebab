#include "image/ImageSignature.h"

#include <array>

bool ImageSignature::isAccepted(const QByteArray& head)
{
    static const std::array<QByteArray, 7> signatures = {
        QByteArray("\xFF\xD8\xFF", 3),      // JPEG
        QByteArray("\x89PNG\r\n\x1A\n", 8), // PNG
        QByteArray("GIF87a", 6),            // GIF
        QByteArray("GIF89a", 6),            // GIF
        QByteArray("BM", 2),                // BMP
        QByteArray("II*\0", 4),             // TIFF, little-endian
        QByteArray("MM\0*", 4),             // TIFF, big-endian
    };
    for (const QByteArray& signature : signatures) {
        if (head.startsWith(signature)) {
            return true;
        }
    }
    return false;
}
