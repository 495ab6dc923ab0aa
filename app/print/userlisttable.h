#pragma once

#include "userdb/recordstore.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QTextOption>

#include <array>
#include <vector>

class QPaintDevice;
class QPainter;

namespace app {

// The columns of the printed user list, left to right, each with its share of the page width.
struct PrintedColumn {
    int column; // record column, or 0 for the slot number
    qreal share;
};
constexpr int PrintedColumnCount = 8;
const std::array<PrintedColumn, PrintedColumnCount> &printedColumns();

// The printed text of one cell; column 0 is the slot number.
QString printedCellText(const userdb::RecordStore &store, int slot, int column);

// Lays out and paints rows of wrapped cells, in device pixels: text wraps at word boundaries
// and, for a word wider than its cell, anywhere.
class TableGeometry {
public:
    TableGeometry(QPaintDevice &device, const QFont &font, qreal width);

    // Height of a row whose cells hold `texts`, padding included.
    qreal rowHeight(const std::array<QString, PrintedColumnCount> &texts) const;
    // Paints the row with its top at `top`; no taller than `height`, the rest clipped.
    void paintRow(QPainter &painter, qreal top, qreal height,
                  const std::array<QString, PrintedColumnCount> &texts) const;

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
    std::array<qreal, PrintedColumnCount> m_left{};
    std::array<qreal, PrintedColumnCount> m_textWidth{};
};

} // namespace app
