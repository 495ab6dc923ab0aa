#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace userdb {

// The database file keeps one byte per character in the Windows-1252 code page.

// Characters that Windows-1252 cannot hold become "?" (one per code point). Callers that must
// not lose text check isWindows1252Character first; the key filters do.
QByteArray encodeWindows1252(const QString &text);
// The same, appended to `out` (saves a buffer per field when writing a whole file).
void appendWindows1252(QByteArray &out, const QString &text);

// Every byte decodes; the five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) become the control characters of the same number, so any byte sequence round-trips.
QString decodeWindows1252(QByteArrayView bytes);

bool isWindows1252Character(QChar ch);

} // namespace userdb
