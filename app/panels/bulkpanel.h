#pragma once

#include <QGroupBox>

#include <memory>

namespace Ui {
class BulkPanel;
}

namespace app {

// The bulk fill frame: the first serial number, how many, and the button that fills them.
class BulkPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit BulkPanel(QWidget *parent = nullptr);
    ~BulkPanel() override;

    QString startSerial() const;
    QString count() const;
    // Puts the keyboard into the first field.
    void focusFirstField();

signals:
    void bulkClicked();
    void characterRefused();

private:
    std::unique_ptr<Ui::BulkPanel> ui;
};

} // namespace app
