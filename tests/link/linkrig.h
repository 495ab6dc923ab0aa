#pragma once

#include "link/linkcontext.h"
#include "link/replybuffer.h"
#include "platform/fakes/fakedialogs.h"
#include "platform/fakes/fakeserialport.h"
#include "platform/fakes/faketimeline.h"
#include "platform/fakes/scripteddevice.h"

#include <QMetaType>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

using Pieces = QList<platform::ScriptedDevice::Piece>;
Q_DECLARE_METATYPE(Pieces)

// The parts of the window that programmer operations write to, recorded.
class RecordingView : public proglink::ProgrammerView {
public:
    void setStatusText(const QString &text) override { statusTexts.append(text); }
    void setReplyText(const QString &text) override {
        replyText = text;
        replyTexts.append(text);
        if (onReplyText)
            onReplyText(text);
    }
    void showProgress(int minimum, int maximum) override {
        progressVisible = true;
        progressRange = {minimum, maximum};
    }
    void setProgress(int value) override { progressValues.append(value); }
    void hideProgress() override { progressVisible = false; }
    void showSerialBeingWritten(const QString &serial) override { serialsShown.append(serial); }

    QString status() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }

    // Runs as the label changes, to act at that moment as the user would.
    std::function<void(const QString &)> onReplyText;
    QStringList statusTexts;
    QString replyText = QStringLiteral("before");
    QStringList replyTexts;
    bool progressVisible = false;
    std::pair<int, int> progressRange{0, 0};
    QList<int> progressValues;
    QStringList serialsShown;
};

// A device that, once the port opens, keeps sending `chunk` every tenth of a second until
// the port closes: a line that never ends.
class StreamingDevice : public platform::FakeSerialDevice {
public:
    StreamingDevice(platform::FakeTimeline &timeline, QByteArray chunk)
        : m_timeline(timeline)
        , m_chunk(std::move(chunk)) {}
    void opened(Deliver deliver) override {
        m_deliver = std::move(deliver);
        ++m_session;
        schedule();
    }
    void closed() override {
        m_deliver = nullptr;
        ++m_session;
    }
    void received(const QByteArray &bytes) override { receivedBytes.append(bytes); }

    QByteArray receivedBytes;

private:
    void schedule() {
        const int session = m_session;
        m_timeline.after(0.1, [this, session] {
            if (session != m_session || !m_deliver)
                return;
            m_deliver(m_chunk);
            schedule();
        });
    }
    platform::FakeTimeline &m_timeline;
    QByteArray m_chunk;
    Deliver m_deliver;
    int m_session = 0;
};

// Fake clock, event loop, port and dialogs wired into one link context.
struct LinkRig {
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    RecordingView view;
    proglink::ReplyBuffer buffer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};

    // A scripted programmer on port `number`.
    platform::ScriptedDevice &device(int number = 1) {
        devices.emplace_back(std::make_unique<platform::ScriptedDevice>(timeline));
        port.addPort(number, devices.back().get());
        return *devices.back();
    }
    std::vector<std::unique_ptr<platform::ScriptedDevice>> devices;
};
