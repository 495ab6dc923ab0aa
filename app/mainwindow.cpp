#include "app/mainwindow.h"

#include "app/about/aboutbox.h"
#include "app/commandtable.h"
#include "app/compare/comparisonwindow.h"
#include "app/programmer/programmersession.h"
#include "app/programmerport/portsetting.h"
#include "app/statuspanel.h"
#include "app/toolwindows/livelabel.h"
#include "app/userlist/userlistwindow.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QSizeGrip>
#include <QTimer>
#include <QToolButton>

void initAppResources();

namespace app {

MainWindow::MainWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_services(services)
    , m_dialogs(services.dialogs)
    , m_programmer(new ProgrammerSession({services.port, services.clock, services.loop, m_dialogs},
                                         services.deviceWatcher, services.scheduler, this)) {
    initAppResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/remletmanager.svg")));
    bindCommands();
    buildStatusBar();
    wirePanels();
    wireProgrammer();
    addKeyboardShortcuts();
    wireFilesFromOutside();
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
    QSizePolicy cancelPlace = ui->cmdCancel->sizePolicy();
    cancelPlace.setRetainSizeWhenHidden(true);
    ui->cmdCancel->setSizePolicy(cancelPlace);
    ui->cmdCancel->hide();
    makeLiveLabel(*mergedCountLabel(), QStringLiteral("Remlets in the merged file"));
    makeLiveLabel(*replyLabel(), QStringLiteral("Programmer reply"));
    replyLabel()->setMinimumHeight(serialBeingWritten()->sizeHint().height());
    fitToScreen();
    updateToolStates();
}

MainWindow::~MainWindow() {
    // The controls go first, while the record store still exists: a box that loses the focus
    // as it is destroyed (the State box finishing its edit) writes into the store.
    delete takeCentralWidget();
}

int MainWindow::Port() const {
    return m_programmer->port();
}

QLabel *MainWindow::mergedCountLabel() const {
    return ui->Label4;
}

QLineEdit *MainWindow::serialBeingWritten() const {
    return ui->Text1;
}

QLabel *MainWindow::replyLabel() const {
    return ui->lblEnableRX;
}

void MainWindow::bindCommands() {
    // Every menu has a name for a screen reader: its title without the mnemonic mark.
    ui->menuBar->setAccessibleName(QStringLiteral("Menu bar"));
    for (QMenu *menu : ui->menuBar->findChildren<QMenu *>()) {
        m_menus.insert(menu->objectName(), menu->menuAction());
        menu->setAccessibleName(QString(menu->title()).remove(QLatin1Char('&')));
    }
    for (QAction *action : findChildren<QAction *>(QRegularExpression(QStringLiteral("^mnu"))))
        m_menus.insert(action->objectName(), action);
    for (const CommandRow &row : commandTable()) {
        if (!row.menuName)
            continue;
        const Command command = row.command;
        connect(m_menus.value(QLatin1String(row.menuName)), &QAction::triggered, this,
                [this, command] { runCommand(command); });
    }
    // The toolbar's positions are the form's, separators included.
    m_toolbarActions = ui->Toolbar1->actions();
    for (QToolButton *more :
         ui->Toolbar1->findChildren<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));
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
        m_panels[i]->setGivesWay(stretch[i] > 0); // a long message never widens the window
        ui->StatusBar1->addPermanentWidget(m_panels[i], stretch[i]);
    }
    // The status bar and every child of it have a name for a screen reader.
    ui->StatusBar1->setAccessibleName(QStringLiteral("Status bar"));
    for (QSizeGrip *grip : ui->StatusBar1->findChildren<QSizeGrip *>())
        grip->setAccessibleName(QStringLiteral("Resize the window"));
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
    const auto command = [this](Command c) { return [this, c] { runCommand(c); }; };
    SlotEditor *editor = ui->fraTXUsers;
    connect(editor->slotSelector(), &QScrollBar::valueChanged, this, &MainWindow::hscSlot_Change);
    connect(editor, &SlotEditor::fieldEdited, this, [this](int column, const QString &text) {
        m_database.setCell(m_editSlotNumber, column, text);
    });
    // Any change of the records or the address counts as unsaved, whoever made it.
    connect(&m_database, &userdb::OpenDatabase::cellChanged, this, &MainWindow::markModified);
    connect(&m_database, &userdb::OpenDatabase::recordsChanged, this, &MainWindow::markModified);
    connect(editor, &SlotEditor::addressEdited, this, &MainWindow::markModified);
    connect(editor, &SlotEditor::serialBoxLeft, this, &MainWindow::txtRemlet_LostFocus);
    connect(editor, &SlotEditor::closeClicked, this, &MainWindow::imgDatabaseExit_Click);
    connect(editor, &SlotEditor::characterRefused, this, beep);
    connect(ui->fraSize, &SizeFrame::sizeClicked, this, &MainWindow::fraSize_Click);
    connect(ui->fraSort, &SortPanel::sortClicked, this, command(Command::SortNow));
    connect(ui->fraSort, &SortPanel::closeClicked, this, &MainWindow::imgSortExit_Click);
    connect(ui->fraMergeDatabase, &MergePanel::mergeClicked, this, command(Command::MergeNow));
    connect(ui->fraMergeDatabase, &MergePanel::closeClicked, this,
            &MainWindow::MergeExitImage_Click);
    connect(ui->fraBulk, &BulkPanel::bulkClicked, this, command(Command::BulkValidate));
    connect(ui->fraBulk, &BulkPanel::characterRefused, this, beep);
}

void MainWindow::addKeyboardShortcuts() {
    // Escape, one rule for the whole program: it stops what runs, else closes the open panels.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (stopWhatRuns())
            return;
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

// ---- dispatch, failures, start-up and shutdown ----

void MainWindow::reportFailure(const QString &text) {
    m_dialogs.message(text, platform::ApplicationTitle, platform::MessageIcon::Critical);
}

bool MainWindow::mayGoOn(DatabaseEffect effect) {
    // What works on the records waits for a transfer or an enrolment; what replaces them asks
    // about unsaved changes first.
    if (effect != DatabaseEffect::None &&
        (m_programmer->refuseWhileTransferring() || refuseWhileEnrolling()))
        return false;
    return effect != DatabaseEffect::Replaces || maySaveOrDiscard();
}

void MainWindow::runCommand(Command command) {
    const CommandRow *row = rowOf(command);
    if (!row || !mayGoOn(row->effect))
        return;
    try {
        (this->*row->handler)();
    } catch (const std::exception &failure) {
        // Whatever escapes a command: it stops where it failed, the user is told why, and the
        // window goes on.
        reportFailure(QString::fromLocal8Bit(failure.what()));
    }
    updateToolStates();
}

void MainWindow::Toolbar1_ButtonClick(const QString &key) {
    runCommand(commandForToolbarKey(key));
}

void MainWindow::startUp() {
    restorePlace();
    applyCommandEvent(CommandEvent::StartUp, *this);
    restorePinnedPort(m_services.portCatalog);
    runCommand(Command::FindProgrammer);
    // From now on a programmer plugged in later is found without a click.
    m_programmer->watchPorts(pathsToWatch(m_services.portCatalog));
}

void MainWindow::closeEvent(QCloseEvent *event) {
    // Nothing goes unasked: a transfer that would be cut short, then unsaved changes.
    if (m_programmer->isTransferring() &&
        m_dialogs.ask(QStringLiteral("A transfer is running. Stop it and close?"),
                      platform::ApplicationTitle,
                      {platform::Answer::Yes, platform::Answer::No}) != platform::Answer::Yes) {
        event->ignore();
        return;
    }
    if (!maySaveOrDiscard()) {
        event->ignore();
        return;
    }
    m_dialogs.setClosing();
    // Every other window of the program goes first, the most recently opened first.
    for (QWidget *other : {static_cast<QWidget *>(m_about), static_cast<QWidget *>(m_comparison),
                           static_cast<QWidget *>(m_userList)})
        if (other)
            other->close();
    m_programmer->shutDown();
    rememberPlace();
    event->accept();
}

void MainWindow::mnuQuit_Click() {
    close(); // through closeEvent, so nothing unsaved goes unasked
}

void MainWindow::mnuAbout_Click() {
    m_about = new AboutBox(m_dialogs, m_services.systemInfo, this);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->exec();
}

} // namespace app
