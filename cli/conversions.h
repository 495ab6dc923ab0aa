#pragma once

#include "cli/commandline.h"

namespace cli {

// remletctl's conversions between a database file and a spreadsheet (.csv or .xlsx, by the
// extension), with the rules and messages of the window's Tools menu. No programmer is needed.
// Each returns ExitSuccess or throws Failure.

// export DB OUT: the database file's users (and, in a workbook, its address) into OUT,
// replacing it in one step.
int exportSpreadsheet(const Request &request);

// import IN DB: the spreadsheet into a new database file DB, all or nothing. An existing DB is
// refused unless --force is given.
int importSpreadsheet(const Request &request);

} // namespace cli
