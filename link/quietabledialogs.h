#pragma once

#include "link/linkcontext.h"

namespace proglink {

// The window's message boxes, which can turn into status texts for a while: a discovery that
// runs because the programmer was plugged in (nobody clicked) tells its size messages in status
// panel 1 instead of making the user close two boxes.
class QuietableDialogs : public platform::Dialogs {
public:
    QuietableDialogs(platform::Dialogs &boxes, ProgrammerView &view)
        : m_boxes(boxes)
        , m_view(view) {}

    void message(const QString &text, const QString &caption, platform::MessageIcon icon) override;
    // A question always needs an answer: it is asked even while quiet.
    platform::Answer ask(const QString &text, const QString &caption,
                         const QList<platform::Answer> &buttons) override {
        return m_boxes.ask(text, caption, buttons);
    }
    void beep() override { m_boxes.beep(); }

    // Quiet: every message goes to status panel 1.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    bool isQuiet() const { return m_quiet; }

private:
    platform::Dialogs &m_boxes;
    ProgrammerView &m_view;
    bool m_quiet = false;
};

} // namespace proglink
