#include "app/print/userlisttable.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace app {

using namespace userdb;

const std::array<PrintedColumn, PrintedColumnCount> &printedColumns() {
    static const std::array<PrintedColumn, PrintedColumnCount> columns = {{
        {0, 0.045},
        {SerialNumber, 0.105},
        {Surname, 0.15},
        {OtherNames, 0.15},
        {Address1, 0.19},
        {Suburb, 0.14},
        {Telephone, 0.11},
        {Mobile, 0.11},
    }};
    return columns;
}

QString printedCellText(const RecordStore &store, int slot, int column) {
    return column == 0 ? QString::number(slot) : store.cell(slot, column);
}

TableGeometry::TableGeometry(QPaintDevice &device, const QFont &font, qreal width)
    : m_device(device)
    , m_font(font)
    , m_width(width)
    , m_padding(device.logicalDpiX() * 0.45 / 25.4) // 0.45 mm
    , m_metrics(font, &device)
    , m_lineSpacing(m_metrics.lineSpacing()) {
    m_option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal left = 0;
    for (int i = 0; i < PrintedColumnCount; ++i) {
        const qreal cellWidth = width * printedColumns()[std::size_t(i)].share;
        m_left[std::size_t(i)] = left + m_padding;
        m_textWidth[std::size_t(i)] = std::max<qreal>(1, cellWidth - 2 * m_padding);
        left += cellWidth;
    }
}

int TableGeometry::lineCount(const QString &text, qreal width) const {
    // Most cells fit on one line, which a width tells faster than a layout.
    if (text.isEmpty() || m_metrics.horizontalAdvance(text) <= width)
        return 1;
    QTextLayout layout(text, m_font, &m_device);
    layout.setTextOption(m_option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

qreal TableGeometry::rowHeight(const std::array<QString, PrintedColumnCount> &texts) const {
    int lines = 1;
    for (int i = 0; i < PrintedColumnCount; ++i)
        lines = std::max(lines, lineCount(texts[std::size_t(i)], m_textWidth[std::size_t(i)]));
    return lines * m_lineSpacing + 2 * m_padding;
}

void TableGeometry::paintRow(QPainter &painter, qreal top, qreal height,
                             const std::array<QString, PrintedColumnCount> &texts) const {
    painter.save();
    painter.setClipRect(QRectF(0, top, m_width, height));
    painter.setFont(m_font);
    for (int i = 0; i < PrintedColumnCount; ++i) {
        const QString &text = texts[std::size_t(i)];
        if (text.isEmpty())
            continue;
        QTextLayout layout(text, m_font, &m_device);
        layout.setTextOption(m_option);
        layout.beginLayout();
        qreal y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(m_textWidth[std::size_t(i)]);
            line.setPosition(QPointF(0, y));
            y += m_lineSpacing;
        }
        layout.endLayout();
        layout.draw(&painter, QPointF(m_left[std::size_t(i)], top + m_padding));
    }
    painter.restore();
}

} // namespace app
