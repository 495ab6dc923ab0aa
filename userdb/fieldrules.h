#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace userdb {

// What a field of the slot editor (or the database address box) accepts from the keyboard.
enum class FieldKind { SerialNumber, PostCode, FreeText, State, DatabaseAddress };

// Kind of the editor field for record column 1 or 3 to 13. Column 2, the auxiliary word, has
// no editor field and is reported as FreeText.
FieldKind fieldKindOfColumn(int column);

// Most characters the field accepts from the keyboard; 0 means no limit.
int maxTypedLength(FieldKind kind);
// As maxTypedLength, by record column: Telephone and Mobile take 20, the other text fields 50.
int maxTypedLengthOfColumn(int column);

// Key filter. Backspace ("\b", the text of the Backspace key) is always accepted because it
// edits rather than enters text. Every kind refuses what the file cannot hold: characters
// outside Windows-1252, control characters (but line breaks in the database address) and the
// double quote, which would end a quoted field early.
bool acceptsCharacter(FieldKind kind, QChar ch);

// Pasted or dropped text reduced to the characters that acceptsCharacter lets through
// (Backspace is not text and is dropped).
QString filterPastedText(FieldKind kind, const QString &text);

// The serial check on leaving the serial box: warn unless the serial is empty or complete.
bool serialNeedsWarning(const QString &serial);
QString serialWarningText();

// The list of the State box, in display order.
const QStringList &stateChoices();

} // namespace userdb
