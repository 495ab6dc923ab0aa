#pragma once

#include "link/compare.h"

#include <QWidget>
#include <memory>

namespace Ui {
class ComparisonWindow;
}

namespace app {

class DifferencesModel;

// The Comparison window: a summary line and the table of slots where the receiver or tag
// differs from the database. Non-modal, a window of its own; choosing a row (click, Enter,
// double-click) asks for that slot in the editor. Escape or Close hides it.
class ComparisonWindow : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonWindow(QWidget *parent = nullptr);
    ~ComparisonWindow() override;

    // Fills the table and the summary; does not show the window.
    void setComparison(const QList<proglink::SlotDifference> &differences, proglink::Device device);
    // Fills, shows and raises the window, with the first row current.
    void showComparison(const QList<proglink::SlotDifference> &differences,
                        proglink::Device device);

signals:
    void slotChosen(int slot);

private:
    void choose(const QModelIndex &index);
    void fitToScreen();

    std::unique_ptr<Ui::ComparisonWindow> ui;
    DifferencesModel *m_model;
};

} // namespace app
