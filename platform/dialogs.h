#pragma once

#include <QString>

namespace platform {

enum class MessageIcon { None, Critical };

// Modal boxes and the beep. Every message the user must see goes through message().
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with an OK button; returns when the user has closed it.
    virtual void message(const QString &text, const QString &caption, MessageIcon icon) = 0;
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

} // namespace platform
