#pragma once

#include <QDialog>

#include <memory>

namespace platform {
class Dialogs;
class SystemInfoHost;
} // namespace platform

namespace Ui {
class AboutBox;
}

namespace app {

// The About box: title, version and the button that starts the system-information tool.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(platform::Dialogs &dialogs, platform::SystemInfoHost &systemInfo, QWidget *parent);
    ~AboutBox() override;

    static QString versionText();
    void cmdSysInfo_Click() { StartSysInfo(); }
    void StartSysInfo();

private:
    std::unique_ptr<Ui::AboutBox> ui;
    platform::Dialogs &m_dialogs;
    platform::SystemInfoHost &m_systemInfo;
};

} // namespace app
