#include "userdb/fieldrules.h"

#include "userdb/recordstore.h"
#include "userdb/textcodec.h"

namespace userdb {

namespace {

constexpr char16_t Backspace = 0x08;

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

bool isLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r';
}

// The column's layout: Telephone and Mobile are short fields.
bool isPhoneColumn(int column) {
    return column == Telephone || column == Mobile;
}

} // namespace

FieldKind fieldKindOfColumn(int column) {
    switch (column) {
    case SerialNumber:
        return FieldKind::SerialNumber;
    case State:
        return FieldKind::State;
    case PostCode:
        return FieldKind::PostCode;
    default:
        return FieldKind::FreeText;
    }
}

int maxTypedLength(FieldKind kind) {
    switch (kind) {
    case FieldKind::SerialNumber:
        return 8;
    case FieldKind::PostCode:
        return 5;
    case FieldKind::FreeText:
        return 50;
    case FieldKind::State:
    case FieldKind::DatabaseAddress:
        return 0;
    }
    return 0;
}

int maxTypedLengthOfColumn(int column) {
    if (column == AuxiliaryWord)
        return 4;
    if (isPhoneColumn(column))
        return 20;
    return maxTypedLength(fieldKindOfColumn(column));
}

bool acceptsCharacter(FieldKind kind, QChar ch) {
    const char16_t c = ch.unicode();
    if (c == Backspace)
        return true;
    switch (kind) {
    case FieldKind::SerialNumber:
        return isHexDigit(c);
    case FieldKind::PostCode:
        return c >= u'0' && c <= u'9';
    case FieldKind::DatabaseAddress:
        if (isLineBreak(c))
            return true;
        [[fallthrough]];
    case FieldKind::FreeText:
        if (c == u',')
            return false;
        [[fallthrough]];
    case FieldKind::State:
        // A comma is safe inside the quotes of the State field; a double quote is not.
        return c != u'"' && ch.category() != QChar::Other_Control && isWindows1252Character(ch);
    }
    return false;
}

QString filterPastedText(FieldKind kind, const QString &text) {
    QString accepted;
    accepted.reserve(text.size());
    for (const QChar ch : text)
        if (ch.unicode() != Backspace && acceptsCharacter(kind, ch))
            accepted.append(ch);
    return accepted;
}

bool serialNeedsWarning(const QString &serial) {
    return !serial.isEmpty() && serial.size() != 8;
}

QString serialWarningText() {
    return QStringLiteral("Remlet serial number too short.") + QLatin1Char('\n') +
           QStringLiteral("Please enter a full 8 digit hexadecimal serial number or delete all "
                          "numbers.");
}

const QStringList &stateChoices() {
    static const QStringList choices = {
        QStringLiteral("ACT"), QStringLiteral("NSW"), QStringLiteral("NT"),  QStringLiteral("QLD"),
        QStringLiteral("SA"),  QStringLiteral("TAS"), QStringLiteral("VIC"), QStringLiteral("WA"),
    };
    return choices;
}

} // namespace userdb
