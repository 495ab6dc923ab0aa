#include "app/clickableimage.h"

namespace app {

ClickableImage::ClickableImage(const QString &objectName, const QString &accessibleName,
                               QWidget *parent)
    : QToolButton(parent) {
    setObjectName(objectName);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
    setIcon(QIcon(QStringLiteral(":/icons/exit.svg")));
    setIconSize(QSize(16, 16));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

} // namespace app
