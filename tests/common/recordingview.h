#pragma once
// The window's programmer-facing parts, recorded for the link tests.
#include "link/linkcontext.h"

#include <QStringList>
#include <functional>

struct RecordingView : proglink::ProgrammerView {
    void setStatusText(const QString &text) override { statusTexts.append(text); }
    void setPortText(const QString &text) override { portTexts.append(text); }
    void setReplyText(const QString &text) override {
        replyTexts.append(text);
        if (onReplyText)
            onReplyText(text);
    }
    void showProgress(int minimum, int maximum) override { progress = {minimum, maximum}; }
    void setProgress(int) override {}
    void hideProgress() override { progress = {0, 0}; }
    void showSerialBeingWritten(const QString &) override {}

    std::function<void(const QString &)> onReplyText; // acts as the user would, at that moment
    QStringList statusTexts, replyTexts, portTexts;
    std::pair<int, int> progress{0, 0}; // {0, 0}: hidden
};
