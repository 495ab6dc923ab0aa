#include "link/quietabledialogs.h"

namespace proglink {

void QuietableDialogs::message(const QString &text, const QString &caption,
                               platform::MessageIcon icon) {
    if (m_quiet)
        m_view.setStatusText(text);
    else
        m_boxes.message(text, caption, icon);
}

} // namespace proglink
