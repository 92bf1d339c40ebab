#include "catalogue/TextDecoding.h"

#include <algorithm>
#include <iterator>

namespace TextDecoding {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80–0x9F; the five unassigned bytes map to themselves.
constexpr char16_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString windows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte < 0xA0) ? QChar(windows1252High[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text;
}

// The length of the well-formed UTF-8 sequence of more than one byte at `at` (RFC 3629: no overlong form, no
// surrogate, nothing above U+10FFFF), or 0.
qsizetype sequenceAt(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes.at(i)) : 0u; };
    const unsigned lead = byte(at);
    qsizetype length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    // Only the second byte has a narrower range.
    if (byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (qsizetype i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// A character that a UTF-8 continuation byte (0x80–0xBF) becomes when read as Windows-1252.
bool isContinuationRead(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x80 && u <= 0xBF) || std::find(std::begin(windows1252High), std::end(windows1252High), u) !=
                                           std::end(windows1252High);
}

} // namespace

Decoded decode(const QByteArray& bytes)
{
    qsizetype broken = -1;
    bool multiByte = false;
    for (qsizetype at = 0; at < bytes.size();) {
        if (static_cast<unsigned char>(bytes.at(at)) < 0x80) {
            ++at;
        } else if (const qsizetype length = sequenceAt(bytes, at); length > 0) {
            multiByte = true;
            at += length;
        } else {
            broken = broken < 0 ? at : broken;
            ++at;
        }
        if (broken >= 0 && multiByte) {
            break;
        }
    }
    if (broken < 0) {
        const QByteArrayView bom("\xEF\xBB\xBF");
        const QByteArrayView text = bytes.startsWith(bom) ? QByteArrayView(bytes).sliced(bom.size()) : bytes;
        return {Decoded::Encoding::Utf8, QString::fromUtf8(text), 0};
    }
    if (!multiByte) {
        return {Decoded::Encoding::Windows1252, windows1252(bytes), 0};
    }
    return {Decoded::Encoding::Mixed, {}, int(bytes.first(broken).count('\n')) + 1};
}

QString utf8OrWindows1252(const QByteArray& bytes)
{
    Decoded decoded = decode(bytes);
    return decoded.encoding == Decoded::Encoding::Mixed ? windows1252(bytes) : std::move(decoded.text);
}

bool looksDoublyEncoded(QStringView text)
{
    // The lead bytes of French text's sequences read as Windows-1252: Â (C2: « » ° and the no-break space),
    // Ã (C3: accented letters), Å (C5: œ), â (E2: ’ … € and the dashes).
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const char16_t lead = text.at(i).unicode();
        const bool twoBytes = lead == 0xC2 || lead == 0xC3 || lead == 0xC5;
        if (twoBytes && isContinuationRead(text.at(i + 1))) {
            return true;
        }
        if (lead == 0xE2 && i + 2 < text.size() && isContinuationRead(text.at(i + 1)) &&
            isContinuationRead(text.at(i + 2))) {
            return true;
        }
    }
    return false;
}

} // namespace TextDecoding
