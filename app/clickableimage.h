#pragma once

#include <QToolButton>

namespace app {

// A picture that acts as a button (the exit marks of the panels).
class ClickableImage : public QToolButton {
public:
    ClickableImage(const QString &objectName, const QString &accessibleName, QWidget *parent);
};

} // namespace app
