// Files from outside the window: a file named on the command line, a database file dropped on
// the window, and the File menu's recent list. Each opens as Load Database does.
#include "app/commandtable.h"
#include "app/mainwindow.h"
#include "app/outside/databasedrop.h"
#include "app/outside/recentfiles.h"
#include "app/programmer/programmersession.h"
#include "ui_mainwindow.h"

#include <QDir>

namespace app {

void MainWindow::wireFilesFromOutside() {
    connect(new DatabaseDrop(*this), &DatabaseDrop::databaseDropped, this, &MainWindow::openFile);
    ui->mnuOpenRecent->setToolTipsVisible(true);
    connect(ui->mnuOpenRecent, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    fillRecentMenu();
}

bool MainWindow::openFile(const QString &path) {
    // The same way in as Load Database's, from its row of the command table.
    if (!mayGoOn(rowOf(Command::LoadDatabase)->effect))
        return false;
    bool opened = false;
    try {
        opened = loadDatabase(path);
    } catch (const std::exception &failure) {
        reportFailure(QString::fromLocal8Bit(failure.what()));
    }
    updateToolStates();
    return opened;
}

void MainWindow::fillRecentMenu() {
    QMenu *menu = ui->mnuOpenRecent;
    menu->clear();
    const QStringList paths = recentFiles();
    const QFontMetrics metrics = menu->fontMetrics();
    for (int i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        const QString native = QDir::toNativeSeparators(path);
        // "&1" to "&8": a digit picks the file; the path is cut in its middle when long.
        QString shown =
            metrics.elidedText(native, Qt::ElideMiddle, 60 * metrics.averageCharWidth());
        QAction *item = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            shown.replace(QLatin1Char('&'), QLatin1String("&&"))));
        item->setObjectName(QStringLiteral("mnuRecentFile%1").arg(i + 1));
        item->setToolTip(native);
        connect(item, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    if (!paths.isEmpty())
        menu->addSeparator();
    QAction *clear = menu->addAction(QStringLiteral("&Clear List"));
    clear->setObjectName(QStringLiteral("mnuClearRecentFiles"));
    clear->setEnabled(!paths.isEmpty());
    // The items go when the menu is next shown, not while one of them is being run.
    connect(clear, &QAction::triggered, this, &clearRecentFiles);
}

} // namespace app
