#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace userdb {
class OpenDatabase;
}
namespace Ui {
class UserListWindow;
}

namespace app {

class EscapeCloses;
class ToolWindowPlacer;
class UserListFilter;
class UserListModel;

// The "User List" window: every slot that holds text, a find box, a "Duplicates only" switch
// (which also orders the rows by serial, so the slots sharing one stand together) and a count
// of the rows shown. Non-modal, a top-level window of its own (a dialog to a screen reader);
// it follows the open database as it changes. It opens where the user last left it, else
// beside the main window (setPlacementAnchor).
// Keyboard: Tab goes find box, check box, table; Enter or Down in the find box moves to the
// table; Enter on a row chooses it; Escape closes the window.
class UserListWindow : public QDialog {
    Q_OBJECT
public:
    // With a parent, it is still a window of its own, closed with its parent.
    explicit UserListWindow(const userdb::OpenDatabase &database, QWidget *parent = nullptr);
    ~UserListWindow() override;

    // Where the window first opens: beside `mainWindow`, or over its right part without
    // covering `keepVisible` (the editor's fields). Either may be null.
    void setPlacementAnchor(QWidget *mainWindow, QWidget *keepVisible);
    // Runs first on each Escape; returns true when it used the key, which then leaves the
    // window open.
    void setEarlierEscapeRule(std::function<bool()> rule);
    // The settings key under which the window's place and size are remembered.
    static QString placeKey();

    // Shows the window, or brings it to the front when it is shown already.
    void open() override;
    // As open, with the focus in the find box and its text selected.
    void openForFind();

    UserListFilter &filter() const { return *m_filter; }

signals:
    // The user chose the row of `slot`, by a click, a double-click or Enter. A double-click
    // may announce the same slot twice.
    void slotChosen(int slot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sizeColumns();
    void showDuplicatesOnly(bool on);
    void chooseRow(const QModelIndex &index);
    void moveToTable();
    void followShownRows();

    std::unique_ptr<Ui::UserListWindow> m_ui;
    UserListModel *m_model;
    UserListFilter *m_filter;
    ToolWindowPlacer *m_placer;
    EscapeCloses *m_escape;
};

} // namespace app
