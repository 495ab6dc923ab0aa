#include "app/toolwindows/livelabel.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace app {

void makeLiveLabel(QLabel &label, const QString &fixedWords) {
    label.setTextFormat(Qt::PlainText);
    label.setAccessibleDescription(fixedWords);
    setLiveText(label, label.text());
}

void setLiveText(QLabel &label, const QString &text) {
    label.setText(text);
    label.setAccessibleName(text.isEmpty() ? label.accessibleDescription() : text);
}

void nameClearButton(QLineEdit &edit, const QString &name) {
    // The action and its tool button appear when the clear button is switched on.
    const QLatin1String clearAction("_q_qlineeditclearaction");
    for (QAction *action : edit.actions())
        if (action->objectName() == clearAction) {
            action->setText(name);
            action->setToolTip(name);
        }
    for (QToolButton *button : edit.findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
        if (button->defaultAction() && button->defaultAction()->objectName() == clearAction)
            button->setAccessibleName(name);
}

} // namespace app
