#include "punchsim/pseudoterminal.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

QString systemError(const char *what)
{
    return QString::fromLatin1(what) + u": "_s + QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PseudoTerminal::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = systemError("grantpt/unlockpt");
        return false;
    }
    const char *name = ::ptsname(m_master);
    if (name == nullptr) {
        *error = systemError("ptsname");
        return false;
    }
    m_devicePath = QFile::decodeName(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = systemError("open of the slave device");
        return false;
    }
    termios raw{};
    if (::tcgetattr(m_slave, &raw) != 0) {
        *error = systemError("tcgetattr");
        return false;
    }
    ::cfmakeraw(&raw);
    raw.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    raw.c_cflag |= CLOCAL | CREAD;
    if (::tcsetattr(m_slave, TCSANOW, &raw) != 0) {
        *error = systemError("tcsetattr");
        return false;
    }
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        *error = systemError("fcntl");
        return false;
    }
    return true;
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got > 0) {
            bytes.append(buffer, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read
    }
    return bytes;
}

bool PseudoTerminal::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put =
            ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (put > 0) {
            done += put;
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace velmora
