#include "userdb/bulkfill.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace userdb {

namespace {

constexpr int SerialDigits = 8;
constexpr quint64 LastSerial = 0xFFFFFFFFu;

bool isSerialDigit(QChar ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'F');
}

} // namespace

BulkFillResult bulkFill(RecordStore &store, const QString &startText, const QString &countText,
                        int maxCount) {
    BulkFillResult result;
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator); // "1,000" is no number here
    bool isNumber = false;
    const double count = plain.toDouble(countText.trimmed(), &isNumber);
    if (!isNumber || !std::isfinite(count)) {
        result.error = QStringLiteral("Please enter the number of Remlets as a number.");
        return result;
    }
    if (count < 1)
        return result;
    const int limit = std::min(maxCount, SlotCount);
    if (count >= limit + 1) {
        result.error = QStringLiteral("At most %1 Remlets can be filled at once.").arg(limit);
        return result;
    }
    const int runLength = int(count); // a fraction is cut off

    // The start box only takes hexadecimal capitals by key; anything else came from a paste.
    if (startText.size() > SerialDigits ||
        !std::all_of(startText.begin(), startText.end(), isSerialDigit)) {
        result.error = QStringLiteral("The start serial number must be up to 8 hexadecimal digits "
                                      "(0 to 9 and A to F).");
        return result;
    }
    const quint64 start = startText.isEmpty() ? 0 : startText.toULongLong(nullptr, 16);
    if (start + quint64(runLength) - 1 > LastSerial) {
        result.error = QStringLiteral("%1 Remlets from %2 would pass the last serial number "
                                      "FFFFFFFF.")
                           .arg(runLength)
                           .arg(startText.rightJustified(SerialDigits, u'0'));
        return result;
    }

    for (int slot = 1; slot <= runLength; ++slot)
        store.setCell(slot, SerialNumber,
                      QString::number(start + quint64(slot) - 1, 16)
                          .toUpper()
                          .rightJustified(SerialDigits, u'0'));
    result.changed = true;
    result.lastSlot = runLength;
    return result;
}

} // namespace userdb
