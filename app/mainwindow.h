#pragma once

#include "app/closingdialogs.h"
#include "app/commands.h"
#include "app/commandstates.h"
#include "app/services.h"
#include "link/capture.h"
#include "link/device.h"
#include "link/linkcontext.h"
#include "link/memorysize.h"
#include "link/replybuffer.h"
#include "userdb/opendatabase.h"
#include "userdb/recordstore.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QTimer;

namespace Ui {
class MainWindow;
}

namespace app {

class AboutBox;
class ComparisonWindow;
class StatusPanel;
class UserListWindow;

// The main window: the form's controls, the record store, the merge buffer, the reply buffer
// and the window-level variables. Its handlers, named after their controls, live in
// databasecommands.cpp and programmercommands.cpp; the panels are small classes of their own.
class MainWindow : public QMainWindow, public CommandSurface, public proglink::ProgrammerView {
    Q_OBJECT
public:
    static inline const QString BaseTitle = QStringLiteral("Corvane Systems Remlet Manager");

    explicit MainWindow(const Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: hides what needs a database or a programmer and runs discovery. Called once,
    // before the window is first shown.
    void startUp();

    // Window-level variables.
    int Port = 0; // 0 until discovery first succeeds
    int EditSlotNumber = 1;
    QString DatabaseFilename;
    int MemorySlots = 340;

    // Runs a command exactly as its menu item does; a failure that escapes it is reported.
    void runCommand(Command command);
    // Toolbar dispatch by key, ignoring case.
    void Toolbar1_ButtonClick(const QString &key);

    int Remlet_Count() const;
    int Temp_Remlet_Count() const;
    const userdb::RecordStore &records() const { return m_database.records(); }
    // The records as the window edits them: every change is announced to the views.
    userdb::OpenDatabase &database() { return m_database; }
    bool isDatabaseOpen() const;

    // A menu, menu item or menu-bar command by its control name.
    QAction *menuAction(const QString &name) const { return m_menus.value(name); }
    QAction *toolbarPosition(int position) const { return m_toolbarActions.at(position - 1); }

    // CommandSurface
    void setToolbarPositionVisible(int position, bool visible) override;
    void setMenuVisible(const QString &name, bool visible) override;
    bool isMenuVisible(const QString &name) const override;
    void setFrameVisible(const QString &name, bool visible) override;
    void resetTitle() override;

    // ProgrammerView
    void setStatusText(const QString &text) override;
    void setPortText(const QString &text) override;
    void setReplyText(const QString &text) override;
    void showProgress(int minimum, int maximum) override;
    void setProgress(int value) override;
    void hideProgress() override;
    void showSerialBeingWritten(const QString &serial) override;

    QString statusText() const;

    // Handlers.
    void mnuNewDatabase_Click();
    void mnuLoadDatabase_Click();
    void mnuSaveDatabase_Click();
    void mnuSaveDatabaseAs_Click();
    void mnuCloseDatabase_Click();
    void mnuSortDatabase_Click();
    void mnuMergeDatabase_Click();
    void mnuReadReceiver_Click();
    void mnuReadTag_Click();
    void mnuProgramReceiver_Click();
    void mnuProgramTag_Click();
    void mnuCopyfromTagtoReceiver_Click();
    void mnuCopyfromReceivertoTag_Click();
    void mnuClearReceiver_Click();
    void mnuClearTag_Click();
    void mnuEnableRX_Click();
    void mnuDisableRX_Click();
    void mnuFindRemletManager_Click();
    void mnuAbout_Click();
    void fraSize_Click(proglink::MemorySize size); // the four size options
    void cmdSortNow_Click();
    void cmdMergeDatabase_Click();
    void cmdBulk_Click();
    void imgSortExit_Click();
    void MergeExitImage_Click();
    void imgDatabaseExit_Click();
    void hscSlot_Change(int value);
    void txtRemlet_LostFocus();
    // The Tools menu.
    void mnuUserList_Click();
    void mnuFind_Click();
    void mnuUseCapturedSerial_Click();
    void mnuCompareReceiver_Click();
    void mnuCompareTag_Click();
    void mnuExportCsv_Click();
    void mnuImportCsv_Click();
    void mnuPrintUserList_Click();
    void mnuExportPdf_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void bindCommands();
    void buildStatusBar();
    void wirePanels();
    void addKeyboardShortcuts();
    void fitToScreen();
    // Shows a panel where the user can see and reach it: the window grows when the screen has
    // room, the column scrolls to the panel, and the keyboard goes into it.
    void revealPanel(QWidget *panel);
    void placeBulkFrame();
    void updateClock();

    // The one place where failures the user must see are shown.
    void reportFailure(const QString &text);
    void setDatabaseTitle(const QString &fileName);
    void setSlotSelector(int value);
    void ShowSlot();
    bool SaveDatabaseFile();
    void DownloadMemory();
    void UploadMemory();
    void BubbleSort();
    void ApplyMemorySizes();
    proglink::Device selectedDevice() const;
    int memorySlotsOf(proglink::Device device) const;
    // The serial check of the slot shown: stores the box's text, notes a serial that another
    // slot holds too and warns about one that is not 8 digits long.
    void checkSerialOfSlot();
    void showSerialWarning();
    // Makes `records` the open database, read from (or to be saved as) `fileName`.
    void openDatabase(const QString &fileName, userdb::RecordStore records, const QString &address);
    void showSlotOne();
    // The Tools menu: which items apply now, the remembered settings, the windows it opens.
    void updateToolStates();
    void restoreToolSettings();
    void placeBeside(QWidget *tool) const;
    UserListWindow *userListWindow();
    ComparisonWindow *comparisonWindow();
    void showChosenSlot(int slot);
    void compareWith(proglink::Device device);
    // What a file is proposed as in a save dialog: the database's name with another extension.
    QString proposedPath(const QString &extension) const;

    // Re-entry guard: runs one programmer exchange at a time on the port. Returns false when
    // the exchange was refused because another one waits for the programmer.
    bool runExchange(const std::function<void()> &exchange);
    // Beeps and says the programmer is busy, for a few seconds.
    void refuseBusy();
    // Refuses (true) a command that replaces, reorders or renames the database while a
    // programmer command other than capture mode waits: a read or a program in progress
    // works on the records and the file name.
    bool refuseWhileTransferring();

    std::unique_ptr<Ui::MainWindow> ui;
    Services m_services;
    ClosingAwareDialogs m_dialogs;
    proglink::LinkContext m_link;

    userdb::OpenDatabase m_database;
    userdb::RecordStore m_mergeBuffer;
    proglink::ReplyBuffer m_replyBuffer;
    proglink::InternalReceiverCapture m_capture;
    bool m_exchangeRunning = false;
    // The sizes as last accepted: a click refused while the programmer is busy goes back to
    // them, so the window never shows a size the programmer was not told.
    proglink::MemorySize m_acceptedReceiverSize = proglink::MemorySize::Receiver340;
    proglink::MemorySize m_acceptedTagSize = proglink::MemorySize::Tag340;

    QHash<QString, QAction *> m_menus;
    QList<QAction *> m_toolbarActions;
    StatusPanel *m_panels[4] = {};
    QPointer<AboutBox> m_about;
    QPointer<UserListWindow> m_userList;
    QPointer<ComparisonWindow> m_comparison;
    QString m_capturedSerial; // the last fob serial that capture mode showed
};

} // namespace app
