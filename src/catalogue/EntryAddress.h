#pragma once

#include <QString>
#include <QUrl>

/// The two addresses of an entry, `url` (its image) and `lien` (its forum post), as the catalogue stores them.
namespace EntryAddress {

/// Stored for an address that the keeper did not give.
QString notAvailable();
/// An address that the keeper did not give: empty (white space aside) or "Non disponible".
bool isMissing(const QString& address);
/// The address as a URL when it is an absolute http:// or https:// address with a host, else an invalid QUrl.
/// Anything else (file paths, other schemes) must never reach the desktop's open request or the network.
QUrl webUrl(const QString& address);

} // namespace EntryAddress
