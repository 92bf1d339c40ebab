#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The CSV files that Mézor writes (RFC 4180): UTF-8 with a byte-order mark, which spreadsheet programs on Windows
/// need to read accents; comma between fields; CRLF at the end of every record. A field is quoted with '"' when it
/// holds a comma, a quote, CR or LF, its quotes doubled. Values are written exactly as given.
namespace Csv {

/// One record, without its line end.
QString record(const QStringList& fields);
/// A whole file: the byte-order mark, then each record followed by CRLF.
QByteArray file(const QList<QStringList>& records);

} // namespace Csv
