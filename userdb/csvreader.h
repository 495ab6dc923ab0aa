#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace userdb {

// The text of a spreadsheet file: UTF-8 (its byte-order mark dropped) when the bytes are valid
// UTF-8, else Windows-1252, the code page spreadsheets on Windows write by default.
QString decodeSpreadsheetText(const QByteArray &bytes);

// The name of an encoding that decodeSpreadsheetText does not read, or empty: UTF-16 and UTF-32
// ("Unicode text" in some spreadsheets' Save As), told by their byte-order marks or, without one,
// by the zero byte beside every character of mostly-ASCII text.
QString unreadableEncoding(QByteArrayView bytes);

// The separator of a spreadsheet file, from its first row: a semicolon (what spreadsheets in
// countries with a decimal comma write) when that row holds more semicolons than commas outside
// quotes, else a comma.
QChar detectSeparator(QStringView text);

struct CsvSyntaxProblem {
    int cell = -1; // index of the cell in its row, from 0; -1 when the row has no problem
    QString what;
};

// Reads the rows of CSV text one at a time: fields in double quotes may hold separators,
// doubled quotes and line breaks; a row ends at CR LF, LF or CR alone (older Mac spreadsheets).
class CsvReader {
public:
    CsvReader(QStringView text, QChar separator);

    // The next row's cells; false when no row is left. A line break after the last row does
    // not start another one.
    bool readRow(QStringList &cells);
    // The number of the row last read, from 1, as a spreadsheet numbers its rows: a cell with
    // line breaks does not start new rows.
    int row() const { return m_row; }
    // The first thing wrong with the last row's quoting; the row is still read as well as
    // possible, so later rows keep their numbers.
    const CsvSyntaxProblem &problem() const { return m_problem; }

private:
    bool atLineEnd() const;
    QString readQuoted(int cellIndex);
    QString readUnquoted();
    void skipLineEnd();
    void setProblem(int cellIndex, const QString &what);

    QStringView m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_row = 0;
    CsvSyntaxProblem m_problem;
};

} // namespace userdb
