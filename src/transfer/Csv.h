#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/// The CSV files that Mézor writes (RFC 4180): UTF-8 with a byte-order mark, which spreadsheet programs on Windows
/// need to read accents; comma between fields; CRLF at the end of every record. A field is quoted with '"' when it
/// holds a comma, a quote, CR or LF, its quotes doubled. Values are written exactly as given.
///
/// The reader takes what other tools write: comma or semicolon, LF, CRLF or CR, RFC 4180 quoting with line breaks
/// inside quotes.
namespace Csv {

/// One record, without its line end.
QString record(const QStringList& fields);
/// A whole file: the byte-order mark, then each record followed by CRLF.
QByteArray file(const QList<QStringList>& records);

/// A record that cannot be read as written: a quote opened and never closed (the rest of the text went into one
/// field), or text after a closing quote (kept in the field).
struct Fault {
    enum class Kind { UnterminatedQuote, TextAfterQuote };
    Kind kind;
    int line = 0; ///< where the faulty field begins
};

/// A record as read, with the line of the text where it begins (1 = first line).
struct Record {
    int line = 0;
    QStringList fields;
    std::optional<Fault> fault; ///< the first fault of the record, if any
};

/// Reads decoded text. The separator is the semicolon when the first line holds more semicolons than commas, else
/// the comma. A record ends at LF, CRLF or CR outside quotes; empty lines are skipped; quotes are taken literally
/// inside an unquoted field; every value is kept exactly, line breaks inside quotes included.
QList<Record> read(QStringView text);

} // namespace Csv
