#pragma once

#include "platform/dialogs.h"

namespace app {

// Passes boxes on to the real dialogs until the window is closing: a command that was
// waiting when the window closed then ends without a box nobody can answer.
class ClosingAwareDialogs : public platform::Dialogs {
public:
    explicit ClosingAwareDialogs(platform::Dialogs &dialogs)
        : m_dialogs(dialogs) {}
    void setClosing() { m_closing = true; }

    void message(const QString &text, const QString &caption, platform::MessageIcon icon) override {
        if (!m_closing)
            m_dialogs.message(text, caption, icon);
    }
    // Once the window closes, nobody is there to answer: the box's escape answer.
    platform::Answer ask(const QString &text, const QString &caption,
                         const QList<platform::Answer> &buttons) override {
        if (m_closing)
            return buttons.isEmpty() ? platform::Answer::Cancel : buttons.last();
        return m_dialogs.ask(text, caption, buttons);
    }
    void beep() override { m_dialogs.beep(); }

private:
    platform::Dialogs &m_dialogs;
    bool m_closing = false;
};

} // namespace app
