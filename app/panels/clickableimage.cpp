#include "app/panels/clickableimage.h"

namespace app {

ClickableImage::ClickableImage(QWidget *parent)
    : QToolButton(parent) {
    setIcon(QIcon(QStringLiteral(":/icons/exit.svg")));
    setIconSize(QSize(16, 16));
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
}

} // namespace app
