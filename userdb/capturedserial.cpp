#include "userdb/capturedserial.h"

namespace userdb {

namespace {

constexpr int SerialLength = 8;

bool isHexDigit(QChar ch) {
    const char16_t c = ch.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

QString capturedSerial(const QString &line) {
    // From the end, so the first whole run of the right length is the last one in the line.
    qsizetype end = line.size();
    while (end > 0) {
        while (end > 0 && !isHexDigit(line.at(end - 1)))
            --end;
        qsizetype start = end;
        while (start > 0 && isHexDigit(line.at(start - 1)))
            --start;
        if (end - start == SerialLength)
            return line.mid(start, SerialLength).toUpper();
        end = start;
    }
    return {};
}

} // namespace userdb
