#include "app/panels/sortpanel.h"

#include "ui_sortpanel.h"
#include "userdb/recordstore.h"

namespace app {

SortPanel::SortPanel(QWidget *parent)
    : QGroupBox(parent)
    , ui(std::make_unique<Ui::SortPanel>()) {
    ui->setupUi(this);
    connect(ui->cmdSortNow, &QPushButton::clicked, this, &SortPanel::sortClicked);
    connect(ui->imgSortExit, &QToolButton::clicked, this, &SortPanel::closeClicked);
}

SortPanel::~SortPanel() = default;

int SortPanel::selectedColumn() const {
    const std::pair<QRadioButton *, int> options[] = {
        {ui->optSerialNumber, userdb::SerialNumber},
        {ui->optSurname, userdb::Surname},
        {ui->optOtherNames, userdb::OtherNames},
        {ui->optAddress1, userdb::Address1},
        {ui->optAddress2, userdb::Address2},
        {ui->optSuburb, userdb::Suburb},
        {ui->optState, userdb::State},
        {ui->optPostcode, userdb::PostCode},
        {ui->optOtherDetail1, userdb::OtherDetail1},
        {ui->optOtherDetail2, userdb::OtherDetail2},
    };
    for (const auto &[option, column] : options)
        if (option->isChecked())
            return column;
    return userdb::Surname;
}

} // namespace app
