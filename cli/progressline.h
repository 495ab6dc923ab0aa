#pragma once

#include <QString>
#include <cstdio>

namespace cli {

// What a person at a terminal sees while a command runs: status lines and one progress line
// that redraws in place. It all goes to standard error, and only when that is a terminal, so
// that scripts and their logs get the results and the one-line failure reason alone.
class ProgressLine {
public:
    explicit ProgressLine(std::FILE *stream);

    bool enabled() const { return m_enabled; }
    // A line of its own (the progress line, if shown, is cleared first).
    void line(const QString &text);
    void start(const QString &label, int minimum, int maximum);
    void set(int value);
    void clear();

private:
    void draw(int percent);

    std::FILE *m_stream;
    bool m_enabled;
    QString m_label;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_percent = -1; // -1: not shown
};

} // namespace cli
