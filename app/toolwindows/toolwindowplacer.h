#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <optional>

class QWidget;

namespace app {

// Where a Tools window opens and what it remembers: the place and size where the user last
// left it (in this run or an earlier one, kept in the application's settings under
// `settingsKey`), fitted into the screen's free area; the first time, beside the main window
// (placeToolWindow). It also keeps the window from being transient for the main window, so
// that raising the main window brings it in front.
class ToolWindowPlacer : public QObject {
    Q_OBJECT
public:
    // Watches `window`, a top-level widget, which owns the placer.
    ToolWindowPlacer(QWidget &window, QString settingsKey);

    // The main window, and the part of it to keep in sight (the editor's fields); either may
    // be null.
    void setAnchor(QWidget *mainWindow, QWidget *keepVisible);
    // Gives the hidden window its place; call it just before showing it.
    void placeBeforeShowing();

    // The client rectangle remembered under `settingsKey`, if any.
    static std::optional<QRect> rememberedPlace(const QString &settingsKey);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void remember() const;
    // Once shown, with the frame known: the whole frame on the screen.
    void keepFrameOnScreen();

    QWidget &m_window;
    QString m_key;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_keepVisible;
    bool m_shown = false;
};

} // namespace app
