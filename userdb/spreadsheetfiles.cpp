#include "userdb/spreadsheetfiles.h"

#include "userdb/csvexport.h"
#include "userdb/csvimport.h"
#include "userdb/filemessage.h"
#include "userdb/xlsxexport.h"
#include "userdb/xlsximport.h"

#include <QFileInfo>

namespace userdb {

namespace {

QString unknownFormat() {
    return QStringLiteral("Its name ends in neither .csv nor .xlsx.");
}

} // namespace

SpreadsheetFormat spreadsheetFormatOf(const QString &path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(u"csv", Qt::CaseInsensitive) == 0)
        return SpreadsheetFormat::Csv;
    if (suffix.compare(u"xlsx", Qt::CaseInsensitive) == 0)
        return SpreadsheetFormat::Xlsx;
    return SpreadsheetFormat::Unknown;
}

SpreadsheetImport importSpreadsheetFile(const QString &path) {
    switch (spreadsheetFormatOf(path)) {
    case SpreadsheetFormat::Csv:
        return importCsvFile(path);
    case SpreadsheetFormat::Xlsx:
        return importXlsxFile(path);
    case SpreadsheetFormat::Unknown:
        break;
    }
    SpreadsheetImport refused;
    refused.error = fileMessage(QStringLiteral("import"), path, unknownFormat());
    return refused;
}

QString exportSpreadsheetFile(const QString &path, const QString &address,
                              const RecordStore &store) {
    switch (spreadsheetFormatOf(path)) {
    case SpreadsheetFormat::Csv:
        return exportCsvFile(path, store);
    case SpreadsheetFormat::Xlsx:
        return exportXlsxFile(path, address, store);
    case SpreadsheetFormat::Unknown:
        break;
    }
    return fileMessage(QStringLiteral("export to"), path, unknownFormat());
}

} // namespace userdb
