#pragma once

#include "userdb/recordstore.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <QTextOption>

#include <vector>

class QPaintDevice;
class QPainter;

namespace app {

// The printed user list gives every field, two lines per user: the slot number, serial number,
// auxiliary word, names and phones; then, below the names, the address, suburb, state, post
// code and the two other details.
struct PrintedColumn {
    int column;  // record column; SlotCell for the slot number, BlankCell for none
    qreal share; // of the page width
};
constexpr int SlotCell = 0;
constexpr int BlankCell = -1;
constexpr int PrintedLineCount = 2;
// The cells of line 0 or 1 of a user, left to right.
const std::vector<PrintedColumn> &printedLine(int line);

// A cell prints at most this many characters and then "…": laying out a field of a million
// characters would take minutes, and no page shows that much.
constexpr int MaxPrintedCellLength = 2000;

// The printed text of one cell.
QString printedCellText(const userdb::RecordStore &store, int slot, int column);

// Lays out and paints one line of wrapped cells, in device pixels: text wraps at word boundaries
// and, for a word wider than its cell, anywhere.
class TableGeometry {
public:
    TableGeometry(QPaintDevice &device, const QFont &font, qreal width,
                  const std::vector<PrintedColumn> &columns);

    // Height of a line whose cells hold `texts`, padding included.
    qreal rowHeight(const QStringList &texts) const;
    // Paints the line with its top at `top`; no taller than `height`, the rest clipped.
    void paintRow(QPainter &painter, qreal top, qreal height, const QStringList &texts) const;

    qreal width() const { return m_width; }

private:
    int lineCount(const QString &text, qreal width) const;

    QPaintDevice &m_device;
    QFont m_font;
    qreal m_width;
    qreal m_padding;
    QFontMetricsF m_metrics;
    qreal m_lineSpacing;
    QTextOption m_option;
    std::vector<qreal> m_left;
    std::vector<qreal> m_textWidth;
};

} // namespace app
