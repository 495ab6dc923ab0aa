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

// The window's programmer-facing parts, recorded.
struct RecordingView : proglink::ProgrammerView {
    void setStatusText(const QString &text) override { statusTexts.append(text); }
    void setReplyText(const QString &text) override {
        replyTexts.append(text);
        if (onReplyText)
            onReplyText(text);
    }
    void showProgress(int minimum, int maximum) override { progress = {minimum, maximum}; }
    void setProgress(int value) override { progressValues.append(value); }
    void hideProgress() override { progress = {0, 0}; }
    void showSerialBeingWritten(const QString &serial) override { serials.append(serial); }

    std::function<void(const QString &)> onReplyText; // acts as the user would, at that moment
    QStringList statusTexts, replyTexts, serials;
    std::pair<int, int> progress{0, 0}; // {0, 0}: hidden
    QList<int> progressValues;
};

// Once opened, sends `chunk` every tenth of a second until closed: a line that never ends.
struct StreamingDevice : platform::FakeSerialDevice {
    StreamingDevice(platform::FakeTimeline &timeline, QByteArray chunk)
        : timeline(timeline)
        , chunk(std::move(chunk)) {}
    void opened(Deliver d) override {
        deliver = std::move(d);
        send(++session);
    }
    void closed() override { ++session; }
    void received(const QByteArray &bytes) override { receivedBytes.append(bytes); }
    void send(int current) {
        timeline.after(0.1, [this, current] {
            if (current == session) {
                deliver(chunk);
                send(current);
            }
        });
    }
    platform::FakeTimeline &timeline;
    QByteArray chunk, receivedBytes;
    Deliver deliver;
    int session = 0;
};

struct LinkRig {
    platform::FakeTimeline timeline;
    platform::FakeSerialPort port;
    platform::FakeDialogs dialogs;
    RecordingView view;
    proglink::ReplyBuffer buffer;
    proglink::LinkContext context{port, timeline, timeline, dialogs};
    std::vector<std::unique_ptr<platform::ScriptedDevice>> devices;
    const double start = timeline.now();

    platform::ScriptedDevice &device(int number) {
        devices.push_back(std::make_unique<platform::ScriptedDevice>(timeline));
        port.addPort(number, devices.back().get());
        return *devices.back();
    }
    double elapsed() const { return timeline.now() - start; }
};
