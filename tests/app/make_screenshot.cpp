// Paints the main window as a person sees it after start-up with the programmer connected
// and a database open, into the PNG named on the command line (the README's screenshot).
// With --dark it paints the window on a dark palette, to check that everything stays legible.
#include "appharness.h"

#include "app/editor/fieldinput.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    if (argc > 2 && QByteArray(argv[2]) == "--dark") {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(0x38, 0x38, 0x38));
        dark.setColor(QPalette::ButtonText, Qt::white);
        dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }
    AppHarness h(1);
    h.w().startUp();
    h.w().runCommand(app::Command::NewDatabase);
    const QStringList surnames{"Nguyen", "Papadopoulos", "Smith", "O'Connor", "Rossi"};
    for (int slot = 1; slot <= surnames.size(); ++slot) {
        userdb::OpenDatabase &store = h.w().database();
        store.setCell(slot, userdb::SerialNumber,
                      QStringLiteral("%1").arg(0x3F2A10 + slot, 8, 16, QLatin1Char('0')).toUpper());
        store.setCell(slot, userdb::Surname, surnames.at(slot - 1));
    }
    h.w().database().setCell(1, userdb::OtherNames, QStringLiteral("Linh"));
    h.w().database().setCell(1, userdb::Address1, QStringLiteral("12 Harbour Street"));
    h.w().database().setCell(1, userdb::Suburb, QStringLiteral("Carlton"));
    h.w().database().setCell(1, userdb::State, QStringLiteral("VIC"));
    h.w().database().setCell(1, userdb::PostCode, QStringLiteral("3053"));
    h.w().database().setCell(1, userdb::Mobile, QStringLiteral("0400 123 456"));
    h.child<app::AddressEdit>("txtDatabaseAddress")
        ->setAddressText(QStringLiteral("Harbour View Apartments\nCar park gates"));
    h.w().hscSlot_Change(1);
    h.w().show();
    QApplication::processEvents();
    return h.w().grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
