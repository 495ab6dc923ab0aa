#pragma once

#include <QByteArray>
#include <QList>

namespace sim {

// One piece of what the programmer sends, in order. The pause counts from the moment the
// previous piece has left the line, or from the arrival of the command, whichever is later.
struct Output {
    enum Kind {
        Text,    // the characters of `text`
        Endless, // characters without a line end, until the next output replaces them
        Flood,   // the same, as fast as the line takes them: no pacing at all
        HangUp,  // the programmer drops off the line
    };
    Kind kind = Text;
    double pause = 0.0;
    QByteArray text;
};

using Outputs = QList<Output>;

} // namespace sim
