#pragma once

#include <QDialog>

namespace platform {
class Dialogs;
class SystemInfoHost;
} // namespace platform

namespace app {

// The About box: title, version and the button that starts the system-information tool.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(platform::Dialogs &dialogs, platform::SystemInfoHost &systemInfo, QWidget *parent);

    static QString versionText();
    void cmdSysInfo_Click() { StartSysInfo(); }
    void StartSysInfo();

private:
    platform::Dialogs &m_dialogs;
    platform::SystemInfoHost &m_systemInfo;
};

} // namespace app
