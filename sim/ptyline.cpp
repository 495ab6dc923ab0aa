#include "sim/ptyline.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
QString systemError(const char *what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}
} // namespace

PtyLine::~PtyLine() {
    hangUp();
}

QString PtyLine::open() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return systemError("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return systemError("grantpt/unlockpt");
    const char *name = ptsname(m_master);
    if (!name)
        return systemError("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return systemError("open slave");
    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0)
        return systemError("tcgetattr");
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    settings.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0)
        return systemError("tcsetattr");
    return {};
}

void PtyLine::hangUp() {
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

} // namespace sim
