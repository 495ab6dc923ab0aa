#include "app/mainwindow.h"

#include "app/aboutbox.h"
#include "app/clickableimage.h"
#include "app/fieldinput.h"
#include "app/sloteditor.h"
#include "app/toolbarlayout.h"
#include "platform/serialport.h"
#include "userdb/fieldrules.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

void initAppResources();

namespace app {

namespace {
constexpr int MainColumnWidth = 780;
}

MainWindow::MainWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_dialogs(services.dialogs)
    , m_link{services.port, services.clock, services.loop, m_dialogs} {
    initAppResources();
    setObjectName(QStringLiteral("frmRemletManager"));
    setWindowTitle(BaseTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/remletmanager.svg")));

    buildMenus();
    buildToolbar();
    buildStatusBar();

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    m_mainColumn = new QWidget(central);
    auto *column = new QVBoxLayout(m_mainColumn);
    column->addWidget(buildSizeFrame());

    lblEnableRX = new QLabel(m_mainColumn);
    lblEnableRX->setObjectName(QStringLiteral("lblEnableRX"));
    lblEnableRX->setAccessibleName(QStringLiteral("Programmer reply"));
    lblEnableRX->setTextFormat(Qt::PlainText);
    lblEnableRX->setFrameShape(QFrame::StyledPanel);
    lblEnableRX->setMinimumHeight(22);
    column->addWidget(lblEnableRX);

    fraTXUsers = new SlotEditor(m_dialogs, m_mainColumn);
    fraTXUsers->hide();
    column->addWidget(fraTXUsers);
    column->addWidget(buildSortFrame());
    column->addWidget(buildMergeFrame());
    column->addWidget(buildDeviceSelector());

    prbDownload = new QProgressBar(m_mainColumn);
    prbDownload->setObjectName(QStringLiteral("prbDownload"));
    prbDownload->setAccessibleName(QStringLiteral("Progress"));
    prbDownload->hide();
    column->addWidget(prbDownload);

    auto *bottomRow = new QHBoxLayout;
    Text1 = new QLineEdit(QStringLiteral("Text1"), m_mainColumn);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Serial number being written"));
    Text1->setReadOnly(true);
    Label4 = new QLabel(m_mainColumn);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAccessibleName(QStringLiteral("Remlets in the merged file"));
    bottomRow->addWidget(Text1);
    bottomRow->addWidget(Label4, 1);
    column->addLayout(bottomRow);
    column->addStretch(1);

    fraBulk = buildBulkFrame();
    fraBulk->setParent(central);
    setCentralWidget(central);

    connect(fraTXUsers->hscSlot, &QScrollBar::valueChanged, this, &MainWindow::hscSlot_Change);
    connect(fraTXUsers, &SlotEditor::fieldEdited, this, [this](int column, const QString &text) {
        m_records.setCell(EditSlotNumber, column, text);
    });
    // Queued: the check runs once the focus has settled elsewhere, and may put it back.
    connect(fraTXUsers, &SlotEditor::serialFocusLost, this, &MainWindow::txtRemlet_LostFocus,
            Qt::QueuedConnection);
    connect(fraTXUsers->imgDatabaseExit, &QToolButton::clicked, this,
            &MainWindow::imgDatabaseExit_Click);

    // The client area ends where the main column ends; the bulk frame lies beyond it and
    // comes into view only when the user drags the window wider.
    fraTXUsers->show();
    const QSize columnSize = m_mainColumn->sizeHint().expandedTo(QSize(MainColumnWidth, 0));
    fraTXUsers->hide();
    m_mainColumn->setMinimumWidth(columnSize.width());
    central->setMinimumSize(columnSize.width(), m_mainColumn->minimumSizeHint().height());
    resize(columnSize.width(), columnSize.height() + menuBar()->sizeHint().height() +
                                   Toolbar1->sizeHint().height() +
                                   statusBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    // Menu items and the commands on the menu bar itself run their command the same way.
    auto bind = [this](QAction *action, const char *name, Command command,
                       const QKeySequence &shortcut) {
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        m_menus.insert(QLatin1String(name), action);
    };
    auto addItem = [bind](QMenu *menu, const char *name, const QString &caption, Command command,
                          const QKeySequence &shortcut = {}) {
        bind(menu->addAction(caption), name, command, shortcut);
    };
    auto addBarCommand = [this, bind](const char *name, const QString &caption, Command command,
                                      const QKeySequence &shortcut = {}) {
        bind(menuBar()->addAction(caption), name, command, shortcut);
    };
    auto addMenu = [this](const char *name, const QString &caption) {
        QMenu *menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        m_menus.insert(QLatin1String(name), menu->menuAction());
        return menu;
    };

    QMenu *file = addMenu("mnuFile", QStringLiteral("File"));
    addItem(file, "mnuNewDatabase", QStringLiteral("New Database"), Command::NewDatabase,
            QKeySequence::New);
    addItem(file, "mnuLoadDatabase", QStringLiteral("Load Database"), Command::LoadDatabase,
            QKeySequence::Open);
    addItem(file, "mnuSaveDatabase", QStringLiteral("Save Database"), Command::SaveDatabase,
            QKeySequence::Save);
    addItem(file, "mnuSaveDatabaseAs", QStringLiteral("Save Database As..."),
            Command::SaveDatabaseAs, QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    addItem(file, "mnuCloseDatabase", QStringLiteral("Close Database"), Command::CloseDatabase);
    addBarCommand("mnuSortDatabase", QStringLiteral("Sort Database"), Command::SortDatabase);
    addBarCommand("mnuMergeDatabase", QStringLiteral("Merge Database"), Command::MergeDatabase);
    QMenu *read = addMenu("mnuRead", QStringLiteral("Read"));
    addItem(read, "mnuReadReceiver", QStringLiteral("Read Receiver"), Command::ReadReceiver);
    addItem(read, "mnuReadTag", QStringLiteral("Read Tag"), Command::ReadTag);
    QMenu *program = addMenu("mnuProgram", QStringLiteral("Program"));
    addItem(program, "mnuProgramReceiver", QStringLiteral("Program Receiver"),
            Command::ProgramReceiver);
    addItem(program, "mnuProgramTag", QStringLiteral("Program Tag"), Command::ProgramTag);
    QMenu *copy = addMenu("mnuCopy", QStringLiteral("Copy"));
    addItem(copy, "mnuCopyfromTagtoReceiver", QStringLiteral("Copy from Tag to Receiver"),
            Command::CopyTagToReceiver);
    addItem(copy, "mnuCopyfromReceivertoTag", QStringLiteral("Copy from Receiver to Tag"),
            Command::CopyReceiverToTag);
    QMenu *clear = addMenu("mnuClear", QStringLiteral("Clear"));
    addItem(clear, "mnuClearReceiver", QStringLiteral("Clear Receiver"), Command::ClearReceiver);
    addItem(clear, "mnuClearTag", QStringLiteral("Clear Tag"), Command::ClearTag);
    QMenu *rx = addMenu("mnuRX", QStringLiteral("RX"));
    addItem(rx, "mnuEnableRX", QStringLiteral("Enable Internal Receiver"),
            Command::EnableInternalReceiver);
    addItem(rx, "mnuDisableRX", QStringLiteral("Disable Internal Receiver"),
            Command::DisableInternalReceiver);
    addBarCommand("mnuFindRemletManager", QStringLiteral("Find ZEPRO"), Command::FindProgrammer);
    addBarCommand("mnuAbout", QStringLiteral("About"), Command::About, QKeySequence::HelpContents);
}

void MainWindow::buildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    for (const ToolbarPosition &position : toolbarLayout()) {
        QAction *action = nullptr;
        if (position.isSeparator()) {
            action = Toolbar1->addSeparator();
        } else {
            const QString key = QLatin1String(position.key);
            action = Toolbar1->addAction(
                QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(position.imageKey))),
                QLatin1String(position.tooltip));
            action->setObjectName(key);
            action->setToolTip(QLatin1String(position.tooltip));
            connect(action, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        }
        m_toolbarActions.push_back(action);
    }
}

void MainWindow::buildStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const int stretch[4] = {3, 1, 0, 0};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        m_panels[i]->setTextFormat(Qt::PlainText);
        bar->addPermanentWidget(m_panels[i], stretch[i]);
    }
    m_panels[0]->setAccessibleName(QStringLiteral("Status"));
    m_panels[2]->setAccessibleName(QStringLiteral("Time"));
    m_panels[3]->setAccessibleName(QStringLiteral("Date"));
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

namespace {

QRadioButton *option(const char *name, const QString &caption, const QString &tip,
                     QWidget *parent) {
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    button->setToolTip(tip);
    return button;
}

QGroupBox *frame(const char *name, const QString &caption, QWidget *parent) {
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(caption);
    return box;
}

} // namespace

QWidget *MainWindow::buildSizeFrame() {
    fraSize = frame("fraSize", QStringLiteral("RX / Tag Memory Capacity"), m_mainColumn);
    auto *row = new QHBoxLayout(fraSize);

    QGroupBox *fraRXSize = frame("fraRXSize", QStringLiteral("RX Memory Size"), fraSize);
    auto *rxLayout = new QVBoxLayout(fraRXSize);
    optRX340Slot = option("optRX340Slot", QStringLiteral("340 Slot RX"),
                          QStringLiteral("Click this button when the ZEPRO is connected to a 340 "
                                         "slot Remlet receiver (current model with a 93C86 8 pin "
                                         "memory chip)"),
                          fraRXSize);
    optRX85Slot = option("optRX85Slot", QStringLiteral("85 Slot RX"),
                         QStringLiteral("Click this button when the ZEPRO is connected to an 85 "
                                        "slot Remlet receiver (old model with a 93C66 8 pin "
                                        "memory chip)"),
                         fraRXSize);
    optRX340Slot->setChecked(true);
    rxLayout->addWidget(optRX340Slot);
    rxLayout->addWidget(optRX85Slot);

    QGroupBox *fraTagSize = frame("fraTagSize", QStringLiteral("Tag Memory Size"), fraSize);
    auto *tagLayout = new QVBoxLayout(fraTagSize);
    optTag340Slot = option(
        "optTag340Slot", QStringLiteral("340 Slot Tag"),
        QStringLiteral("Click this button when the ZEPRO is connected to a 340 slot memory tag"),
        fraTagSize);
    optTAG85Slot = option(
        "optTAG85Slot", QStringLiteral("85 Slot Tag"),
        QStringLiteral("Click this button when the ZEPRO is connected to an 85 slot memory tag"),
        fraTagSize);
    optTag340Slot->setChecked(true);
    tagLayout->addWidget(optTag340Slot);
    tagLayout->addWidget(optTAG85Slot);

    row->addWidget(fraRXSize);
    row->addWidget(fraTagSize);

    connect(optRX340Slot, &QRadioButton::clicked, this, &MainWindow::optRX340Slot_Click);
    connect(optRX85Slot, &QRadioButton::clicked, this, &MainWindow::optRX85Slot_Click);
    connect(optTag340Slot, &QRadioButton::clicked, this, &MainWindow::optTag340Slot_Click);
    connect(optTAG85Slot, &QRadioButton::clicked, this, &MainWindow::optTAG85Slot_Click);
    return fraSize;
}

QGroupBox *MainWindow::buildSortFrame() {
    fraSort = frame("fraSort", QStringLiteral("Sort Database by...."), m_mainColumn);
    auto *grid = new QGridLayout(fraSort);
    struct SortOption {
        const char *name;
        const char *caption;
        int column;
    };
    static const SortOption options[] = {
        {"optSerialNumber", "Serial Number", userdb::SerialNumber},
        {"optSurname", "Surname", userdb::Surname},
        {"optOtherNames", "Other Names", userdb::OtherNames},
        {"optAddress1", "Address 1", userdb::Address1},
        {"optAddress2", "Address 2", userdb::Address2},
        {"optSuburb", "Suburb", userdb::Suburb},
        {"optState", "State", userdb::State},
        {"optPostcode", "Postcode", userdb::PostCode},
        {"optOtherDetail1", "Other Detail 1", userdb::OtherDetail1},
        {"optOtherDetail2", "Other Detail 2", userdb::OtherDetail2},
    };
    int index = 0;
    for (const SortOption &entry : options) {
        QRadioButton *button = option(entry.name, QLatin1String(entry.caption), QString(), fraSort);
        m_sortOptions.insert(entry.column, button);
        grid->addWidget(button, index / 5, index % 5);
        ++index;
    }
    m_sortOptions.value(userdb::Surname)->setChecked(true);

    auto *cmdSortNow = new QPushButton(QStringLiteral("Sort"), fraSort);
    cmdSortNow->setObjectName(QStringLiteral("cmdSortNow"));
    cmdSortNow->setAccessibleName(QStringLiteral("Sort"));
    auto *imgSortExit =
        new ClickableImage(QStringLiteral("imgSortExit"), QStringLiteral("Close"), fraSort);
    grid->addWidget(cmdSortNow, 2, 3);
    grid->addWidget(imgSortExit, 2, 4, Qt::AlignRight);
    connect(cmdSortNow, &QPushButton::clicked, this, &MainWindow::cmdSortNow_Click);
    connect(imgSortExit, &QToolButton::clicked, this, &MainWindow::imgSortExit_Click);
    fraSort->hide();
    return fraSort;
}

QGroupBox *MainWindow::buildMergeFrame() {
    fraMergeDatabase =
        frame("fraMergeDatabase", QStringLiteral("Merge with current Database"), m_mainColumn);
    auto *row = new QHBoxLayout(fraMergeDatabase);
    chkAddExtra = new QCheckBox(QStringLiteral("Add Extra Entries"), fraMergeDatabase);
    chkAddExtra->setObjectName(QStringLiteral("chkAddExtra"));
    chkAddExtra->setToolTip(QStringLiteral("Adds any additional entries to the current database "
                                           "that are found in the newly selected database."));
    chkAddExtra->setAccessibleName(chkAddExtra->text());
    chkDelMissing = new QCheckBox(QStringLiteral("Delete Missing Entries"), fraMergeDatabase);
    chkDelMissing->setObjectName(QStringLiteral("chkDelMissing"));
    chkDelMissing->setToolTip(QStringLiteral("Deletes any entries in the current database that "
                                             "are not found in the newly selected database."));
    chkDelMissing->setAccessibleName(chkDelMissing->text());
    auto *cmdMergeDatabase = new QPushButton(QStringLiteral("Merge Database"), fraMergeDatabase);
    cmdMergeDatabase->setObjectName(QStringLiteral("cmdMergeDatabase"));
    cmdMergeDatabase->setAccessibleName(QStringLiteral("Merge Database"));
    auto *exit = new ClickableImage(QStringLiteral("MergeExitImage"), QStringLiteral("Close"),
                                    fraMergeDatabase);
    row->addWidget(chkAddExtra);
    row->addWidget(chkDelMissing);
    row->addWidget(cmdMergeDatabase);
    row->addWidget(exit);
    connect(cmdMergeDatabase, &QPushButton::clicked, this, &MainWindow::cmdMergeDatabase_Click);
    connect(exit, &QToolButton::clicked, this, &MainWindow::MergeExitImage_Click);
    fraMergeDatabase->hide();
    return fraMergeDatabase;
}

QGroupBox *MainWindow::buildBulkFrame() {
    QGroupBox *box = frame("fraBulk", QStringLiteral("Bulk Validate"), nullptr);
    auto *grid = new QGridLayout(box);
    txtSerialStart = new QLineEdit(box);
    txtSerialStart->setObjectName(QStringLiteral("txtSerialStart"));
    txtSerialStart->setAccessibleName(QStringLiteral("Start Serial Number"));
    guardLineEdit(txtSerialStart, userdb::FieldKind::SerialNumber, 8, m_dialogs);
    txtNumberFill = new QLineEdit(box);
    txtNumberFill->setObjectName(QStringLiteral("txtNumberFill"));
    txtNumberFill->setAccessibleName(QStringLiteral("Number of Remlets"));
    auto *cmdBulk = new QPushButton(QStringLiteral("Bulk Validate"), box);
    cmdBulk->setObjectName(QStringLiteral("cmdBulk"));
    cmdBulk->setAccessibleName(QStringLiteral("Bulk Validate"));
    grid->addWidget(new QLabel(QStringLiteral("Start Serial Number"), box), 0, 0);
    grid->addWidget(txtSerialStart, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Number of Remlets"), box), 1, 0);
    grid->addWidget(txtNumberFill, 1, 1);
    grid->addWidget(cmdBulk, 2, 1);
    connect(cmdBulk, &QPushButton::clicked, this, &MainWindow::cmdBulk_Click);
    return box;
}

QGroupBox *MainWindow::buildDeviceSelector() {
    // The device selector is never shown; the Read and Program handlers set it.
    fraBurnFile = frame("fraBurnFile", QString(), m_mainColumn);
    auto *row = new QHBoxLayout(fraBurnFile);
    optBurnRX = option("optBurnRX", QStringLiteral("Receiver"), QString(), fraBurnFile);
    optBurnTag = option("optBurnTag", QStringLiteral("Tag"), QString(), fraBurnFile);
    optBurnRX->setChecked(true);
    row->addWidget(optBurnRX);
    row->addWidget(optBurnTag);
    fraBurnFile->hide();
    return fraBurnFile;
}

void MainWindow::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    placeBulkFrame();
}

void MainWindow::placeBulkFrame() {
    const int width = m_mainColumn->minimumWidth();
    m_mainColumn->setGeometry(0, 0, width, centralWidget()->height());
    fraBulk->adjustSize();
    fraBulk->move(width + 8, 8);
}

// ---- command surface ----

void MainWindow::setToolbarPositionVisible(int position, bool visible) {
    toolbarPosition(position)->setVisible(visible);
}

void MainWindow::setMenuVisible(const QString &name, bool visible) {
    if (QAction *action = m_menus.value(name))
        action->setVisible(visible);
}

bool MainWindow::isMenuVisible(const QString &name) const {
    QAction *action = m_menus.value(name);
    return action && action->isVisible();
}

void MainWindow::setFrameVisible(const QString &name, bool visible) {
    if (name == QLatin1String("fraTXUsers"))
        fraTXUsers->setVisible(visible);
}

void MainWindow::resetTitle() {
    setWindowTitle(BaseTitle);
}

void MainWindow::setDatabaseTitle(const QString &fileName) {
    setWindowTitle(BaseTitle + QStringLiteral(" - ") + fileName);
}

bool MainWindow::isDatabaseOpen() const {
    return isMenuVisible(QStringLiteral("mnuSaveDatabase"));
}

// ---- programmer view ----

void MainWindow::setStatusText(const QString &text) {
    m_panels[0]->setText(text);
}

QString MainWindow::statusText() const {
    return m_panels[0]->text();
}

void MainWindow::setReplyText(const QString &text) {
    lblEnableRX->setText(text);
}

void MainWindow::showProgress(int minimum, int maximum) {
    prbDownload->setRange(minimum, maximum);
    prbDownload->setValue(minimum);
    prbDownload->show();
}

void MainWindow::setProgress(int value) {
    prbDownload->setValue(value);
}

void MainWindow::hideProgress() {
    prbDownload->hide();
}

void MainWindow::showSerialBeingWritten(const QString &serial) {
    Text1->setText(serial);
}

// ---- dispatch, failures, start-up and shutdown ----

void MainWindow::reportFailure(const QString &text) {
    m_dialogs.message(text, proglink::ApplicationTitle, platform::MessageIcon::Critical);
}

void MainWindow::runCommand(Command command) {
    try {
        switch (command) {
        case Command::None:
            break;
        case Command::NewDatabase:
            mnuNewDatabase_Click();
            break;
        case Command::LoadDatabase:
            mnuLoadDatabase_Click();
            break;
        case Command::SaveDatabase:
            mnuSaveDatabase_Click();
            break;
        case Command::SaveDatabaseAs:
            mnuSaveDatabaseAs_Click();
            break;
        case Command::CloseDatabase:
            mnuCloseDatabase_Click();
            break;
        case Command::SortDatabase:
            mnuSortDatabase_Click();
            break;
        case Command::MergeDatabase:
            mnuMergeDatabase_Click();
            break;
        case Command::ReadReceiver:
            mnuReadReceiver_Click();
            break;
        case Command::ReadTag:
            mnuReadTag_Click();
            break;
        case Command::ProgramReceiver:
            mnuProgramReceiver_Click();
            break;
        case Command::ProgramTag:
            mnuProgramTag_Click();
            break;
        case Command::CopyTagToReceiver:
            mnuCopyfromTagtoReceiver_Click();
            break;
        case Command::CopyReceiverToTag:
            mnuCopyfromReceivertoTag_Click();
            break;
        case Command::ClearReceiver:
            mnuClearReceiver_Click();
            break;
        case Command::ClearTag:
            mnuClearTag_Click();
            break;
        case Command::EnableInternalReceiver:
            mnuEnableRX_Click();
            break;
        case Command::DisableInternalReceiver:
            mnuDisableRX_Click();
            break;
        case Command::FindProgrammer:
            mnuFindRemletManager_Click();
            break;
        case Command::About:
            mnuAbout_Click();
            break;
        }
    } catch (const std::exception &failure) {
        // A port the system refuses or another program holds: the command stops where it
        // failed, the user is told why, and the window goes on.
        reportFailure(QString::fromLocal8Bit(failure.what()));
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
    if (m_about)
        m_about->close();
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
