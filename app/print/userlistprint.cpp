#include "app/print/userlistprint.h"

#include "app/print/userlisttable.h"
#include "userdb/columntitles.h"
#include "userdb/filemessage.h"
#include "userdb/safefilewrite.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace app {

using namespace userdb;

namespace {

// A user's texts, line by line, as printedLine lays them out.
using UserTexts = std::array<QStringList, PrintedLineCount>;

UserTexts userTexts(const RecordStore &store, int slot) {
    UserTexts texts;
    for (int line = 0; line < PrintedLineCount; ++line)
        for (const PrintedColumn &cell : printedLine(line))
            texts[std::size_t(line)] << printedCellText(store, slot, cell.column);
    return texts;
}

UserTexts titleTexts() {
    UserTexts texts;
    for (int line = 0; line < PrintedLineCount; ++line)
        for (const PrintedColumn &cell : printedLine(line))
            texts[std::size_t(line)] << (cell.column == SlotCell    ? slotColumnTitle()
                                         : cell.column == BlankCell ? QString()
                                                                    : columnTitle(cell.column));
    return texts;
}

// The two lines of a user (or of the titles), each laid out on its own cells.
class UserGeometry {
public:
    UserGeometry(QPaintDevice &device, const QFont &font, qreal width)
        : m_lines{TableGeometry(device, font, width, printedLine(0)),
                  TableGeometry(device, font, width, printedLine(1))} {}

    std::array<qreal, PrintedLineCount> heights(const UserTexts &texts) const {
        return {m_lines[0].rowHeight(texts[0]), m_lines[1].rowHeight(texts[1])};
    }
    // Paints the lines from `top`, no further down than `height`.
    void paint(QPainter &painter, qreal top, qreal height, const UserTexts &texts,
               const std::array<qreal, PrintedLineCount> &heights) const {
        const qreal first = std::min(heights[0], height);
        m_lines[0].paintRow(painter, top, first, texts[0]);
        if (height > first)
            m_lines[1].paintRow(painter, top + first, std::min(heights[1], height - first),
                                texts[1]);
    }

private:
    std::array<TableGeometry, PrintedLineCount> m_lines;
};

qreal millimetres(const QPaintDevice &device, qreal mm) {
    return device.logicalDpiY() * mm / 25.4;
}

// Pages as the index of their first row; a row taller than a whole page gets one to itself and
// is cut at its foot, so every page takes at least one row.
std::vector<std::size_t> pageStarts(const std::vector<qreal> &heights, qreal bodyHeight) {
    std::vector<std::size_t> starts{0};
    qreal used = 0;
    for (std::size_t row = 0; row < heights.size(); ++row) {
        const qreal height = std::min(heights[row], bodyHeight);
        if (used > 0 && used + height > bodyHeight) {
            starts.push_back(row);
            used = 0;
        }
        used += height;
    }
    return starts;
}

// The address on one line: its line breaks become commas, and it is cut short to fit.
QString addressLine(const QString &address, const QFontMetricsF &metrics, qreal width) {
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    const QString oneLine = address.trimmed().replace(lineBreaks, QStringLiteral(", "));
    return metrics.elidedText(oneLine, Qt::ElideRight, width);
}

} // namespace

int printUserList(QPagedPaintDevice &device, const RecordStore &store,
                  const QString &databaseAddress, QDate date) {
    device.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const qreal width = device.width();
    const qreal height = device.height();

    QFont body;
    body.setPointSizeF(9);
    // Windows-1252 text needs no complex shaping; skipping it halves the time of laying out.
    body.setStyleStrategy(QFont::PreferNoShaping);
    QFont bold = body;
    bold.setBold(true);
    QFont heading = bold;
    heading.setPointSizeF(10);
    const UserGeometry table(device, body, width);
    const UserGeometry titles(device, bold, width);
    const QFontMetricsF headingMetrics(heading, &device);
    const QFontMetricsF bodyMetrics(body, &device);

    std::vector<int> filledSlots;
    std::vector<std::array<qreal, PrintedLineCount>> lineHeights;
    std::vector<qreal> heights;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        if (store.isFree(slot))
            continue;
        filledSlots.push_back(slot);
        lineHeights.push_back(table.heights(userTexts(store, slot)));
        heights.push_back(lineHeights.back()[0] + lineHeights.back()[1]);
    }

    const UserTexts titleRow = titleTexts();
    const std::array<qreal, PrintedLineCount> titleHeights = titles.heights(titleRow);
    const qreal gap = millimetres(device, 2);
    const qreal titlesTop = headingMetrics.lineSpacing() + gap;
    const qreal titlesHeight = titleHeights[0] + titleHeights[1];
    const qreal bodyTop = titlesTop + titlesHeight;
    const qreal footTop = height - bodyMetrics.lineSpacing();
    const qreal bodyHeight = std::max<qreal>(1, footTop - gap - bodyTop);
    const std::vector<std::size_t> starts = pageStarts(heights, bodyHeight);
    const int pageCount = int(starts.size());

    const QString dateText = QLocale().toString(date, QLocale::LongFormat);
    const qreal dateWidth = headingMetrics.horizontalAdvance(dateText);
    const QString address = addressLine(databaseAddress, headingMetrics, width - dateWidth - gap);
    QPen rule(Qt::gray);
    rule.setWidthF(millimetres(device, 0.15));
    QPen strongRule(Qt::black);
    strongRule.setWidthF(millimetres(device, 0.3));

    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            device.newPage();
        painter.setFont(heading);
        painter.drawText(QRectF(0, 0, width, titlesTop), Qt::AlignLeft | Qt::AlignTop, address);
        painter.drawText(QRectF(0, 0, width, titlesTop), Qt::AlignRight | Qt::AlignTop, dateText);
        titles.paint(painter, titlesTop, titlesHeight, titleRow, titleHeights);
        painter.setPen(strongRule);
        painter.drawLine(QPointF(0, bodyTop), QPointF(width, bodyTop));

        painter.setPen(rule);
        const std::size_t end =
            page + 1 < pageCount ? starts[std::size_t(page) + 1] : filledSlots.size();
        qreal top = bodyTop;
        for (std::size_t row = starts[std::size_t(page)]; row < end; ++row) {
            const qreal rowHeight = std::min(heights[row], bodyHeight);
            painter.setPen(Qt::black);
            table.paint(painter, top, rowHeight, userTexts(store, filledSlots[row]),
                        lineHeights[row]);
            top += rowHeight;
            painter.setPen(rule);
            painter.drawLine(QPointF(0, top), QPointF(width, top));
        }

        painter.setPen(Qt::black);
        painter.setFont(body);
        painter.drawText(QRectF(0, footTop, width, height - footTop),
                         Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageCount));
    }
    painter.end();
    return pageCount;
}

QString writeUserListPdf(const QString &path, const RecordStore &store,
                         const QString &databaseAddress, QDate date, const QPageSize &pageSize,
                         int *pageCount) {
    const QString verb = QStringLiteral("write");
    // Drawn into memory first, so that the file is replaced in one step and a failure to write
    // it has a reason to report.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("RemletManager"));
        writer.setTitle(QStringLiteral("Remlet users"));
        writer.setPageSize(pageSize);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        const int pages = printUserList(writer, store, databaseAddress, date);
        if (pages == 0)
            return fileMessage(verb, path, QStringLiteral("The PDF could not be drawn."));
        if (pageCount)
            *pageCount = pages;
    }
    return replaceFile(path, buffer.data(), verb);
}

} // namespace app
