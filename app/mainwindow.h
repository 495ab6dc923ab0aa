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
#include "userdb/recordstore.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace app {

class AboutBox;
class ClickableImage;
class SlotEditor;

// The main window: owns every control, the record store, the merge buffer, the reply buffer
// and the window-level variables, and runs every command as one of its handlers.
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
    const userdb::RecordStore &records() const { return m_records; }
    userdb::RecordStore &records() { return m_records; }
    bool isDatabaseOpen() const;

    // Controls, named as the window's designer named them; tests reach them by object name.
    QAction *menuAction(const QString &name) const { return m_menus.value(name); }
    QAction *toolbarPosition(int position) const { return m_toolbarActions.at(position - 1); }
    SlotEditor *editor() const { return fraTXUsers; }

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
    void optRX340Slot_Click();
    void optRX85Slot_Click();
    void optTag340Slot_Click();
    void optTAG85Slot_Click();
    void cmdSortNow_Click();
    void cmdMergeDatabase_Click();
    void cmdBulk_Click();
    void imgSortExit_Click();
    void MergeExitImage_Click();
    void imgDatabaseExit_Click();
    void hscSlot_Change(int value);
    void txtRemlet_LostFocus();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    QWidget *buildSizeFrame();
    QGroupBox *buildSortFrame();
    QGroupBox *buildMergeFrame();
    QGroupBox *buildBulkFrame();
    QGroupBox *buildDeviceSelector();
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
    int selectedSortColumn() const;
    proglink::Device selectedDevice() const;

    void runSizeOption(proglink::MemorySize size);
    // Re-entry guard: runs one programmer exchange at a time on the port.
    void runExchange(const std::function<void()> &exchange);

    Services m_services;
    ClosingAwareDialogs m_dialogs;
    proglink::LinkContext m_link;

    userdb::RecordStore m_records;
    userdb::RecordStore m_mergeBuffer;
    proglink::ReplyBuffer m_replyBuffer;
    proglink::InternalReceiverCapture m_capture;
    bool m_exchangeRunning = false;

    QHash<QString, QAction *> m_menus;
    std::vector<QAction *> m_toolbarActions;
    QToolBar *Toolbar1 = nullptr;
    QLabel *m_panels[4] = {};
    QLabel *lblEnableRX = nullptr;
    QGroupBox *fraSize = nullptr;
    QRadioButton *optRX340Slot = nullptr;
    QRadioButton *optRX85Slot = nullptr;
    QRadioButton *optTag340Slot = nullptr;
    QRadioButton *optTAG85Slot = nullptr;
    SlotEditor *fraTXUsers = nullptr;
    QGroupBox *fraSort = nullptr;
    QHash<int, QRadioButton *> m_sortOptions; // key column -> option
    QGroupBox *fraMergeDatabase = nullptr;
    QCheckBox *chkAddExtra = nullptr;
    QCheckBox *chkDelMissing = nullptr;
    QLabel *Label4 = nullptr;
    QGroupBox *fraBulk = nullptr;
    QLineEdit *txtSerialStart = nullptr;
    QLineEdit *txtNumberFill = nullptr;
    QGroupBox *fraBurnFile = nullptr;
    QRadioButton *optBurnRX = nullptr;
    QRadioButton *optBurnTag = nullptr;
    QProgressBar *prbDownload = nullptr;
    QLineEdit *Text1 = nullptr;
    QWidget *m_mainColumn = nullptr;
    QPointer<AboutBox> m_about;
};

} // namespace app
