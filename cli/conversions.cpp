#include "cli/conversions.h"

#include "cli/failure.h"
#include "userdb/databasefile.h"
#include "userdb/filemessage.h"
#include "userdb/spreadsheetfiles.h"

#include <QFileInfo>

#include <memory>

namespace cli {

int exportSpreadsheet(const Request &request) {
    auto store = std::make_unique<userdb::RecordStore>();
    const userdb::LoadResult loaded = userdb::loadDatabaseFile(request.file, *store);
    if (!loaded.error.isEmpty())
        throw Failure(loaded.error);
    if (const QString error = userdb::exportSpreadsheetFile(request.output, loaded.address, *store);
        !error.isEmpty())
        throw Failure(error);
    return ExitSuccess;
}

int importSpreadsheet(const Request &request) {
    // Told before the spreadsheet is read; a symbolic link that leads nowhere counts as there.
    const QFileInfo target(request.output);
    if (!request.force && (target.exists() || target.isSymLink()))
        throw Failure(
            userdb::fileMessage(QStringLiteral("save"), request.output,
                                QStringLiteral("It exists: give --force to replace it.")));
    const auto imported =
        std::make_unique<userdb::SpreadsheetImport>(userdb::importSpreadsheetFile(request.file));
    if (!imported->error.isEmpty())
        throw Failure(imported->error);
    if (const QString error =
            userdb::saveDatabaseFile(request.output, imported->address, imported->records);
        !error.isEmpty())
        throw Failure(error);
    return ExitSuccess;
}

} // namespace cli
