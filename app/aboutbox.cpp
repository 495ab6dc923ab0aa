#include "app/aboutbox.h"

#include "link/linkcontext.h"
#include "platform/dialogs.h"
#include "platform/systeminfo.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace {
QFrame *separatorLine(QWidget *parent) {
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

QString AboutBox::versionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(REMLET_VERSION_MAJOR)
        .arg(REMLET_VERSION_MINOR)
        .arg(REMLET_VERSION_PATCH);
}

AboutBox::AboutBox(platform::Dialogs &dialogs, platform::SystemInfoHost &systemInfo,
                   QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_systemInfo(systemInfo) {
    const QString title = proglink::ApplicationTitle;
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + title);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image2"));
    // Drawn from the SVG at the screen's pixel ratio, so it stays sharp when scaled.
    image->setPixmap(QIcon(QStringLiteral(":/icons/product.svg")).pixmap(QSize(64, 64)));
    image->setAccessibleName(QStringLiteral("Product picture"));

    auto *lblTitle = new QLabel(title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto *lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *lblDescription = new QLabel(
        QStringLiteral("For news, updates and support, visit the Corvane Systems web site."), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    auto *lblDisclaimer = new QLabel(
        QStringLiteral("Warning: this computer program is protected by copyright law. "
                       "Unauthorised reproduction or distribution of this program, or any "
                       "portion of it, may result in severe civil and criminal penalties."),
        this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);

    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    cmdOK->setDefault(true);
    auto *cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAccessibleName(QStringLiteral("System Info..."));

    auto *top = new QHBoxLayout;
    top->addWidget(image, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblDisclaimer, 1);
    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(cmdOK);
    buttonColumn->addWidget(cmdSysInfo);
    buttons->addLayout(buttonColumn);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(separatorLine(this));
    layout->addWidget(separatorLine(this));
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
}

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
                      proglink::ApplicationTitle, platform::MessageIcon::None);
}

} // namespace app
