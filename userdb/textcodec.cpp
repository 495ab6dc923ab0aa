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
inline int byteOf(char16_t unit) {
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
    appendWindows1252(bytes, text);
    return bytes;
}

void appendWindows1252(QByteArray &out, const QString &text) {
    const qsizetype start = out.size();
    out.resize(start + text.size()); // one byte per UTF-16 unit at most
    char *write = out.data() + start;
    const QChar *read = text.constData();
    const QChar *end = read + text.size();
    for (; read != end; ++read) {
        if (read->isHighSurrogate() && read + 1 != end && read[1].isLowSurrogate())
            ++read; // one "?" for the whole code point
        const int byte = byteOf(read->unicode());
        *write++ = byte < 0 ? '?' : char(byte);
    }
    out.resize(write - out.constData());
}

QString decodeWindows1252(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
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
