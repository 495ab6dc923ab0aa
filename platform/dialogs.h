#pragma once

#include <QList>
#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace platform {

enum class MessageIcon { None, Warning, Critical };

// The buttons of a question box: Qt's standard ones.
enum class Answer { Save, Discard, Cancel, Yes, No };

// The application title: the caption of every box that has no title of its own.
inline const QString ApplicationTitle = QStringLiteral("RemletManager");

// Modal boxes and the beep. Every message the user must see goes through message().
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with an OK button; returns when the user has closed it.
    virtual void message(const QString &text, const QString &caption, MessageIcon icon) = 0;
    // A modal question with `buttons`, the first of them the default; returns the one pressed.
    // Escape, or closing the box, answers with the last of them (Cancel or No).
    virtual Answer ask(const QString &text, const QString &caption,
                       const QList<Answer> &buttons) = 0;
    virtual void beep() = 0;
};

// The one open/save dialog that every file command shares. Its file name field keeps its
// value between uses. Title "File Open" on both forms, one filter for *.fxd files, default
// extension "fxd", initial folder "app.path" under the working directory when it exists.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual void setFileName(const QString &name) = 0;
    virtual QString fileName() const = 0;
    // Each returns false when the user cancelled; otherwise fileName() is the chosen path.
    virtual bool showOpen() = 0;
    virtual bool showSave() = 0;
};

// Open, save and print dialogs for documents other than databases: spreadsheets, PDF files,
// paper. The database's own dialog above keeps its fixed settings.
class DocumentDialogs {
public:
    virtual ~DocumentDialogs() = default;
    // The chosen path, or empty text when the user cancelled. `filter` as QFileDialog takes it;
    // the save dialog adds the filter's first extension to a name typed without one.
    virtual QString chooseOpen(const QString &title, const QString &filter) = 0;
    virtual QString chooseSave(const QString &title, const QString &filter,
                               const QString &proposedPath) = 0;
    // Lets the user choose a printer, then `render` paints the pages on it. False when the
    // user cancelled.
    virtual bool print(const std::function<void(QPagedPaintDevice &)> &render) = 0;
};

} // namespace platform
