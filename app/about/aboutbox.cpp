#include "app/about/aboutbox.h"

#include "link/linkcontext.h"
#include "platform/dialogs.h"
#include "platform/systeminfo.h"
#include "ui_aboutbox.h"

namespace app {

QString AboutBox::versionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(REMLET_VERSION_MAJOR)
        .arg(REMLET_VERSION_MINOR)
        .arg(REMLET_VERSION_PATCH);
}

AboutBox::AboutBox(platform::Dialogs &dialogs, platform::SystemInfoHost &systemInfo,
                   QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AboutBox>())
    , m_dialogs(dialogs)
    , m_systemInfo(systemInfo) {
    ui->setupUi(this);
    // Form_Load: the caption, the title and the version.
    const QString title = platform::ApplicationTitle;
    setWindowTitle(QStringLiteral("About ") + title);
    ui->lblTitle->setText(title);
    ui->lblVersion->setText(versionText());
    // Drawn from the SVG at the screen's scale, so it stays sharp on a HiDPI screen.
    ui->Image2->setPixmap(QIcon(QStringLiteral(":/icons/product.svg")).pixmap(QSize(64, 64)));
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
}

AboutBox::~AboutBox() = default;

void AboutBox::StartSysInfo() {
    using platform::SystemInfoHost;
    QString path;
    if (m_systemInfo.getKeyValue(SystemInfoHost::HKEY_LOCAL_MACHINE_ROOT,
                                 QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                 QStringLiteral("PATH"), path)) {
        // A path from the first key is started as it stands.
        if (m_systemInfo.startProgram(path))
            return;
    } else if (m_systemInfo.getKeyValue(
                   SystemInfoHost::HKEY_LOCAL_MACHINE_ROOT,
                   QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                   QStringLiteral("MSINFO"), path)) {
        path += QStringLiteral("\\MSINFO32.EXE");
        if (m_systemInfo.fileExists(path) && m_systemInfo.startProgram(path))
            return;
    }
    m_dialogs.message(QStringLiteral("System Information Is Unavailable At This Time"),
                      platform::ApplicationTitle, platform::MessageIcon::None);
}

} // namespace app
