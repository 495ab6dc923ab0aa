#pragma once

#include "link/linkcontext.h"

namespace proglink {

// A view of the programmer's work that nobody watches: what a run measures or a step that
// reports through its result alone.
struct SilentView : ProgrammerView {
    void setStatusText(const QString &) override {}
    void setPortText(const QString &) override {}
    void setReplyText(const QString &) override {}
    void showProgress(int, int) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
    void showSerialBeingWritten(const QString &) override {}
};

} // namespace proglink
