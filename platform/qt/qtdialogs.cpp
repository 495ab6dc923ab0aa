#include "platform/qt/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace platform {

namespace {

// A box without a caption of its own shows the application title.
const QString applicationTitle = QStringLiteral("RemletManager");

const QString initialFolder = QStringLiteral("app.path");

} // namespace

void QtDialogs::message(const QString &text, const QString &caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    caption.isEmpty() ? applicationTitle : caption, text, QMessageBox::Ok,
                    m_parent.data());
    box.exec();
}

void QtDialogs::beep() {
    QApplication::beep();
}

void QtFileDialog::configure(QFileDialog &dialog, Mode mode) const {
    dialog.setWindowTitle(QStringLiteral("File Open"));
    dialog.setNameFilter(QStringLiteral("Remlet Manager Files (*.fxd)"));
    dialog.setDefaultSuffix(QStringLiteral("fxd"));
    if (mode == Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before replacing a file
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    const QDir folder(initialFolder);
    if (folder.exists())
        dialog.setDirectory(folder.absolutePath());
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName);
}

bool QtFileDialog::show(Mode mode) {
    QFileDialog dialog(m_parent.data());
    configure(dialog, mode);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen.first();
    return true;
}

bool QtFileDialog::showOpen() {
    return show(Mode::Open);
}

bool QtFileDialog::showSave() {
    return show(Mode::Save);
}

} // namespace platform
