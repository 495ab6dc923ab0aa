#include "link/trafficlog.h"

#include "userdb/safefilewrite.h"
#include "userdb/textcodec.h"

#include <QDateTime>

namespace proglink {

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';

bool isShownAsCode(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == '<';
}

} // namespace

TrafficLog::TrafficLog(Now now, QObject *parent)
    : QObject(parent)
    , m_now(now ? std::move(now) : Now([] { return QDateTime::currentMSecsSinceEpoch(); })) {}

void TrafficLog::record(TrafficDirection direction, QByteArrayView bytes) {
    Pending &pending = m_pending[std::size_t(direction)];
    for (const char c : bytes) {
        if (pending.endedByCr >= 0) {
            const qint64 crRow = std::exchange(pending.endedByCr, -1);
            if (c == LineFeed && crRow >= m_firstRow) {
                const qsizetype index = qsizetype(crRow - m_firstRow);
                m_rows[std::size_t(index)].bytes.append(c);
                emit rowChanged(index);
                continue;
            }
        }
        if (pending.bytes.isEmpty())
            pending.time = m_now();
        pending.bytes.append(c);
        if (c == CarriageReturn || c == LineFeed || pending.bytes.size() >= MaxRowLength)
            finish(direction, c == CarriageReturn);
    }
}

void TrafficLog::endLines() {
    for (const TrafficDirection direction : {TrafficDirection::Sent, TrafficDirection::Received}) {
        Pending &pending = m_pending[std::size_t(direction)];
        if (!pending.bytes.isEmpty())
            finish(direction, false);
        pending.endedByCr = -1; // a new line starts afresh
    }
}

void TrafficLog::finish(TrafficDirection direction, bool endedByCr) {
    Pending &pending = m_pending[std::size_t(direction)];
    m_rows.push_back({pending.time, direction, std::exchange(pending.bytes, {})});
    pending.endedByCr = endedByCr ? m_firstRow + qint64(m_rows.size()) - 1 : -1;
    emit rowAdded();
    if (qsizetype(m_rows.size()) > MaxRows) {
        m_rows.pop_front();
        ++m_firstRow;
        emit rowsDropped(1);
    }
}

void TrafficLog::clear() {
    m_firstRow += qint64(m_rows.size());
    m_rows.clear();
    for (Pending &pending : m_pending)
        pending = {};
    emit cleared();
}

QString TrafficLog::text() const {
    QString text;
    for (const TrafficRow &row : m_rows)
        text += trafficLine(row) + QLatin1Char('\n');
    return text;
}

QString escapeTraffic(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    qsizetype plainFrom = 0;
    const auto flushPlain = [&](qsizetype to) {
        if (to > plainFrom)
            text += userdb::decodeWindows1252(bytes.sliced(plainFrom, to - plainFrom));
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!isShownAsCode(byte))
            continue;
        flushPlain(i);
        plainFrom = i + 1;
        if (byte == CarriageReturn)
            text += QLatin1String("<CR>");
        else if (byte == LineFeed)
            text += QLatin1String("<LF>");
        else
            text += QStringLiteral("<0x%1>").arg(QString::number(byte, 16).toUpper(), 2,
                                                 QLatin1Char('0'));
    }
    flushPlain(bytes.size());
    return text;
}

QString trafficTime(qint64 time) {
    return QDateTime::fromMSecsSinceEpoch(time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString trafficDirectionName(TrafficDirection direction) {
    return direction == TrafficDirection::Sent ? QStringLiteral("sent")
                                               : QStringLiteral("received");
}

QString trafficLine(const TrafficRow &row) {
    return QStringLiteral("%1  %2  %3")
        .arg(trafficTime(row.time), trafficDirectionName(row.direction).leftJustified(8),
             escapeTraffic(row.bytes));
}

QString saveTrafficLog(const TrafficLog &log, const QString &path) {
    return userdb::replaceFile(path, log.text().toUtf8(), QStringLiteral("save"));
}

} // namespace proglink
