#include "app/print/userlisttable.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace app {

using namespace userdb;

const std::vector<PrintedColumn> &printedLine(int line) {
    static const std::vector<PrintedColumn> first = {
        {SlotCell, 0.05},   {SerialNumber, 0.10}, {AuxiliaryWord, 0.07}, {Surname, 0.20},
        {OtherNames, 0.20}, {Telephone, 0.19},    {Mobile, 0.19},
    };
    // Under the first line's columns: address lines under the serial and the surname, suburb,
    // state and post code under the other names, the details under the phones.
    static const std::vector<PrintedColumn> second = {
        {BlankCell, 0.05}, {Address1, 0.17}, {Address2, 0.20},     {Suburb, 0.10},
        {State, 0.05},     {PostCode, 0.05}, {OtherDetail1, 0.19}, {OtherDetail2, 0.19},
    };
    return line == 0 ? first : second;
}

QString printedCellText(const RecordStore &store, int slot, int column) {
    if (column == SlotCell)
        return QString::number(slot);
    if (column == BlankCell)
        return {};
    const QString &text = store.cell(slot, column);
    return text.size() > MaxPrintedCellLength ? text.left(MaxPrintedCellLength) + u'\u2026' : text;
}

TableGeometry::TableGeometry(QPaintDevice &device, const QFont &font, qreal width,
                             const std::vector<PrintedColumn> &columns)
    : m_device(device)
    , m_font(font)
    , m_width(width)
    , m_padding(device.logicalDpiX() * 0.45 / 25.4) // 0.45 mm
    , m_metrics(font, &device)
    , m_lineSpacing(m_metrics.lineSpacing()) {
    m_option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal left = 0;
    for (const PrintedColumn &column : columns) {
        const qreal cellWidth = width * column.share;
        m_left.push_back(left + m_padding);
        m_textWidth.push_back(std::max<qreal>(1, cellWidth - 2 * m_padding));
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

qreal TableGeometry::rowHeight(const QStringList &texts) const {
    int lines = 1;
    for (std::size_t i = 0; i < m_textWidth.size() && i < std::size_t(texts.size()); ++i)
        lines = std::max(lines, lineCount(texts.at(qsizetype(i)), m_textWidth[i]));
    return lines * m_lineSpacing + 2 * m_padding;
}

void TableGeometry::paintRow(QPainter &painter, qreal top, qreal height,
                             const QStringList &texts) const {
    painter.save();
    painter.setClipRect(QRectF(0, top, m_width, height));
    painter.setFont(m_font);
    for (std::size_t i = 0; i < m_textWidth.size() && i < std::size_t(texts.size()); ++i) {
        const QString &text = texts.at(qsizetype(i));
        if (text.isEmpty())
            continue;
        QTextLayout layout(text, m_font, &m_device);
        layout.setTextOption(m_option);
        layout.beginLayout();
        qreal y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(m_textWidth[i]);
            line.setPosition(QPointF(0, y));
            y += m_lineSpacing;
        }
        layout.endLayout();
        layout.draw(&painter, QPointF(m_left[i], top + m_padding));
    }
    painter.restore();
}

} // namespace app
