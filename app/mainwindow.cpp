#include "app/mainwindow.h"

#include "app/about/aboutbox.h"
#include "app/compare/comparisonwindow.h"
#include "app/statuspanel.h"
#include "app/toolbarlayout.h"
#include "app/userlist/userlistwindow.h"
#include "platform/serialport.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

void initAppResources();

namespace app {

namespace {

// The main column never gets narrower than this; the bulk frame lies beyond its right edge.
constexpr int MainColumnWidth = 780;

using Handler = void (MainWindow::*)();

// Every command with the menu item (or menu-bar command) that starts it and its handler.
struct CommandBinding {
    Command command;
    const char *menuName;
    Handler handler;
};

const CommandBinding Bindings[] = {
    {Command::NewDatabase, "mnuNewDatabase", &MainWindow::mnuNewDatabase_Click},
    {Command::LoadDatabase, "mnuLoadDatabase", &MainWindow::mnuLoadDatabase_Click},
    {Command::SaveDatabase, "mnuSaveDatabase", &MainWindow::mnuSaveDatabase_Click},
    {Command::SaveDatabaseAs, "mnuSaveDatabaseAs", &MainWindow::mnuSaveDatabaseAs_Click},
    {Command::CloseDatabase, "mnuCloseDatabase", &MainWindow::mnuCloseDatabase_Click},
    {Command::SortDatabase, "mnuSortDatabase", &MainWindow::mnuSortDatabase_Click},
    {Command::MergeDatabase, "mnuMergeDatabase", &MainWindow::mnuMergeDatabase_Click},
    {Command::ReadReceiver, "mnuReadReceiver", &MainWindow::mnuReadReceiver_Click},
    {Command::ReadTag, "mnuReadTag", &MainWindow::mnuReadTag_Click},
    {Command::ProgramReceiver, "mnuProgramReceiver", &MainWindow::mnuProgramReceiver_Click},
    {Command::ProgramTag, "mnuProgramTag", &MainWindow::mnuProgramTag_Click},
    {Command::CopyTagToReceiver, "mnuCopyfromTagtoReceiver",
     &MainWindow::mnuCopyfromTagtoReceiver_Click},
    {Command::CopyReceiverToTag, "mnuCopyfromReceivertoTag",
     &MainWindow::mnuCopyfromReceivertoTag_Click},
    {Command::ClearReceiver, "mnuClearReceiver", &MainWindow::mnuClearReceiver_Click},
    {Command::ClearTag, "mnuClearTag", &MainWindow::mnuClearTag_Click},
    {Command::EnableInternalReceiver, "mnuEnableRX", &MainWindow::mnuEnableRX_Click},
    {Command::DisableInternalReceiver, "mnuDisableRX", &MainWindow::mnuDisableRX_Click},
    {Command::FindProgrammer, "mnuFindRemletManager", &MainWindow::mnuFindRemletManager_Click},
    {Command::About, "mnuAbout", &MainWindow::mnuAbout_Click},
    {Command::UserList, "mnuUserList", &MainWindow::mnuUserList_Click},
    {Command::Find, "mnuFind", &MainWindow::mnuFind_Click},
    {Command::UseCapturedSerial, "mnuUseCapturedSerial", &MainWindow::mnuUseCapturedSerial_Click},
    {Command::CompareWithReceiver, "mnuCompareReceiver", &MainWindow::mnuCompareReceiver_Click},
    {Command::CompareWithTag, "mnuCompareTag", &MainWindow::mnuCompareTag_Click},
    {Command::ExportCsv, "mnuExportCsv", &MainWindow::mnuExportCsv_Click},
    {Command::ImportCsv, "mnuImportCsv", &MainWindow::mnuImportCsv_Click},
    {Command::PrintUserList, "mnuPrintUserList", &MainWindow::mnuPrintUserList_Click},
    {Command::ExportPdf, "mnuExportPdf", &MainWindow::mnuExportPdf_Click},
};

// The commands that replace, reorder or rename the open database.
bool changesTheDatabase(Command command) {
    return command == Command::NewDatabase || command == Command::LoadDatabase ||
           command == Command::SaveDatabaseAs || command == Command::CloseDatabase ||
           command == Command::SortDatabase || command == Command::MergeDatabase ||
           command == Command::ImportCsv;
}

} // namespace

MainWindow::MainWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_services(services)
    , m_dialogs(services.dialogs)
    , m_link{services.port, services.clock, services.loop, m_dialogs} {
    initAppResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/remletmanager.svg")));
    bindCommands();
    buildStatusBar();
    wirePanels();
    addKeyboardShortcuts();
    restoreToolSettings();

    // The frames that the commands show; the device selector is never shown. The progress bar
    // keeps its place while hidden, so that nothing jumps when a transfer starts.
    ui->fraTXUsers->hide();
    ui->fraSort->hide();
    ui->fraMergeDatabase->hide();
    ui->fraBurnFile->hide();
    QSizePolicy keepPlace = ui->prbDownload->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    ui->prbDownload->setSizePolicy(keepPlace);
    ui->prbDownload->hide();
    ui->lblEnableRX->setMinimumHeight(ui->Text1->sizeHint().height());
    fitToScreen();
    updateToolStates();
}

MainWindow::~MainWindow() {
    // The controls go first, while the record store still exists: a box that loses the focus
    // as it is destroyed (the State box finishing its edit) writes into the store.
    delete takeCentralWidget();
}

void MainWindow::bindCommands() {
    for (QMenu *menu : ui->menuBar->findChildren<QMenu *>())
        m_menus.insert(menu->objectName(), menu->menuAction());
    for (QAction *action : findChildren<QAction *>(QRegularExpression(QStringLiteral("^mnu"))))
        m_menus.insert(action->objectName(), action);
    for (const CommandBinding &binding : Bindings) {
        QAction *action = m_menus.value(QLatin1String(binding.menuName));
        const Command command = binding.command;
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    }
    m_toolbarActions = ui->Toolbar1->actions();
    for (QAction *action : std::as_const(m_toolbarActions)) {
        if (action->isSeparator())
            continue;
        const QString key = action->objectName();
        connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

void MainWindow::buildStatusBar() {
    // Four panels: status text, port, time, date.
    const int stretch[4] = {3, 2, 0, 0};
    const char *purpose[4] = {"Status", "Port", "Time", "Date"};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new StatusPanel(QStringLiteral("StatusBar1Panel%1").arg(i + 1),
                                      QLatin1String(purpose[i]), ui->StatusBar1);
        ui->StatusBar1->addPermanentWidget(m_panels[i], stretch[i]);
    }
    updateClock();
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MainWindow::updateClock);
    clock->start(1000);
}

void MainWindow::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    m_panels[2]->setText(locale.toString(now.time(), QLocale::ShortFormat));
    m_panels[3]->setText(locale.toString(now.date(), QLocale::ShortFormat));
}

void MainWindow::wirePanels() {
    const auto beep = [this] { m_dialogs.beep(); };
    SlotEditor *editor = ui->fraTXUsers;
    connect(editor->slotSelector(), &QScrollBar::valueChanged, this, &MainWindow::hscSlot_Change);
    connect(editor, &SlotEditor::fieldEdited, this, [this](int column, const QString &text) {
        m_database.setCell(EditSlotNumber, column, text);
    });
    connect(editor, &SlotEditor::serialBoxLeft, this, &MainWindow::txtRemlet_LostFocus);
    connect(editor, &SlotEditor::closeClicked, this, &MainWindow::imgDatabaseExit_Click);
    connect(editor, &SlotEditor::characterRefused, this, beep);
    connect(ui->fraSize, &SizeFrame::sizeClicked, this, &MainWindow::fraSize_Click);
    connect(ui->fraSort, &SortPanel::sortClicked, this, &MainWindow::cmdSortNow_Click);
    connect(ui->fraSort, &SortPanel::closeClicked, this, &MainWindow::imgSortExit_Click);
    connect(ui->fraMergeDatabase, &MergePanel::mergeClicked, this,
            &MainWindow::cmdMergeDatabase_Click);
    connect(ui->fraMergeDatabase, &MergePanel::closeClicked, this,
            &MainWindow::MergeExitImage_Click);
    connect(ui->fraBulk, &BulkPanel::bulkClicked, this, &MainWindow::cmdBulk_Click);
    connect(ui->fraBulk, &BulkPanel::characterRefused, this, beep);
}

void MainWindow::addKeyboardShortcuts() {
    // Escape closes the open Sort and Merge panels.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        imgSortExit_Click();
        MergeExitImage_Click();
    });
    // F10 reaches the menu bar as Alt alone does: Qt's keyboard mode, in which Enter runs the
    // commands on the bar itself too. Qt enters it on a lone Alt press and release.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    });
}

void MainWindow::fitToScreen() {
    // The client area ends where the main column ends; the bulk frame lies beyond it and
    // comes into view only when the user drags the window wider. The column scrolls when the
    // screen is too low for it, rather than squeezing its boxes.
    ui->fraTXUsers->show();
    const QSize column = ui->mainColumn->sizeHint();
    ui->fraTXUsers->hide();
    const int scrollBar = ui->mainColumnArea->verticalScrollBar()->sizeHint().width();
    const int width = std::max(MainColumnWidth, column.width()) + scrollBar;
    ui->mainColumnArea->setFixedWidth(width);
    centralWidget()->setMinimumWidth(width);
    const int chrome = ui->menuBar->sizeHint().height() + ui->Toolbar1->sizeHint().height() +
                       ui->StatusBar1->sizeHint().height();
    int height = column.height() + chrome;
    if (const QScreen *screen = this->screen())
        height = std::min(height, screen->availableGeometry().height());
    resize(width, height);
}

void MainWindow::revealPanel(QWidget *panel) {
    panel->show();
    const int chrome = height() - ui->mainColumnArea->viewport()->height();
    int wanted = ui->mainColumn->sizeHint().height() + chrome;
    if (const QScreen *screen = this->screen())
        wanted = std::min(wanted, screen->availableGeometry().height());
    if (wanted > height())
        resize(width(), wanted);
    ui->mainColumnArea->ensureWidgetVisible(panel);
    panel->setFocus(Qt::OtherFocusReason);
}

void MainWindow::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    placeBulkFrame();
}

void MainWindow::placeBulkFrame() {
    const int width = ui->mainColumnArea->width();
    ui->mainColumnArea->setGeometry(0, 0, width, centralWidget()->height());
    ui->fraBulk->adjustSize();
    ui->fraBulk->move(width + 8, 8);
}

// ---- dispatch, failures, start-up and shutdown ----

void MainWindow::reportFailure(const QString &text) {
    m_dialogs.message(text, platform::ApplicationTitle, platform::MessageIcon::Critical);
}

void MainWindow::runCommand(Command command) {
    if (changesTheDatabase(command) && refuseWhileTransferring())
        return;
    for (const CommandBinding &binding : Bindings) {
        if (binding.command != command)
            continue;
        try {
            (this->*binding.handler)();
        } catch (const std::exception &failure) {
            // A port the system refuses or another program holds: the command stops where it
            // failed, the user is told why, and the window goes on.
            reportFailure(QString::fromLocal8Bit(failure.what()));
        }
        updateToolStates();
        return;
    }
}

void MainWindow::Toolbar1_ButtonClick(const QString &key) {
    runCommand(commandForToolbarKey(key));
}

void MainWindow::startUp() {
    applyCommandEvent(CommandEvent::StartUp, *this);
    runCommand(Command::FindProgrammer);
}

void MainWindow::closeEvent(QCloseEvent *event) {
    m_dialogs.setClosing();
    // Every other window of the program goes first, the most recently opened first.
    for (QWidget *other : {static_cast<QWidget *>(m_about), static_cast<QWidget *>(m_comparison),
                           static_cast<QWidget *>(m_userList)})
        if (other)
            other->close();
    // Closing the port first ends any wait at once; capture mode then stops without
    // sending its switch-off command.
    if (m_services.port.isOpen())
        m_services.port.close();
    m_capture.requestStop();
    event->accept();
}

void MainWindow::mnuAbout_Click() {
    m_about = new AboutBox(m_dialogs, m_services.systemInfo, this);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->exec();
}

} // namespace app
