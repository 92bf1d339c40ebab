#include "transfer/Csv.h"

namespace Csv {

namespace {

QString field(const QString& value)
{
    const bool quoted = value.contains(u',') || value.contains(u'"') || value.contains(u'\r') || value.contains(u'\n');
    if (!quoted) {
        return value;
    }
    QString escaped = value;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

} // namespace

QString record(const QStringList& fields)
{
    QStringList written;
    written.reserve(fields.size());
    for (const QString& value : fields) {
        written.append(field(value));
    }
    return written.join(u',');
}

QByteArray file(const QList<QStringList>& records)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QStringList& fields : records) {
        bytes += record(fields).toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace Csv
