#include "app/toolwindows/escapecloses.h"

#include <QShortcut>
#include <QWidget>

namespace app {

EscapeCloses::EscapeCloses(QWidget &window)
    : QObject(&window)
    , m_window(window) {
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    shortcut->setObjectName(QStringLiteral("escapeShortcut"));
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &EscapeCloses::escape);
}

void EscapeCloses::escape() {
    if (m_earlierRule && m_earlierRule())
        return;
    m_window.close();
}

} // namespace app
