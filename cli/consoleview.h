#pragma once

#include "cli/progressline.h"
#include "link/linkcontext.h"

#include <QStringList>
#include <utility>

namespace cli {

// The window's status bar, reply label and progress bar for a console: everything goes to the
// progress line, and the texts are kept for the command to use.
class ConsoleView : public proglink::ProgrammerView {
public:
    explicit ConsoleView(ProgressLine &progress)
        : m_progress(progress) {}

    // Names the progress of the next transfer ("Reading the receiver").
    void setActivity(const QString &label) { m_activity = label; }

    void setStatusText(const QString &text) override;
    void setPortText(const QString &text) override;
    void setReplyText(const QString &text) override { m_replyText = text; }
    void showProgress(int minimum, int maximum) override;
    void setProgress(int value) override { m_progress.set(value); }
    void hideProgress() override { m_progress.clear(); }
    void showSerialBeingWritten(const QString &) override {}

    QString portText() const { return m_portText; }
    // Status texts since the last call.
    QStringList takeStatusTexts() { return std::exchange(m_statusTexts, {}); }

private:
    ProgressLine &m_progress;
    QString m_activity;
    QString m_portText;
    QString m_replyText;
    QStringList m_statusTexts;
};

} // namespace cli
