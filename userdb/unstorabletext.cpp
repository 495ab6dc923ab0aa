#include "userdb/unstorabletext.h"

#include "userdb/columntitles.h"
#include "userdb/textcodec.h"

#include <QStringList>

namespace userdb {

namespace {

constexpr int MaxListedPlaces = 10;

bool isStorable(QChar ch) {
    return ch != u'"' && isWindows1252Character(ch);
}

int unstorableCount(const QString &text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isStorable(text.at(i)))
            continue;
        ++count;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return count;
}

QString withReplacements(const QString &text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isStorable(text.at(i))) {
            result += text.at(i);
            continue;
        }
        result += u'?';
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return result;
}

} // namespace

QList<UnstorablePlace> findUnstorableText(const QString &address, const RecordStore &store) {
    QList<UnstorablePlace> places;
    if (unstorableCount(address) > 0)
        places.append({0, 0});
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (int column = 1; column <= ColumnCount; ++column)
            if (unstorableCount(store.cell(slot, column)) > 0)
                places.append({slot, column});
    return places;
}

QString describeUnstorablePlaces(const QList<UnstorablePlace> &places) {
    QStringList lines;
    for (const UnstorablePlace &place :
         places.first(std::min<qsizetype>(places.size(), MaxListedPlaces)))
        lines
            << (place.slot == 0
                    ? QStringLiteral("Database address")
                    : QStringLiteral("Slot %1, %2").arg(place.slot).arg(columnTitle(place.column)));
    if (places.size() > MaxListedPlaces)
        lines << QStringLiteral("and %1 more").arg(places.size() - MaxListedPlaces);
    return lines.join(u'\n');
}

int countUnstorableCharacters(const QString &address, const RecordStore &store) {
    int count = unstorableCount(address);
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (const QString &cell : store.record(slot))
            count += unstorableCount(cell);
    return count;
}

void replaceUnstorableCharacters(QString &address, RecordStore &store) {
    address = withReplacements(address);
    for (int slot = 1; slot <= SlotCount; ++slot)
        for (int column = 1; column <= ColumnCount; ++column)
            if (unstorableCount(store.cell(slot, column)) > 0)
                store.setCell(slot, column, withReplacements(store.cell(slot, column)));
}

} // namespace userdb
