#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace platform {

// Records every box instead of showing it; tests read what the user would have seen.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString text;
        QString caption;
        MessageIcon icon;
    };

    void message(const QString &text, const QString &caption, MessageIcon icon) override;
    // Answers from the queue. With none left, or one the box does not offer, the question
    // counts as unexpected and gets the box's escape answer (its last button).
    Answer ask(const QString &text, const QString &caption, const QList<Answer> &buttons) override;
    void beep() override { ++m_beeps; }

    void queueAnswer(Answer answer) { m_answers.push_back(answer); }
    // The questions asked, in order.
    const QStringList &questions() const { return m_questions; }
    int unexpectedQuestions() const { return m_unexpectedQuestions; }

    const QList<Shown> &messages() const { return m_messages; }
    QStringList texts() const;
    int beeps() const { return m_beeps; }
    void clear();
    // Runs while a box is "open", before message() returns: lets a test look at the window
    // at that moment, or act as the user would.
    std::function<void(const Shown &)> onMessage;

private:
    QList<Shown> m_messages;
    int m_beeps = 0;
    std::deque<Answer> m_answers;
    QStringList m_questions;
    int m_unexpectedQuestions = 0;
};

// Answers file dialogs from a queue prepared in advance: a path is "chosen", std::nullopt is a
// cancel. A dialog with no answer left is cancelled and counted as unexpected.
class FakeFileDialog : public FileDialog {
public:
    enum class Kind { Open, Save };
    struct Shown {
        Kind kind;
        QString proposedName; // the file name field when the dialog opened
    };

    void queueAnswer(std::optional<QString> answer) { m_answers.push_back(std::move(answer)); }

    void setFileName(const QString &name) override { m_fileName = name; }
    QString fileName() const override { return m_fileName; }
    bool showOpen() override { return show(Kind::Open); }
    bool showSave() override { return show(Kind::Save); }

    const QList<Shown> &shown() const { return m_shown; }
    int unexpected() const { return m_unexpected; }

private:
    bool show(Kind kind);

    QString m_fileName;
    std::deque<std::optional<QString>> m_answers;
    QList<Shown> m_shown;
    int m_unexpected = 0;
};

// Answers document dialogs from a queue like FakeFileDialog; prints on a device the test gives.
class FakeDocumentDialogs : public DocumentDialogs {
public:
    struct Shown {
        QString title;
        QString filter;
        QString proposedPath;
    };

    // A path is chosen; empty text is a cancel. With no answer left the dialog is cancelled.
    void queueAnswer(const QString &answer) { m_answers.push_back(answer); }
    // Where print() paints when the user accepts; none: the print is cancelled.
    QPagedPaintDevice *printer = nullptr;

    QString chooseOpen(const QString &title, const QString &filter) override {
        return answer({title, filter, {}});
    }
    QString chooseSave(const QString &title, const QString &filter,
                       const QString &proposedPath) override {
        return answer({title, filter, proposedPath});
    }
    bool print(const std::function<void(QPagedPaintDevice &)> &render) override;

    const QList<Shown> &shown() const { return m_shown; }
    int printRequests() const { return m_printRequests; }

private:
    QString answer(const Shown &shown);

    std::deque<QString> m_answers;
    QList<Shown> m_shown;
    int m_printRequests = 0;
};

} // namespace platform
