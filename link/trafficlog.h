#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <deque>
#include <functional>

namespace proglink {

enum class TrafficDirection { Sent, Received };

// One line that went over the wire, as it went.
struct TrafficRow {
    qint64 time = 0; // milliseconds since the epoch, when the line's first character went
    TrafficDirection direction = TrafficDirection::Sent;
    QByteArray bytes;
};

// What went over the serial line, line by line, for support staff: a row per line in each
// direction, ended by CR (an LF right after it joins that row) or by a lone LF. A row is cut
// at MaxRowLength characters, so a device that floods without line ends makes many rows, never
// one huge one; the last MaxRows rows are kept.
class TrafficLog : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype MaxRows = 20000;
    static constexpr qsizetype MaxRowLength = 1000;
    using Now = std::function<qint64()>; // milliseconds since the epoch

    explicit TrafficLog(Now now = {}, QObject *parent = nullptr);

    // Characters that went in one direction.
    void record(TrafficDirection direction, QByteArrayView bytes);
    // The line was closed or its input thrown away: a line half received is a row of its own.
    void endLines();
    void clear();

    qsizetype size() const { return qsizetype(m_rows.size()); }
    const TrafficRow &row(qsizetype index) const { return m_rows[std::size_t(index)]; }
    // Every row kept, a line each (trafficLine).
    QString text() const;

signals:
    void rowAdded();                   // at the end
    void rowsDropped(qsizetype count); // the oldest ones, to stay within MaxRows
    void rowChanged(qsizetype index);  // an LF joined the row its CR ended
    void cleared();

private:
    struct Pending {
        qint64 time = 0;
        QByteArray bytes;
        qint64 endedByCr = -1; // the row whose CR was this direction's last character
    };
    void finish(TrafficDirection direction, bool endedByCr);

    Now m_now;
    std::deque<TrafficRow> m_rows;
    qint64 m_firstRow = 0; // the number of the oldest row kept, counting from the first ever
    std::array<Pending, 2> m_pending;
};

// The bytes as text, control characters shown: "OK<CR><LF>", "<0x1B>"; "<" as "<0x3C>" so that
// nothing the device sends reads like a control character. Bytes above 127 as Windows-1252.
QString escapeTraffic(QByteArrayView bytes);
// "2025-03-01 14:02:11.123", local time.
QString trafficTime(qint64 time);
// "2025-03-01 14:02:11.123  sent      P<CR>", "received" for the other direction.
QString trafficLine(const TrafficRow &row);
QString trafficDirectionName(TrafficDirection direction);
// Writes the log's text to `path` in one step; an error text, empty on success.
QString saveTrafficLog(const TrafficLog &log, const QString &path);

} // namespace proglink
