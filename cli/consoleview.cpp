#include "cli/consoleview.h"

namespace cli {

void ConsoleView::setStatusText(const QString &text) {
    m_statusTexts.append(text);
    m_progress.line(text);
}

void ConsoleView::setPortText(const QString &text) {
    m_portText = text;
    if (!text.isEmpty())
        m_progress.line(text);
}

void ConsoleView::showProgress(int minimum, int maximum) {
    m_progress.start(m_activity, minimum, maximum);
}

} // namespace cli
