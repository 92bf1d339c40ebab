#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/// The CSV files that Mézor writes (RFC 4180): UTF-8 with a byte-order mark, which spreadsheet programs on Windows
/// need to read accents; comma between fields; CRLF at the end of every record. A field is quoted with '"' when it
/// holds a comma, a quote, CR or LF, its quotes doubled. A value that a spreadsheet would run as a formula is written
/// behind an apostrophe (see `guarded`); every other value is written exactly as given.
///
/// The reader takes what other tools write: comma or semicolon, LF, CRLF or CR, RFC 4180 quoting with line breaks
/// inside quotes.
namespace Csv {

/// A value as written: an apostrophe before any value that starts with apostrophes (or none) and then one of
/// = + - @ tab CR, the characters that make a spreadsheet read a cell as a formula. The spreadsheet then shows text;
/// `unguarded` takes the apostrophe back, so every value comes back exactly.
QString guarded(const QString& value);
/// The value that `guarded` wrote: one apostrophe less before a guarded value, any other value as it stands.
QString unguarded(const QString& value);

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

/// Reads decoded text one record at a time. The separator is the semicolon when the first line holds more
/// semicolons than commas, the comma when it holds commas, and none when it holds neither: a file of one column is
/// read one field per line, so that a comma or a semicolon inside an unquoted value stays in it. A record ends at LF,
/// CRLF or CR outside quotes; empty lines are skipped; quotes are taken literally inside an unquoted field; every
/// value is kept exactly, line breaks inside quotes included.
class Reader {
public:
    /// `text` must outlive the reader.
    explicit Reader(QStringView text);
    /// The next record, or nothing after the last one.
    std::optional<Record> next();

private:
    QString plain();
    QString quoted(Record& record);
    bool isSeparator(qsizetype at) const;
    void skipLineEnd();

    QStringView m_text;
    std::optional<QChar> m_separator;
    qsizetype m_at = 0;
    int m_line = 1;
};

} // namespace Csv
