#include "cli/consoledialogs.h"

#include <QRegularExpression>

namespace cli {

QString oneLine(const QString &text) {
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return text.trimmed().replace(lineBreaks, QStringLiteral("; "));
}

void ConsoleDialogs::message(const QString &text, const QString &, platform::MessageIcon icon) {
    if (icon == platform::MessageIcon::Critical) {
        if (m_failure.isEmpty()) // the first failure is the cause of any that follow
            m_failure = oneLine(text);
        return;
    }
    m_progress.line(text);
}

} // namespace cli
