#pragma once

#include <QGroupBox>

#include <memory>

namespace Ui {
class SortPanel;
}

namespace app {

// The sort panel: which field to sort by, the Sort button and the exit mark.
class SortPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SortPanel(QWidget *parent = nullptr);
    ~SortPanel() override;

    // The record column of the selected option.
    int selectedColumn() const;

signals:
    void sortClicked();
    void closeClicked();

private:
    std::unique_ptr<Ui::SortPanel> ui;
};

} // namespace app
