#include "userdb/spreadsheetguard.h"

namespace userdb {

namespace {

constexpr QChar Apostrophe = u'\'';

bool needsGuard(QChar first) {
    switch (first.unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
    case u'\'':
        return true;
    default:
        return false;
    }
}

} // namespace

QString guardAgainstFormula(const QString &text) {
    return !text.isEmpty() && needsGuard(text.front()) ? Apostrophe + text : text;
}

QString removeFormulaGuard(const QString &text) {
    return text.startsWith(Apostrophe) ? text.mid(1) : text;
}

} // namespace userdb
