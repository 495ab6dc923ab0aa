#pragma once

#include "userdb/ziparchive.h"

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

#include <functional>
#include <map>
#include <vector>

namespace userdb {

// The parts of an Office Open XML workbook that an import reads besides the cells: where the
// sheets are and what they are called, the shared texts that cells refer to, and which cell
// styles show numbers as dates or in scientific notation.

// The most that one part of a workbook may unpack to: 4095 full users take a few megabytes.
constexpr qint64 MaxUnpackedPartBytes = qint64(256) * 1024 * 1024;

struct XlsxSheetInfo {
    QString name; // as the sheet's tab shows it
    QString part; // its XML part in the archive
};

enum class NumberStyle { Plain, Date, Scientific };

class XlsxBook {
public:
    // Reads the list of sheets, the shared texts and the number formats. Empty, or the reason.
    QString read(ZipArchive &zip);

    const std::vector<XlsxSheetInfo> &sheets() const { return m_sheets; }
    // Shared text `index`; false when there is none.
    bool sharedText(qint64 index, QString &text) const;
    // How cell style `styleIndex` shows a number.
    NumberStyle numberStyle(int styleIndex) const;
    // Dates count days from 1904 rather than from 1900.
    bool uses1904Dates() const { return m_1904; }

private:
    // The relationships of part `source` ("" for the package): by id, their type and part.
    QString readRelationships(ZipArchive &zip, const QString &source,
                              std::map<QString, std::pair<QString, QString>> &byId);
    QString readSharedTexts(ZipArchive &zip, const QString &part);
    QString readStyles(ZipArchive &zip, const QString &part);

    std::vector<XlsxSheetInfo> m_sheets;
    QString m_sharedTexts;               // every shared text, one after the other
    std::vector<qsizetype> m_textStarts; // where each begins; one more marks the end
    std::vector<NumberStyle> m_styles;   // by cell style index
    bool m_1904 = false;
};

// Reads the XML part `name` with `read`, once it is known to unpack to at most `limit` bytes.
// Empty, or the reason (the part missing, too large, or not well-formed XML).
QString readXmlPart(ZipArchive &zip, const QString &name, qint64 limit,
                    const std::function<void(QXmlStreamReader &)> &read);

// Workbook text with the format's escapes ("_x000D_" for a CR, "_x005F_" for "_") undone.
QString unescapeWorkbookText(const QString &text);

// The text of a string item (<si> or <is>; the reader at its start tag): its <t>, or the <t> of
// its rich-text runs joined; phonetic guides left out.
QString readStringItem(QXmlStreamReader &xml);

} // namespace userdb
