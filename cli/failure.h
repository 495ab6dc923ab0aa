#pragma once

#include <QString>

namespace cli {

// Exit statuses: a compare that found differences is no failure, but scripts must tell it
// from a match.
constexpr int ExitSuccess = 0;
constexpr int ExitDiffers = 1;
constexpr int ExitFailure = 2;

// Ends a command with a one-line reason on standard error and ExitFailure.
class Failure {
public:
    explicit Failure(QString reason)
        : m_reason(std::move(reason)) {}
    const QString &reason() const { return m_reason; }

private:
    QString m_reason;
};

} // namespace cli
