#include "platform/fakes/fakedialogs.h"

#include <QStringList>

namespace platform {

void FakeDialogs::message(const QString &text, const QString &caption, MessageIcon icon) {
    m_messages.append({text, caption, icon});
    if (onMessage)
        onMessage(m_messages.last());
}

Answer FakeDialogs::ask(const QString &text, const QString &, const QList<Answer> &buttons) {
    m_questions.append(text);
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        if (buttons.contains(answer)) // a user can only click a button the box offers
            return answer;
    }
    ++m_unexpectedQuestions;
    return buttons.isEmpty() ? Answer::Cancel : buttons.last();
}

QStringList FakeDialogs::texts() const {
    QStringList result;
    for (const Shown &shown : m_messages)
        result.append(shown.text);
    return result;
}

void FakeDialogs::clear() {
    m_messages.clear();
    m_beeps = 0;
    m_questions.clear();
}

bool FakeFileDialog::show(Kind kind) {
    m_shown.append({kind, m_fileName});
    if (m_answers.empty()) {
        ++m_unexpected;
        return false;
    }
    std::optional<QString> answer = std::move(m_answers.front());
    m_answers.pop_front();
    if (!answer)
        return false;
    m_fileName = *answer;
    return true;
}

QString FakeDocumentDialogs::answer(const Shown &shown) {
    m_shown.append(shown);
    if (m_answers.empty())
        return {};
    QString chosen = m_answers.front();
    m_answers.pop_front();
    return chosen;
}

bool FakeDocumentDialogs::print(const std::function<void(QPagedPaintDevice &)> &render) {
    ++m_printRequests;
    if (!printer)
        return false;
    render(*printer);
    return true;
}

} // namespace platform
