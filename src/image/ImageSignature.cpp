#include "image/ImageSignature.h"

#include <array>

namespace {

struct Signature {
    QByteArray bytes;
    QString extension;
};

const std::array<Signature, 7>& signatures()
{
    static const std::array<Signature, 7> all = {{
        {QByteArray("\xFF\xD8\xFF", 3), QStringLiteral("jpg")},      // JPEG
        {QByteArray("\x89PNG\r\n\x1A\n", 8), QStringLiteral("png")}, // PNG
        {QByteArray("GIF87a", 6), QStringLiteral("gif")},            // GIF
        {QByteArray("GIF89a", 6), QStringLiteral("gif")},            // GIF
        {QByteArray("BM", 2), QStringLiteral("bmp")},                // BMP
        {QByteArray("II*\0", 4), QStringLiteral("tif")},             // TIFF, little-endian
        {QByteArray("MM\0*", 4), QStringLiteral("tif")},             // TIFF, big-endian
    }};
    return all;
}

} // namespace

bool ImageSignature::isAccepted(const QByteArray& head)
{
    return !extension(head).isEmpty();
}

QString ImageSignature::extension(const QByteArray& head)
{
    for (const Signature& signature : signatures()) {
        if (head.startsWith(signature.bytes)) {
            return signature.extension;
        }
    }
    return {};
}
