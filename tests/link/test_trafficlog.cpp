#include "link/loggingserialport.h"
#include "link/trafficlog.h"
#include "platform/fakes/scripteddevice.h"
#include "tests/common/datacolumns.h"

#include <QDateTime>
#include <QTest>

// The traffic log: rows per line, the cut, the cap, what control characters look like, and
// the serial port that records into it.
using proglink::TrafficDirection;
using proglink::TrafficLog;
using Pieces = QList<std::pair<char, QByteArray>>; // 'S' sent, 'R' received, 'E' end of lines

namespace {

// "S text" or "R text" per row.
QStringList rowsOf(const TrafficLog &log) {
    QStringList rows;
    for (qsizetype i = 0; i < log.size(); ++i)
        rows << QString(log.row(i).direction == TrafficDirection::Sent ? "S " : "R ") +
                    proglink::escapeTraffic(log.row(i).bytes);
    return rows;
}

} // namespace

class TestTrafficLog : public QObject {
    Q_OBJECT

private slots:
    void rows_data() {
        addColumns<Pieces, QStringList>("pieces", "rows");
        QTest::newRow("control characters, a < that is no code, Windows-1252")
            << Pieces{{'S', "\x1b[0m\t\x7f\r"}, {'R', QByteArray(1, '\0') + "<CR>\x80\xe9\r"}}
            << QStringList{"S <0x1B>[0m<0x09><0x7F><CR>",
                           QString::fromUtf8("R <0x00><0x3C>CR>\u20ac\u00e9<CR>")};
        QTest::newRow("a row per line and direction")
            << Pieces{{'S', "W=00"}, {'R', "O"}, {'S', "1\r"}, {'R', "K\r"}}
            << QStringList{"S W=001<CR>", "R OK<CR>"};
        // The LF of a CR LF line end comes once the next command has gone out.
        QTest::newRow("an LF after a CR joins its row")
            << Pieces{{'R', "OK\r"}, {'S', "W\r"}, {'R', "\nOK\r"}}
            << QStringList{"R OK<CR><LF>", "S W<CR>", "R OK<CR>"};
        QTest::newRow("a lone LF ends a row, a second one is a row")
            << Pieces{{'R', "A\nB\r\n\n"}} << QStringList{"R A<LF>", "R B<CR><LF>", "R <LF>"};
        QTest::newRow("a half line ends with the port")
            << Pieces{{'R', "HALF"}, {'E', {}}, {'R', "OK\r"}, {'E', {}}, {'R', "\n"}, {'E', {}}}
            << QStringList{"R HALF", "R OK<CR>", "R <LF>"};
        const QString x1000 = "R " + QString(1000, 'x');
        QTest::newRow("a flood is cut every 1,000 characters")
            << Pieces{{'R', QByteArray(2500, 'x')}, {'E', {}}}
            << QStringList{x1000, x1000, "R " + QString(500, 'x')};
    }
    void rows() {
        QFETCH(Pieces, pieces);
        TrafficLog log;
        for (const auto &[kind, bytes] : pieces)
            if (kind == 'E')
                log.endLines();
            else
                log.record(kind == 'S' ? TrafficDirection::Sent : TrafficDirection::Received,
                           bytes);
        QTEST(rowsOf(log), "rows");
    }

    // Every character the commands write and read, with its time, as the saved file shows it.
    void loggingPort() {
        const qint64 at = QDateTime(QDate(2025, 3, 1), QTime(14, 2, 11, 123)).toMSecsSinceEpoch();
        TrafficLog log([&] { return at; });
        platform::FakeTimeline timeline;
        platform::FakeSerialPort serial;
        platform::ScriptedDevice device(timeline);
        device.answer("P", "ZEPRO V1\r");
        serial.addPort(1, &device);
        proglink::LoggingSerialPort port(serial, log);
        port.selectPort(1);
        port.setReadLength(1);
        port.open();
        port.write("P");
        port.write("\r");
        timeline.advance(1);
        QByteArray received;
        while (serial.pendingInput() > 0)
            received += port.read();
        QCOMPARE(received, "ZEPRO V1\r");
        port.close();
        QCOMPARE(log.text(), "2025-03-01 14:02:11.123  sent      P<CR>\n"
                             "2025-03-01 14:02:11.123  received  ZEPRO V1<CR>\n");
    }
};

QTEST_GUILESS_MAIN(TestTrafficLog)
#include "test_trafficlog.moc"
