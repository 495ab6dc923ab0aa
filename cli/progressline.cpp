#include "cli/progressline.h"

#include <algorithm>
#include <unistd.h>

namespace cli {

ProgressLine::ProgressLine(std::FILE *stream)
    : m_stream(stream)
    , m_enabled(::isatty(::fileno(stream)) == 1) {}

void ProgressLine::line(const QString &text) {
    if (!m_enabled)
        return;
    clear();
    std::fprintf(m_stream, "%s\n", qPrintable(text));
    std::fflush(m_stream);
}

void ProgressLine::start(const QString &label, int minimum, int maximum) {
    m_label = label;
    m_minimum = minimum;
    m_maximum = maximum;
    m_percent = -1;
    set(minimum);
}

void ProgressLine::set(int value) {
    if (!m_enabled || m_label.isEmpty())
        return;
    const int span = std::max(1, m_maximum - m_minimum);
    const int percent = std::clamp((value - m_minimum) * 100 / span, 0, 100);
    // Redrawn only when the figure changes: a read reports every character.
    if (percent != m_percent)
        draw(percent);
}

void ProgressLine::draw(int percent) {
    m_percent = percent;
    std::fprintf(m_stream, "\r%s: %3d%%", qPrintable(m_label), percent);
    std::fflush(m_stream);
}

void ProgressLine::clear() {
    if (m_enabled && m_percent >= 0) {
        std::fputs("\r\033[K", m_stream); // back to the line's start and erase it
        std::fflush(m_stream);
    }
    m_percent = -1;
}

} // namespace cli
