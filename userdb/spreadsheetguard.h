#pragma once

#include <QString>

namespace userdb {

// A spreadsheet runs a cell that begins with "=", "+", "-", "@", a tab or a CR as a formula
// (a name like "=HYPERLINK(...)" could fetch or run something on the reader's machine). Such a
// cell is written with a leading apostrophe, which spreadsheets take as "text follows".
// To make that exactly reversible, a cell that already begins with an apostrophe gets one too,
// and reading removes exactly one leading apostrophe from every cell: "'=1" reads as "=1",
// "''x" as "'x", "'x" (written by hand) as "x".
QString guardAgainstFormula(const QString &text);
QString removeFormulaGuard(const QString &text);

} // namespace userdb
