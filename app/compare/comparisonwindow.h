#pragma once

#include "link/compare.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class ComparisonWindow;
}

namespace app {

class DifferencesModel;
class EscapeCloses;
class ToolWindowPlacer;

// The Comparison window: a summary line naming the device and the table of slots where the
// receiver or tag differs from the database. Non-modal, a top-level window of its own (a
// dialog to a screen reader); choosing a row (click, Enter, double-click) asks for that slot
// in the editor. Escape or Close hides it. It opens where the user last left it, else beside
// the main window (setPlacementAnchor).
class ComparisonWindow : public QDialog {
    Q_OBJECT
public:
    explicit ComparisonWindow(QWidget *parent = nullptr);
    ~ComparisonWindow() override;

    // Where the window first opens: beside `mainWindow`, or over its right part without
    // covering `keepVisible` (the editor's fields). Either may be null.
    void setPlacementAnchor(QWidget *mainWindow, QWidget *keepVisible);
    // Runs first on each Escape; returns true when it used the key, which then leaves the
    // window open.
    void setEarlierEscapeRule(std::function<bool()> rule);
    // The settings key under which the window's place and size are remembered.
    static QString placeKey();

    // Fills the table and the summary; does not show the window.
    void setComparison(const QList<proglink::SlotDifference> &differences, proglink::Device device);
    // Fills, shows and raises the window, with the first row current.
    void showComparison(const QList<proglink::SlotDifference> &differences,
                        proglink::Device device);

signals:
    void slotChosen(int slot);

private:
    void choose(const QModelIndex &index);

    std::unique_ptr<Ui::ComparisonWindow> ui;
    DifferencesModel *m_model;
    ToolWindowPlacer *m_placer;
    EscapeCloses *m_escape;
};

} // namespace app
