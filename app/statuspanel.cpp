#include "app/statuspanel.h"

#include "app/toolwindows/livelabel.h"

#include <QTimer>

namespace app {

namespace {
constexpr int NoticeMs = 4000;
}

StatusPanel::StatusPanel(const QString &objectName, const QString &purpose, QWidget *parent)
    : QLabel(parent)
    , m_noticeTimer(new QTimer(this)) {
    setObjectName(objectName);
    // The text changes, so a screen reader reads it as the name; the purpose is the description
    // (and the name while the panel is empty).
    makeLiveLabel(*this, purpose);
    m_noticeTimer->setObjectName(QStringLiteral("noticeTimer"));
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(NoticeMs);
    connect(m_noticeTimer, &QTimer::timeout, this, [this] { setText(m_lasting); });
}

void StatusPanel::setText(const QString &text) {
    setLiveText(*this, text);
}

void StatusPanel::setLastingText(const QString &text) {
    m_lasting = text;
    m_noticeTimer->stop();
    setText(text);
}

void StatusPanel::showNotice(const QString &text) {
    setText(text);
    m_noticeTimer->start();
}

} // namespace app
