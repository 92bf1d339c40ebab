#include "image/ImageAddress.h"

#include "image/ImageTexts.h"

#include <QStringList>

namespace ImageAddress {

Problem check(const QString& address)
{
    if (address.trimmed().isEmpty()) {
        return Problem::Missing;
    }
    if (address.left(4).toUpper() != u"HTTP") {
        return Problem::NotWeb;
    }
    if (address.startsWith(QStringView(forumPrefix))) {
        return Problem::None;
    }
    // Only the last three characters count, so ".jpeg" is "PEG", ".tiff" is "IFF", and a query ends the name.
    const QString ending = address.right(3).toUpper();
    if (ending == u"GIF") {
        return Problem::Gif;
    }
    static const QStringList accepted = {QStringLiteral("JPG"), QStringLiteral("JPE"), QStringLiteral("PEG"),
                                         QStringLiteral("IFF"), QStringLiteral("PNG"), QStringLiteral("BMP"),
                                         QStringLiteral("TIF")};
    if (!accepted.contains(ending)) {
        return Problem::BadExtension;
    }
    return Problem::None;
}

QString message(Problem problem)
{
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::Missing:
        return ImageTexts::noAddress();
    case Problem::NotWeb:
        return ImageTexts::invalidAddress();
    case Problem::Gif:
        return ImageTexts::gifRefused();
    case Problem::BadExtension:
        return ImageTexts::badExtension();
    }
    return {};
}

} // namespace ImageAddress
