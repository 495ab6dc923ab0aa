#pragma once

#include <QLabel>

class QTimer;

namespace app {

// A status bar panel with a lasting text (what the commands report) and room for a brief
// notice over it (the programmer is busy, a serial number is in another slot), after which
// the lasting text comes back.
class StatusPanel : public QLabel {
    Q_OBJECT
public:
    StatusPanel(const QString &objectName, const QString &purpose, QWidget *parent);

    // Shows `text` now (the clock panels), its accessible name following; hides
    // QLabel::setText so that no caller leaves the name behind.
    void setText(const QString &text);
    // Replaces the lasting text, and any notice shown over it.
    void setLastingText(const QString &text);
    void showNotice(const QString &text);

    // A text panel gives way when the window is narrow: a long message is cut short with "…"
    // (and shown whole in its tool tip) instead of widening the window.
    void setGivesWay(bool givesWay);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_givesWay = false;
    QString m_lasting;
    QTimer *m_noticeTimer;
};

} // namespace app
