#pragma once

#include "userdb/merge.h"

#include <QGroupBox>

#include <memory>

namespace Ui {
class MergePanel;
}

namespace app {

// The merge panel: what the merge does, the Merge Database button and the exit mark.
class MergePanel : public QGroupBox {
    Q_OBJECT
public:
    explicit MergePanel(QWidget *parent = nullptr);
    ~MergePanel() override;

    userdb::MergeOptions options() const;

signals:
    void mergeClicked();
    void closeClicked();

private:
    std::unique_ptr<Ui::MergePanel> ui;
};

} // namespace app
