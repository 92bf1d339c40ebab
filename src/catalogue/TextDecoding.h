#pragma once

#include <QByteArray>
#include <QString>

/// Text that other programs wrote, in UTF-8 or in Windows-1252 (what Windows programs write by default), told apart
/// by its bytes: the settings file and the import read their files through here.
namespace TextDecoding {

/// How a file's bytes were read.
struct Decoded {
    enum class Encoding { Utf8, Windows1252, Mixed };
    Encoding encoding = Encoding::Utf8;
    QString text;       ///< without a leading byte-order mark; empty when Mixed
    int brokenLine = 0; ///< Mixed: the first line (1 = first, counted at LF) that is not UTF-8
};

/// UTF-8 when the bytes are valid UTF-8; Windows-1252 when they hold no valid multi-byte UTF-8 sequence at all;
/// otherwise Mixed, with nothing decoded: reading either way would garble part of the text.
Decoded decode(const QByteArray& bytes);

/// UTF-8 when the bytes are valid UTF-8, else Windows-1252 whatever they hold: the lenient reading of short files
/// that other programs edit (the settings file).
QString utf8OrWindows1252(const QByteArray& bytes);

/// Whether `text` holds UTF-8 that was once read as Windows-1252 and written again ("Ã©" for "é", "â€™" for "’").
bool looksDoublyEncoded(QStringView text);

} // namespace TextDecoding
