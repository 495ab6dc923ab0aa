#pragma once

#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"

#include <QHash>
#include <QList>

namespace platform {

// A device that answers each command (the characters before CR) with a reply prepared by the
// test, piece by piece at given delays. Commands without a prepared reply get no answer.
class ScriptedDevice : public FakeSerialDevice {
public:
    struct Piece {
        double delay; // seconds after the previous piece (the first: after the command's CR)
        QByteArray bytes;
    };

    explicit ScriptedDevice(FakeTimeline &timeline)
        : m_timeline(timeline) {}

    void answer(const QByteArray &command, QList<Piece> reply) {
        m_replies[command] = std::move(reply);
    }
    void answer(const QByteArray &command, const QByteArray &reply) {
        answer(command, {{0.0, reply}});
    }
    // Every command gets this reply unless it has one of its own.
    void answerAll(QList<Piece> reply) { m_default = std::move(reply); }

    // The commands the PC sent (without CR), in order.
    QList<QByteArray> commands() const { return m_commands; }

    void opened(Deliver deliver) override;
    void closed() override;
    void received(const QByteArray &bytes) override;

private:
    FakeTimeline &m_timeline;
    Deliver m_deliver;
    QHash<QByteArray, QList<Piece>> m_replies;
    QList<Piece> m_default;
    QByteArray m_pending;
    QList<QByteArray> m_commands;
    int m_session = 0; // replies scheduled before a close are not sent after it
};

} // namespace platform
