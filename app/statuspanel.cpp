#include "app/statuspanel.h"

#include "app/toolwindows/livelabel.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

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
    if (m_givesWay)
        setToolTip(text);
}

void StatusPanel::setGivesWay(bool givesWay) {
    m_givesWay = givesWay;
    updateGeometry();
}

QSize StatusPanel::minimumSizeHint() const {
    QSize hint = QLabel::minimumSizeHint();
    if (m_givesWay)
        hint.setWidth(
            std::min(hint.width(), fontMetrics().horizontalAdvance(QStringLiteral("MMMM"))));
    return hint;
}

void StatusPanel::paintEvent(QPaintEvent *event) {
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (!m_givesWay || fontMetrics().horizontalAdvance(text()) <= room.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawText(room, int(alignment()),
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
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
