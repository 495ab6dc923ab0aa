#include "platform/qt/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace platform {

namespace {

const QString initialFolder = QStringLiteral("app.path");

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton standardButton(Answer answer) {
    switch (answer) {
    case Answer::Save:
        return QMessageBox::Save;
    case Answer::Discard:
        return QMessageBox::Discard;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

} // namespace

void QtDialogs::message(const QString &text, const QString &caption, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), caption.isEmpty() ? ApplicationTitle : caption, text,
                    QMessageBox::Ok, m_parent.data());
    box.exec();
}

Answer QtDialogs::ask(const QString &text, const QString &caption, const QList<Answer> &buttons) {
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? ApplicationTitle : caption, text,
                    QMessageBox::NoButton, m_parent.data());
    for (const Answer answer : buttons)
        box.addButton(standardButton(answer));
    if (!buttons.isEmpty()) {
        box.setDefaultButton(standardButton(buttons.first()));
        box.setEscapeButton(box.button(standardButton(buttons.last())));
    }
    const int pressed = box.exec();
    for (const Answer answer : buttons)
        if (pressed == standardButton(answer))
            return answer;
    return buttons.isEmpty() ? Answer::Cancel : buttons.last();
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

QString QtDocumentDialogs::chooseOpen(const QString &title, const QString &filter) {
    return QFileDialog::getOpenFileName(m_parent.data(), title, QString(), filter);
}

QString QtDocumentDialogs::chooseSave(const QString &title, const QString &filter,
                                      const QString &proposedPath) {
    QFileDialog dialog(m_parent.data(), title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before replacing a file
    // "Spreadsheet (*.csv)" gives "csv" for a name typed without one.
    const QRegularExpressionMatch extension =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (extension.hasMatch())
        dialog.setDefaultSuffix(extension.captured(1));
    if (!proposedPath.isEmpty())
        dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool QtDocumentDialogs::print(const std::function<void(QPagedPaintDevice &)> &render) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_parent.data());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    render(printer);
    return true;
}

} // namespace platform
