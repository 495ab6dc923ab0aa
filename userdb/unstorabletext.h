#pragma once

#include "userdb/recordstore.h"

#include <QList>
#include <QString>

namespace userdb {

// A field whose text the database file cannot hold as it stands: a double quote would end the
// quoted field early, and a character outside Windows-1252 would be lost. Slot 0 is the
// database address.
struct UnstorablePlace {
    int slot = 0;
    int column = 0;
    bool operator==(const UnstorablePlace &) const = default;
};

// Every such field, the address first, then by slot and column.
QList<UnstorablePlace> findUnstorableText(const QString &address, const RecordStore &store);

// "Slot 341, Surname" (or "Database address") for up to the first ten places, one per line,
// then "and N more" when there are more.
QString describeUnstorablePlaces(const QList<UnstorablePlace> &places);

// How many characters storing would have to replace.
int countUnstorableCharacters(const QString &address, const RecordStore &store);

// Replaces each character that the file cannot hold with "?" (a pair of UTF-16 halves counting
// as one character), in the address and in every slot.
void replaceUnstorableCharacters(QString &address, RecordStore &store);

} // namespace userdb
