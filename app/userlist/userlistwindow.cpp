#include "app/userlist/userlistwindow.h"

#include "app/toolwindows/escapecloses.h"
#include "app/toolwindows/livelabel.h"
#include "app/toolwindows/toolwindowplacer.h"
#include "app/userlist/userlistfilter.h"
#include "app/userlist/userlistmodel.h"
#include "ui_userlistwindow.h"
#include "userdb/recordstore.h"

#include <QKeyEvent>

namespace app {

namespace {

// Text as wide as a typical entry of each column; the header title may ask for more.
QString typicalText(int column) {
    switch (column) {
    case UserListModel::SlotColumn:
        return QStringLiteral("40950");
    case userdb::SerialNumber:
        return QStringLiteral("DDDDDDDD");
    case userdb::Surname:
        return QStringLiteral("Fitzgerald-Smythe");
    case userdb::OtherNames:
        return QStringLiteral("Anne Marie Louise");
    case userdb::Address1:
        return QStringLiteral("Unit 123, 12 Harbour Street");
    case userdb::Address2:
    case userdb::Suburb:
        return QStringLiteral("Williamstown North");
    case userdb::Telephone:
    case userdb::Mobile:
        return QStringLiteral("+61 3 9397 1234");
    case userdb::OtherDetail1:
    case userdb::OtherDetail2:
        return QStringLiteral("Car park B, bay 123, level 2");
    case UserListModel::NoteColumn:
        return QStringLiteral("Same serial as slots 103, 117, 140");
    default:
        return {};
    }
}

} // namespace

UserListWindow::UserListWindow(const userdb::OpenDatabase &database, QWidget *parent)
    : QDialog(parent, Qt::Window)
    , m_ui(std::make_unique<Ui::UserListWindow>())
    , m_model(new UserListModel(database, this))
    , m_filter(new UserListFilter(*m_model, this))
    , m_placer(new ToolWindowPlacer(*this, placeKey()))
    , m_escape(new EscapeCloses(*this)) {
    m_ui->setupUi(this);
    makeLiveLabel(*m_ui->statusLabel, QStringLiteral("Users shown"));
    nameClearButton(*m_ui->findEdit, QStringLiteral("Clear the find box"));
    QTableView *view = m_ui->usersView;
    view->setModel(m_filter);
    view->horizontalHeader()->setSortIndicator(UserListModel::SlotColumn, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    sizeColumns();

    connect(m_ui->findEdit, &QLineEdit::textChanged, m_filter, &UserListFilter::setFindText);
    connect(m_ui->findEdit, &QLineEdit::returnPressed, this, &UserListWindow::moveToTable);
    m_ui->findEdit->installEventFilter(this);
    connect(m_ui->duplicatesOnlyBox, &QCheckBox::toggled, this,
            &UserListWindow::showDuplicatesOnly);
    connect(view, &QAbstractItemView::clicked, this, &UserListWindow::chooseRow);
    connect(view, &QAbstractItemView::activated, this, &UserListWindow::chooseRow);

    // The count of rows shown changes with the filter and with the database.
    for (QAbstractItemModel *model : {static_cast<QAbstractItemModel *>(m_model),
                                      static_cast<QAbstractItemModel *>(m_filter)}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &UserListWindow::followShownRows);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &UserListWindow::followShownRows);
        connect(model, &QAbstractItemModel::modelReset, this, &UserListWindow::followShownRows);
        connect(model, &QAbstractItemModel::layoutChanged, this, &UserListWindow::followShownRows);
    }
    followShownRows();
}

UserListWindow::~UserListWindow() {
    // The models are children too and may still signal while the children are deleted, after
    // the form is gone.
    disconnect(m_model, nullptr, this, nullptr);
    disconnect(m_filter, nullptr, this, nullptr);
}

void UserListWindow::sizeColumns() {
    const QFontMetrics metrics = m_ui->usersView->fontMetrics();
    QHeaderView *header = m_ui->usersView->horizontalHeader();
    const int padding = 2 * metrics.averageCharWidth();
    for (int column = 0; column < UserListModel::ColumnCount; ++column)
        header->resizeSection(column,
                              std::max(header->sectionSizeHint(column),
                                       metrics.horizontalAdvance(typicalText(column)) + padding));
    // One line of text per row, a little padding: as many users on screen as will fit.
    QHeaderView *rows = m_ui->usersView->verticalHeader();
    const int rowHeight = metrics.height() + metrics.height() / 3;
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
}

QString UserListWindow::placeKey() {
    return QStringLiteral("toolWindows/userList");
}

void UserListWindow::setPlacementAnchor(QWidget *mainWindow, QWidget *keepVisible) {
    m_placer->setAnchor(mainWindow, keepVisible);
}

void UserListWindow::setEarlierEscapeRule(std::function<bool()> rule) {
    m_escape->setEarlierRule(std::move(rule));
}

void UserListWindow::open() {
    if (isMinimized())
        showNormal();
    if (!isVisible())
        m_placer->placeBeforeShowing();
    show();
    raise();
    activateWindow();
}

void UserListWindow::openForFind() {
    open();
    m_ui->findEdit->setFocus(Qt::ShortcutFocusReason);
    m_ui->findEdit->selectAll();
}

void UserListWindow::showDuplicatesOnly(bool on) {
    m_filter->setDuplicatesOnly(on);
    // The slots that share a serial, side by side.
    if (on)
        m_ui->usersView->sortByColumn(userdb::SerialNumber, Qt::AscendingOrder);
}

void UserListWindow::chooseRow(const QModelIndex &index) {
    if (index.isValid())
        emit slotChosen(m_filter->slotAt(index.row()));
}

void UserListWindow::moveToTable() {
    m_ui->usersView->setFocus(Qt::TabFocusReason);
}

bool UserListWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_ui->findEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down) {
        moveToTable();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void UserListWindow::followShownRows() {
    const int total = m_model->rowCount();
    setLiveText(*m_ui->statusLabel,
                QStringLiteral("%1 of %2 %3")
                    .arg(m_filter->rowCount())
                    .arg(total)
                    .arg(total == 1 ? QStringLiteral("user") : QStringLiteral("users")));
    // A row is always current while any is shown, so Enter in the table has one to choose.
    QTableView *view = m_ui->usersView;
    if (!view->currentIndex().isValid() && m_filter->rowCount() > 0)
        view->selectionModel()->setCurrentIndex(
            m_filter->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace app
