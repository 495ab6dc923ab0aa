#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>

class QFileDialog;

namespace platform {

// Message boxes owned by the given window (may be null) and the system beep.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr)
        : m_parent(parent) {}

    void message(const QString &text, const QString &caption, MessageIcon icon) override;
    Answer ask(const QString &text, const QString &caption, const QList<Answer> &buttons) override;
    void beep() override;

private:
    QPointer<QWidget> m_parent;
};

// The one open/save dialog of the program, owned by the given window (may be null).
class QtFileDialog : public FileDialog {
public:
    enum class Mode { Open, Save };

    explicit QtFileDialog(QWidget *parent = nullptr)
        : m_parent(parent) {}

    void setFileName(const QString &name) override { m_fileName = name; }
    QString fileName() const override { return m_fileName; }
    bool showOpen() override;
    bool showSave() override;

    // Gives a dialog the fixed settings of the given form and the current file name.
    void configure(QFileDialog &dialog, Mode mode) const;

private:
    bool show(Mode mode);

    QPointer<QWidget> m_parent;
    QString m_fileName;
};

// Qt's file dialogs for spreadsheets and PDF files, and the print dialog.
class QtDocumentDialogs : public DocumentDialogs {
public:
    explicit QtDocumentDialogs(QWidget *parent = nullptr)
        : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    QString chooseOpen(const QString &title, const QString &filter) override;
    QString chooseSave(const QString &title, const QString &filter,
                       const QString &proposedPath) override;
    bool print(const std::function<void(QPagedPaintDevice &)> &render) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace platform
