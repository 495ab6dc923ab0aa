#include "app/programmerport/programmerportdialog.h"

#include "app/programmerport/portlistmodel.h"
#include "app/programmerport/portsetting.h"
#include "platform/portcatalog.h"
#include "ui_programmerportdialog.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>

namespace app {

ProgrammerPortDialog::ProgrammerPortDialog(platform::PortCatalog &catalog, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::ProgrammerPortDialog>())
    , m_catalog(catalog)
    , m_model(new PortListModel(this)) {
    ui->setupUi(this);
    QTableView *table = ui->tblPorts;
    table->setModel(m_model);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ProgrammerPortDialog::rowChosen);
    connect(ui->txtDevicePath, &QLineEdit::textEdited, this, &ProgrammerPortDialog::pathTyped);
    connect(ui->cmdRefresh, &QPushButton::clicked, this, &ProgrammerPortDialog::refresh);

    const QString configured = catalog.environmentPorts();
    ui->lblEnvironment->setVisible(!configured.isEmpty());
    ui->lblEnvironment->setText(
        QStringLiteral("REMLET_PORTS is set (%1): the ports it names are scanned, whatever is "
                       "chosen here. A choice made here applies once it is unset.")
            .arg(configured));
    ui->txtDevicePath->setText(catalog.pinnedPath());
    refresh();
}

ProgrammerPortDialog::~ProgrammerPortDialog() = default;

QString ProgrammerPortDialog::chosenPath() const {
    return ui->txtDevicePath->text().trimmed();
}

void ProgrammerPortDialog::refresh() {
    m_model->setPorts(m_catalog.ports());
    pathTyped(ui->txtDevicePath->text());
}

void ProgrammerPortDialog::rowChosen(const QModelIndex &index) {
    if (index.isValid())
        ui->txtDevicePath->setText(m_model->pathAt(index.row()));
}

void ProgrammerPortDialog::pathTyped(const QString &text) {
    const QString path = text.trimmed();
    const int row = m_model->rowOf(path);
    QItemSelectionModel *selection = ui->tblPorts->selectionModel();
    if (row < 0)
        selection->clear();
    else
        selection->setCurrentIndex(m_model->index(row, PortListModel::Port),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // A path that is not there yet is a fair choice: the programmer may be plugged in later.
    ui->lblPathNote->setText(!path.isEmpty() && !QFileInfo::exists(path)
                                 ? QStringLiteral("%1 does not exist now: it is used once it "
                                                  "appears.")
                                       .arg(path)
                                 : QString());
}

void ProgrammerPortDialog::accept() {
    const QString path = chosenPath();
    m_catalog.pinPath(path);
    savePinnedPort(path);
    QDialog::accept();
    emit portChosen(path);
}

} // namespace app
