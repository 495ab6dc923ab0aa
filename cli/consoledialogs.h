#pragma once

#include "cli/progressline.h"
#include "platform/dialogs.h"

#include <utility>

namespace cli {

// The link's message boxes on a console: a box with the critical icon is the failure of the
// step that showed it and becomes the command's one-line reason; any other box is news for a
// person at the terminal.
class ConsoleDialogs : public platform::Dialogs {
public:
    explicit ConsoleDialogs(ProgressLine &progress)
        : m_progress(progress) {}

    void message(const QString &text, const QString &caption, platform::MessageIcon icon) override;
    // Nothing on the programmer's side asks; a script could not answer anyway.
    platform::Answer ask(const QString &, const QString &,
                         const QList<platform::Answer> &buttons) override {
        return buttons.isEmpty() ? platform::Answer::Cancel : buttons.last();
    }
    void beep() override {}

    // The failure shown since the last call, on one line; empty when there was none.
    QString takeFailure() { return std::exchange(m_failure, {}); }

private:
    ProgressLine &m_progress;
    QString m_failure;
};

// A message of several lines as one: "first; second".
QString oneLine(const QString &text);

} // namespace cli
