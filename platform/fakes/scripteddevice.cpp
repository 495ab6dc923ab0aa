#include "platform/fakes/scripteddevice.h"

namespace platform {

void ScriptedDevice::opened(Deliver deliver) {
    m_deliver = std::move(deliver);
    ++m_session;
    m_pending.clear();
}

void ScriptedDevice::closed() {
    m_deliver = nullptr;
    ++m_session;
}

void ScriptedDevice::received(const QByteArray &bytes) {
    m_pending.append(bytes);
    qsizetype cr;
    while ((cr = m_pending.indexOf('\r')) >= 0) {
        const QByteArray command = m_pending.left(cr);
        m_pending.remove(0, cr + 1);
        m_commands.append(command);
        const QList<Piece> reply = m_replies.value(command, m_default);
        double delay = 0.0;
        const int session = m_session;
        for (const Piece &piece : reply) {
            delay += piece.delay;
            m_timeline.after(delay, [this, session, bytes = piece.bytes] {
                if (session == m_session && m_deliver)
                    m_deliver(bytes);
            });
        }
    }
}

} // namespace platform
