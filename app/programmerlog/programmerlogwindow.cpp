#include "app/programmerlog/programmerlogwindow.h"

#include "app/programmerlog/trafficlogmodel.h"
#include "link/trafficlog.h"
#include "platform/dialogs.h"
#include "ui_programmerlogwindow.h"

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QShortcut>

namespace app {

ProgrammerLogWindow::ProgrammerLogWindow(proglink::TrafficLog &log,
                                         platform::DocumentDialogs &documents,
                                         platform::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::ProgrammerLogWindow>())
    , m_log(log)
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_model(new TrafficLogModel(log, this)) {
    ui->setupUi(this);
    QTableView *table = ui->tblLog;
    table->setModel(m_model);
    table->horizontalHeader()->setSectionResizeMode(TrafficLogModel::Time,
                                                    QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(TrafficLogModel::Direction,
                                                    QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    // Rows of one height: a 20,000-row log must not measure every row.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().lineSpacing() + 4);

    // A view at the newest row stays there as rows come; one scrolled back stays put.
    QScrollBar *scroll = table->verticalScrollBar();
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this, scroll] { m_atEnd = scroll->value() == scroll->maximum(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ProgrammerLogWindow::followNewRows);
    connect(ui->cmdSave, &QPushButton::clicked, this, &ProgrammerLogWindow::saveLog);
    connect(ui->cmdClear, &QPushButton::clicked, this, [this] {
        m_log.clear();
        ui->lblStatus->clear();
    });
    connect(ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

ProgrammerLogWindow::~ProgrammerLogWindow() = default;

void ProgrammerLogWindow::open() {
    show();
    raise();
    activateWindow();
    ui->tblLog->scrollToBottom();
    ui->tblLog->setFocus();
}

void ProgrammerLogWindow::followNewRows() {
    if (m_atEnd && isVisible())
        ui->tblLog->scrollToBottom();
}

void ProgrammerLogWindow::saveLog() {
    const QString path =
        m_documents.chooseSave(QStringLiteral("Save Log"), QStringLiteral("Text files (*.txt)"),
                               QDir::home().filePath(QStringLiteral("programmer-log.txt")));
    if (path.isEmpty())
        return;
    if (const QString error = proglink::saveTrafficLog(m_log, path); !error.isEmpty()) {
        m_dialogs.message(error, platform::ApplicationTitle, platform::MessageIcon::Critical);
        return;
    }
    ui->lblStatus->setText(
        QStringLiteral("Saved the log to %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace app
