#pragma once

// Naming in the window: what the user meets keeps the names the system has always had. The
// controls keep their form names (`hscSlot`, `lblEnableRX`, `Label4`), the handlers are named
// after their control and event (`mnuReadReceiver_Click`, `hscSlot_Change`), and the routines
// and window-level values that other parts of the system name are spelled as they are there
// (`ShowSlot`, `BubbleSort`, `Port()`, `EditSlotNumber()`, `DatabaseFilename()`). Everything
// else is in the house style: `m_` members, camelCase functions, and controls with form names
// such as `Label4` or `Text1` reached through accessors named for what they show.

#include "app/closingdialogs.h"
#include "app/commands.h"
#include "app/commandstates.h"
#include "app/services.h"
#include "link/compare.h"
#include "link/device.h"
#include "link/memorysize.h"
#include "userdb/importrows.h"
#include "userdb/opendatabase.h"
#include "userdb/recordstore.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <memory>
#include <span>

class QLabel;
class QLineEdit;

namespace Ui {
class MainWindow;
}

namespace app {

class AboutBox;
class ComparisonWindow;
class EnrolWindow;
class ProgrammerLogWindow;
class ProgrammerSession;
class StatusPanel;
class UserListWindow;
struct CommandRow;
enum class DatabaseEffect;

// The main window: the form's controls, the record store, the merge buffer and the window-level
// values. Its handlers live in one file per kind of command (databasecommands.cpp,
// editorcommands.cpp, panelcommands.cpp, programmercommands.cpp, toolscommands.cpp); the
// programmer's side is a ProgrammerSession, the panels are small classes of their own.
class MainWindow : public QMainWindow, public CommandSurface {
    Q_OBJECT
public:
    static inline const QString BaseTitle = QStringLiteral("Corvane Systems Remlet Manager");

    explicit MainWindow(const Services &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: hides what needs a database or a programmer and runs discovery. Called once,
    // before the window is first shown.
    void startUp();
    // Runs a command exactly as its menu item (or button) does.
    void runCommand(Command command);
    // Opens the database file at `path` as Load Database does (refused while a transfer runs,
    // unsaved changes asked about first): for a file from outside, the command line, a drop or
    // the recent list. True when it was opened.
    bool openFile(const QString &path);
    // The command of the toolbar button whose key equals `key`, ignoring case; None for a
    // separator or an unknown key.
    static Command commandForToolbarKey(const QString &key);

    // The window-level values.
    int Port() const;
    int EditSlotNumber() const { return m_editSlotNumber; }
    QString DatabaseFilename() const { return m_databaseFilename; }

    int Remlet_Count() const;
    int Temp_Remlet_Count() const;
    const userdb::RecordStore &records() const { return m_database.records(); }
    // The records as the window edits them: every change is announced to the views.
    userdb::OpenDatabase &database() { return m_database; }
    bool isDatabaseOpen() const;
    ProgrammerSession &programmer() { return *m_programmer; }

    // A menu, menu item or menu-bar command by its control name.
    QAction *menuAction(const QString &name) const { return m_menus.value(name); }
    QAction *toolbarPosition(int position) const { return m_toolbarActions.at(position - 1); }
    QString statusText() const;

    // CommandSurface
    void setToolbarPositionVisible(int position, bool visible) override;
    void setMenuVisible(const QString &name, bool visible) override;
    bool isMenuVisible(const QString &name) const override;
    void setFrameVisible(const QString &name, bool visible) override;
    void resetTitle() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The one table of commands: what starts each, its handler, and whether it replaces,
    // reorders or renames the open database (commandtable.cpp).
    static std::span<const CommandRow> commandTable();
    static const CommandRow *rowOf(Command command);
    // Whether a command with that effect on the records may run now; says why not when not.
    bool mayGoOn(DatabaseEffect effect);

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
    void mnuQuit_Click();
    void fraSize_Click(proglink::MemorySize size); // the four size options
    void cmdSortNow_Click();
    void cmdMergeDatabase_Click();
    void cmdBulk_Click();
    void imgSortExit_Click();
    void MergeExitImage_Click();
    void imgDatabaseExit_Click();
    void hscSlot_Change(int value);
    void txtRemlet_LostFocus();
    void Toolbar1_ButtonClick(const QString &key);
    // The Tools menu.
    void mnuUserList_Click();
    void mnuFind_Click();
    void mnuGoToSlot_Click();
    void mnuUseCapturedSerial_Click();
    void mnuEnrolFobs_Click();
    void mnuCompareReceiver_Click();
    void mnuCompareTag_Click();
    void mnuExportCsv_Click();
    void mnuImportCsv_Click();
    void mnuExportSpreadsheet_Click();
    void mnuImportSpreadsheet_Click();
    void mnuPrintUserList_Click();
    void mnuExportPdf_Click();
    void mnuBulkFill_Click();
    void mnuProgrammerLog_Click();
    void mnuProgrammerPort_Click();

    // Construction.
    void bindCommands();
    void buildStatusBar();
    void wirePanels();
    void wireProgrammer();
    void addKeyboardShortcuts();
    // Files from outside (outsidefiles.cpp): drops and the recent list.
    void wireFilesFromOutside();
    void fillRecentMenu();
    void updateClock();

    // Layout (windowlayout.cpp). The bulk frame stands this far from the main column.
    static constexpr int BulkFrameGap = 8;
    // Sizes the window for its screen: the main column, every menu of the menu bar, the frame
    // within the screen's free area.
    void fitToScreen();
    // The largest client size whose frame fits the screen's free area.
    QSize roomOnScreen() const;
    // Resizes the window towards the client size `wanted` as far as the screen has room, and
    // moves it back onto the screen where its frame would stick out.
    void resizeWithinScreen(const QSize &wanted);
    // Once the window manager has framed the window: the real frame on the screen.
    void keepFrameOnScreen();
    // The window's place between runs: restored at start-up, remembered as it closes.
    void restorePlace();
    void rememberPlace() const;
    // Shows a panel where the user can see and reach it: the window grows when the screen has
    // room, the column scrolls to the panel, and the keyboard goes into it.
    void revealPanel(QWidget *panel);
    void placeBulkFrame();

    // The one place where failures the user must see are shown.
    void reportFailure(const QString &text);
    void setDatabaseTitle(const QString &fileName);

    // The slot editor (editorcommands.cpp).
    void setSlotSelector(int value);
    void ShowSlot();
    void showSlotOne();
    // The serial check of the slot shown: stores the box's text, notes a serial that another
    // slot holds too and warns about one that is not 8 digits long.
    void checkSerialOfSlot();
    void showSerialWarning();

    // The database (databasecommands.cpp).
    // Where the open database's file stands: its own file; none yet, to be named on the first
    // Save (New); or none yet, with a name proposed for it (an import).
    enum class FileKind { Own, Untitled, Proposed };
    // Makes `records` the open database, read from (or to be saved as) `fileName`.
    void openDatabase(const QString &fileName, userdb::RecordStore records, const QString &address,
                      FileKind kind);
    // A memory just read becomes a new database, saved at once under a new Untitled name.
    void openReadDatabase(userdb::RecordStore records);
    // Loads the database file at `path` in place of the open one; false (said) when it fails.
    bool loadDatabase(const QString &path);
    // The question before unsaved changes go: true when the command may go on (nothing was
    // unsaved, or the user saved or discarded it).
    bool maySaveOrDiscard();
    void markModified();
    bool saveDatabase();
    bool saveDatabaseAs();
    // Writes the open database to `path`, keeping the previous version first when asked to.
    bool SaveDatabaseFile(const QString &path);
    // Text that the file cannot hold as it stands: said when loaded, offered to be replaced by
    // "?" when saved (false: the user would not have it replaced).
    void warnAboutUnstorableText();
    bool replaceUnstorableText();
    void BubbleSort();

    // The programmer (programmercommands.cpp).
    // The device selector: the hidden option buttons that say which memory a transfer uses.
    void selectDevice(proglink::Device device);
    void readDevice(proglink::Device device);
    void programDevice(proglink::Device device);
    void showComparison(const QList<proglink::SlotDifference> &differences,
                        proglink::Device device);
    // Escape's first job: cancels a running transfer, else stops enrolment. True when it did.
    bool stopWhatRuns();
    // Enrolment (enrolcommands.cpp): a capture line for the Enrol Fobs window; the refusal of
    // what would replace or reorder the records meanwhile (true when refused).
    void feedEnrolment(const QString &line);
    bool refuseWhileEnrolling();

    // The Tools menu: which items apply now, the remembered settings, the windows it opens.
    void updateToolStates();
    void restoreToolSettings();
    UserListWindow *userListWindow();
    ComparisonWindow *comparisonWindow();
    void showChosenSlot(int slot);
    // What a file is proposed as in a save dialog: the database's name with another extension.
    QString proposedPath(const QString &extension) const;
    // Spreadsheets (spreadsheetcommands.cpp): the users out to a file with that extension, and
    // back in through `import` as a new, unsaved database.
    void exportUsers(const QString &title, const QString &filter, const QString &extension);
    void importUsers(const QString &title, const QString &filter,
                     userdb::SpreadsheetImport (*import)(const QString &));

    // Controls with form names, by what they show.
    QLabel *mergedCountLabel() const;      // Label4
    QLineEdit *serialBeingWritten() const; // Text1
    QLabel *replyLabel() const;            // lblEnableRX

    std::unique_ptr<Ui::MainWindow> ui;
    Services m_services;
    ClosingAwareDialogs m_dialogs;
    ProgrammerSession *m_programmer;

    userdb::OpenDatabase m_database;
    userdb::RecordStore m_mergeBuffer;
    int m_editSlotNumber = 1;
    QString m_databaseFilename;
    bool m_hasFile = false;
    QString m_proposedPath;       // where the first Save proposes to keep a database without a file
    QSet<QString> m_keptVersions; // files whose previous version this sitting has kept
    bool m_opening = false;       // a database is being opened: its changes are no edits
    bool m_frameWatched = false;  // the first show has been followed until the frame came

    QHash<QString, QAction *> m_menus;
    QList<QAction *> m_toolbarActions;
    StatusPanel *m_panels[4] = {};
    QPointer<AboutBox> m_about;
    QPointer<UserListWindow> m_userList;
    QPointer<ComparisonWindow> m_comparison;
    QPointer<ProgrammerLogWindow> m_programmerLog;
    QPointer<EnrolWindow> m_enrolWindow;
    bool m_enrolling = false;
};

} // namespace app
