#include "app/compare/comparisonwindow.h"

#include "app/compare/differencesmodel.h"
#include "ui_comparisonwindow.h"

#include <QHeaderView>
#include <QScreen>
#include <QShortcut>

namespace app {

ComparisonWindow::ComparisonWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::ComparisonWindow>())
    , m_model(new DifferencesModel(this)) {
    ui->setupUi(this);
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
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

ComparisonWindow::~ComparisonWindow() = default;

void ComparisonWindow::setComparison(const QList<proglink::SlotDifference> &differences,
                                     proglink::Device device) {
    m_model->setDifferences(differences);
    ui->lblSummary->setText(proglink::comparisonSummary(differences.size(), device));
    if (m_model->rowCount() > 0)
        ui->tblDifferences->setCurrentIndex(m_model->index(0, DifferencesModel::Slot));
}

void ComparisonWindow::showComparison(const QList<proglink::SlotDifference> &differences,
                                      proglink::Device device) {
    setComparison(differences, device);
    if (!isVisible())
        fitToScreen();
    show();
    raise();
    activateWindow();
    ui->tblDifferences->setFocus();
}

void ComparisonWindow::choose(const QModelIndex &index) {
    if (index.isValid())
        emit slotChosen(m_model->difference(index.row()).slot);
}

// The form's size, but never larger than the screen it opens on (a small screen, a large
// scale factor).
void ComparisonWindow::fitToScreen() {
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (screen)
        resize(size().boundedTo(screen->availableGeometry().size() * 9 / 10));
}

} // namespace app
