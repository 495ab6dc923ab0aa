#include "userdb/textcodec.h"

#include <array>

namespace userdb {

namespace {

// Bytes 0x80 to 0x9F; every other byte is the code point of the same number. The undefined
// bytes keep their own number so that they survive a load and a save unchanged.
constexpr std::array<char16_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for a character, or -1 when Windows-1252 has none.
int byteOf(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (std::size_t i = 0; i < HighControlRange.size(); ++i)
        if (HighControlRange[i] == unit)
            return int(0x80 + i);
    return -1;
}

} // namespace

QByteArray encodeWindows1252(const QString &text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one "?" for the whole code point
        const int byte = byteOf(ch.unicode());
        bytes.append(byte < 0 ? '?' : char(byte));
    }
    return bytes;
}

QString decodeWindows1252(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        out[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(HighControlRange[byte - 0x80]) : QChar(byte);
    }
    return text;
}

bool isWindows1252Character(QChar ch) {
    return byteOf(ch.unicode()) >= 0;
}

} // namespace userdb
