#include "app/compare/comparisonwindow.h"

#include "app/compare/differencesmodel.h"
#include "app/toolwindows/escapecloses.h"
#include "app/toolwindows/livelabel.h"
#include "app/toolwindows/toolwindowplacer.h"
#include "ui_comparisonwindow.h"

#include <QHeaderView>

namespace app {

ComparisonWindow::ComparisonWindow(QWidget *parent)
    : QDialog(parent, Qt::Window)
    , ui(std::make_unique<Ui::ComparisonWindow>())
    , m_model(new DifferencesModel(this))
    , m_placer(new ToolWindowPlacer(*this, placeKey()))
    , m_escape(new EscapeCloses(*this)) {
    ui->setupUi(this);
    makeLiveLabel(*ui->lblSummary, QStringLiteral("Comparison summary"));
    QTableView *table = ui->tblDifferences;
    table->setModel(m_model);
    // The slot number as narrow as it can be, the four values sharing the rest evenly.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(DifferencesModel::Slot,
                                                    QHeaderView::ResizeToContents);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().lineSpacing() + 8);
    // A click chooses a row at once; activated covers Enter and double-click.
    connect(ui->tblDifferences, &QAbstractItemView::clicked, this, &ComparisonWindow::choose);
    connect(ui->tblDifferences, &QAbstractItemView::activated, this, &ComparisonWindow::choose);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

ComparisonWindow::~ComparisonWindow() = default;

QString ComparisonWindow::placeKey() {
    return QStringLiteral("toolWindows/comparison");
}

void ComparisonWindow::setPlacementAnchor(QWidget *mainWindow, QWidget *keepVisible) {
    m_placer->setAnchor(mainWindow, keepVisible);
}

void ComparisonWindow::setEarlierEscapeRule(std::function<bool()> rule) {
    m_escape->setEarlierRule(std::move(rule));
}

void ComparisonWindow::setComparison(const QList<proglink::SlotDifference> &differences,
                                     proglink::Device device) {
    m_model->setDifferences(differences);
    setLiveText(*ui->lblSummary, proglink::comparisonSummary(differences.size(), device));
    if (m_model->rowCount() > 0)
        ui->tblDifferences->setCurrentIndex(m_model->index(0, DifferencesModel::Slot));
}

void ComparisonWindow::showComparison(const QList<proglink::SlotDifference> &differences,
                                      proglink::Device device) {
    setComparison(differences, device);
    if (isMinimized())
        showNormal();
    if (!isVisible())
        m_placer->placeBeforeShowing();
    show();
    raise();
    activateWindow();
    ui->tblDifferences->setFocus();
}

void ComparisonWindow::choose(const QModelIndex &index) {
    if (index.isValid())
        emit slotChosen(m_model->difference(index.row()).slot);
}

} // namespace app
