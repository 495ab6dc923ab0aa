#pragma once

#include <QToolButton>

namespace app {

// A picture that acts as a button: the exit marks of the panels. It takes the keyboard focus
// and acts on Space like any button.
class ClickableImage : public QToolButton {
    Q_OBJECT
public:
    explicit ClickableImage(QWidget *parent = nullptr);
};

} // namespace app
