#pragma once

#include <QHash>
#include <QString>

class CatalogueFolder;
class Messenger;

/// The forum recap and the HTML catalogue on the command line.
namespace PublishCommands {

/// `mezor --bbcode SERIES [--from N] [--to M] [--limit N]`: the posts on the standard output, one after the other.
/// `settings` holds the values of "from", "to" and "limit" that were given. 2 for a series or a number that is not
/// one.
int bbcode(const QString& series, const QHash<QString, QString>& settings, const CatalogueFolder& folder,
           Messenger& messenger);
/// `mezor --publish DIR`: the HTML catalogue with its thumbnails, the progress on the standard error.
int publish(const QString& target, const CatalogueFolder& folder, Messenger& messenger);

} // namespace PublishCommands
