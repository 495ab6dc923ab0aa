#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class ProgrammerPortDialog;
}

namespace platform {
class PortCatalog;
}

namespace app {

class PortListModel;

// The Programmer Port dialog: Automatic or one of the ports the scan numbers, with what the
// system knows of each, or a device path typed in (it need not exist yet: hot-plug waits for
// it). OK pins the choice in the port table and keeps it for the next run; Automatic returns to
// the scan. When REMLET_PORTS is set it wins, and the dialog says so.
class ProgrammerPortDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgrammerPortDialog(platform::PortCatalog &catalog, QWidget *parent = nullptr);
    ~ProgrammerPortDialog() override;

    // The device path chosen; empty: Automatic.
    QString chosenPath() const;
    // Lists the ports again (a device plugged in meanwhile).
    void refresh();

    void accept() override;

signals:
    // After OK, once the choice is pinned and saved: the caller runs discovery on it.
    void portChosen(const QString &path);

private:
    void rowChosen(const QModelIndex &index);
    void pathTyped(const QString &text);

    std::unique_ptr<Ui::ProgrammerPortDialog> ui;
    platform::PortCatalog &m_catalog;
    PortListModel *m_model;
};

} // namespace app
