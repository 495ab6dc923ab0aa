#pragma once

#include <QObject>
#include <functional>

class QShortcut;
class QWidget;

namespace app {

// Escape in a Tools window closes it, unless an earlier rule takes the key first: Escape has
// one meaning in the whole program (cancel the running transfer, else stop the enrolment, else
// close the focused Tools window), and the main window knows the first two. The key works only
// while the window (or one of its controls) has the focus.
class EscapeCloses : public QObject {
    Q_OBJECT
public:
    // Owned by `window`.
    explicit EscapeCloses(QWidget &window);

    // `rule` runs first on each Escape and returns true when it used the key; null: none.
    void setEarlierRule(std::function<bool()> rule) { m_earlierRule = std::move(rule); }

private:
    void escape();

    QWidget &m_window;
    std::function<bool()> m_earlierRule;
};

} // namespace app
