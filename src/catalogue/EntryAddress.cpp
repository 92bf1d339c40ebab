#include "catalogue/EntryAddress.h"

namespace EntryAddress {

QString notAvailable()
{
    return QStringLiteral("Non disponible");
}

bool isMissing(const QString& address)
{
    const QString trimmed = address.trimmed();
    return trimmed.isEmpty() || trimmed == notAvailable();
}

QUrl webUrl(const QString& address)
{
    const QUrl url(address.trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty()) {
        return {};
    }
    return url;
}

} // namespace EntryAddress
