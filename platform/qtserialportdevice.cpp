#include "platform/qtserialportdevice.h"

#include <QFile>
#include <QSerialPortInfo>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

bool processHasGroup(gid_t gid)
{
    if (getegid() == gid)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[static_cast<size_t>(i)] == gid)
            return true;
    }
    return false;
}

// True when the other end of the device has hung up: a pseudo-terminal whose
// master was closed reads 0 bytes for ever instead of failing.
bool hungUp(qintptr handle)
{
    if (handle < 0)
        return false;
    pollfd probe{int(handle), POLLIN, 0};
    if (::poll(&probe, 1, 0) < 0)
        return false;
    return (probe.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Unix98 pseudo-terminal slaves have the character device majors 136 to 143.
bool isPseudoTerminal(const QString &device)
{
    struct stat info;
    if (::stat(QFile::encodeName(device).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return false;
    return major(info.st_rdev) >= 136 && major(info.st_rdev) <= 143;
}

// The parities in the order of Parity.
constexpr QSerialPort::Parity QtParities[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                              QSerialPort::OddParity, QSerialPort::MarkParity,
                                              QSerialPort::SpaceParity};

QSerialPort::Parity qtParity(Parity parity)
{
    return QtParities[std::size_t(parity)];
}

} // namespace

DeviceAccess probeDeviceAccess(const QString &device)
{
    DeviceAccess access;
    const QByteArray path = QFile::encodeName(device);
    struct stat info;
    if (::stat(path.constData(), &info) != 0)
        return access;
    access.exists = true;
    access.accessErrno = ::access(path.constData(), R_OK | W_OK) == 0 ? 0 : errno;

    const passwd *pw = getpwuid(geteuid());
    if (pw != nullptr)
        access.user = QString::fromLocal8Bit(pw->pw_name);
    const group *gr = getgrgid(info.st_gid);
    if (gr != nullptr) {
        access.group = QString::fromLocal8Bit(gr->gr_name);
        access.userListedInGroup = pw != nullptr && pw->pw_gid == info.st_gid;
        for (char **member = gr->gr_mem; member != nullptr && *member != nullptr; ++member) {
            if (pw != nullptr && std::strcmp(*member, pw->pw_name) == 0)
                access.userListedInGroup = true;
        }
    }
    access.processInGroup = processHasGroup(info.st_gid);
    return access;
}

OpenResult openFailure(QSerialPort::SerialPortError error, const QString &errorText,
                       const QString &device, const DeviceAccess &access)
{
    if (error == QSerialPort::DeviceNotFoundError || !access.exists)
        return {PortError::NotFound, device + u" does not exist"_s};

    if (error == QSerialPort::PermissionError) {
        if (access.accessErrno == 0) {
            return {PortError::InUse,
                    device + u" is in use: another program or another port has it open"_s};
        }
        if (access.accessErrno == ENOENT || access.accessErrno == ENOTDIR)
            return {PortError::NotFound, device + u" does not exist"_s};
        QString reason;
        if (access.group.isEmpty()) {
            reason = QString::fromLocal8Bit(std::strerror(access.accessErrno));
        } else if (!access.userListedInGroup) {
            reason = u"the user "_s + access.user + u" is not in the group \""_s + access.group +
                     u"\" that may use it; add the user to that group and log in again"_s;
        } else if (!access.processInGroup) {
            reason = u"the user "_s + access.user + u" was added to the group \""_s + access.group +
                     u"\" but has not logged in again since"_s;
        } else {
            reason = u"its permissions allow the group \""_s + access.group +
                     u"\" no reading and writing"_s;
        }
        return {PortError::PermissionDenied,
                u"No permission to use "_s + device + u": "_s + reason};
    }

    if (error == QSerialPort::UnsupportedOperationError)
        return {PortError::NotSerial, device + u" is not a serial device ("_s + errorText + u")"_s};

    return {PortError::Other, device + u" cannot be opened: "_s + errorText};
}

QList<PresentPort> presentSerialPorts()
{
    QList<PresentPort> ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        ports.append(PresentPort{info.systemLocation(), info.hasVendorIdentifier()});
    return ports;
}

QtSerialPortDevice::QtSerialPortDevice(QObject *parent) : SerialPort(parent)
{
    m_modemPoll.setInterval(ModemPollMs);
    connect(&m_modemPoll, &QTimer::timeout, this, [this] { pollModemLines(true); });
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPortDevice::readAvailable);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPortDevice::handleError);
}

QtSerialPortDevice::~QtSerialPortDevice()
{
    m_port.disconnect(this);
    if (m_port.isOpen())
        m_port.close();
}

OpenResult QtSerialPortDevice::openDevice(const QString &device, const LineSettings &settings)
{
    if (m_port.isOpen()) // the device vanished and its close is still on its way
        close();
    m_device = device;
    m_readFailureReported = false;
    resetLines();
    m_port.setPortName(device);

    m_opening = true;
    if (!m_port.open(QIODevice::ReadWrite)) {
        const OpenResult result =
            openFailure(m_port.error(), m_port.errorString(), device, probeDeviceAccess(device));
        m_port.clearError();
        m_opening = false;
        return result;
    }
    if (!applySettings(settings)) {
        const QString reason = m_port.errorString();
        m_port.close();
        m_port.clearError();
        m_opening = false;
        return {PortError::BadSettings, device + u" does not take the line settings "_s +
                                            settings.text() + u" ("_s + reason + u")"_s};
    }
    applyDtr();
    applyRts();
    pollModemLines(false);
    m_port.clearError();
    m_opening = false;
    if (!m_unsupported)
        m_modemPoll.start();
    return {};
}

bool QtSerialPortDevice::applySettings(const LineSettings &settings)
{
    // A pseudo-terminal has no line: it keeps 8 data bits without parity
    // whatever it is told, which is no reason to refuse the open.
    const bool pseudoTerminal = isPseudoTerminal(m_device);
    const auto applied = [this, pseudoTerminal](bool ok) {
        if (ok || !pseudoTerminal)
            return ok;
        m_port.clearError();
        return true;
    };
    return applied(m_port.setBaudRate(settings.baudRate)) &&
           applied(m_port.setDataBits(QSerialPort::DataBits(settings.dataBits))) &&
           applied(m_port.setParity(qtParity(settings.parity))) &&
           applied(m_port.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop
                                                             : QSerialPort::OneStop)) &&
           applied(m_port.setFlowControl(QSerialPort::NoFlowControl));
}

void QtSerialPortDevice::close()
{
    m_vanishing = false;
    m_modemPoll.stop();
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    resetLines();
}

void QtSerialPortDevice::setDtr(bool on)
{
    m_dtr = on;
    if (m_port.isOpen())
        applyDtr();
}

void QtSerialPortDevice::setRts(bool on)
{
    m_rts = on;
    if (m_port.isOpen())
        applyRts();
}

// A refusal (no modem lines on the device) is cleared in handleError.
void QtSerialPortDevice::applyDtr()
{
    m_port.setDataTerminalReady(m_dtr);
}

void QtSerialPortDevice::applyRts()
{
    m_port.setRequestToSend(m_rts);
}

bool QtSerialPortDevice::write(const QByteArray &bytes)
{
    if (!m_port.isOpen() || m_vanishing)
        return false;
    m_lastError.clear();
    if (m_port.write(bytes) == bytes.size())
        return true;
    // The error was reported (and cleared) from inside the write.
    const QString reason = m_lastError.isEmpty() ? m_port.errorString() : m_lastError;
    setWriteError(u"writing to "_s + m_device + u" failed ("_s + reason + u')');
    return false;
}

void QtSerialPortDevice::readAvailable()
{
    const QByteArray bytes = m_port.readAll();
    if (!bytes.isEmpty())
        emit received(bytes);
}

void QtSerialPortDevice::pollModemLines(bool notify)
{
    if (!m_port.isOpen() || m_vanishing)
        return;
    m_unsupported = false;
    const QSerialPort::PinoutSignals lines = m_port.pinoutSignals();
    if (m_unsupported) {
        // No modem lines on this device: they stay low and are not asked again.
        m_modemPoll.stop();
        return;
    }
    if (!m_port.isOpen() || m_vanishing)
        return;
    const bool cts = lines.testFlag(QSerialPort::ClearToSendSignal);
    const bool dsr = lines.testFlag(QSerialPort::DataSetReadySignal);
    const bool cd = lines.testFlag(QSerialPort::DataCarrierDetectSignal);
    const bool ring = lines.testFlag(QSerialPort::RingIndicatorSignal);
    const bool ctsChange = cts != m_cts;
    const bool dsrChange = dsr != m_dsr;
    const bool cdChange = cd != m_cd;
    const bool ringStart = ring && !m_ring;
    m_cts = cts;
    m_dsr = dsr;
    m_cd = cd;
    m_ring = ring;
    if (!notify)
        return;
    if (ctsChange)
        emit ctsChanged(cts);
    if (dsrChange && m_port.isOpen())
        emit dsrChanged(dsr);
    if (cdChange && m_port.isOpen())
        emit cdChanged(cd);
    if (ringStart && m_port.isOpen())
        emit ringDetected();
}

void QtSerialPortDevice::handleError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return;
    if (error == QSerialPort::UnsupportedOperationError) {
        // Modem-line calls on a pseudo-terminal: not an error of the link.
        m_unsupported = true;
        if (!m_opening)
            m_port.clearError();
        return;
    }
    if (m_opening || !m_port.isOpen() || m_vanishing)
        return;
    const QString text = m_port.errorString();
    m_lastError = text;
    if (error == QSerialPort::ResourceError) {
        reportVanished(text);
        return;
    }
    if ((error == QSerialPort::ReadError || error == QSerialPort::WriteError) &&
        hungUp(m_port.handle())) {
        reportVanished(u"the other end hung up"_s);
        return;
    }
    m_port.clearError();
    if (error == QSerialPort::ReadError) {
        if (m_readFailureReported)
            return;
        m_readFailureReported = true;
    }
    emit transferFailed(m_device + u": "_s + text);
}

void QtSerialPortDevice::reportVanished(const QString &reason)
{
    // QSerialPort is still inside its own notification here: the close waits
    // for the event loop.
    m_vanishing = true;
    m_modemPoll.stop();
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            if (!m_vanishing)
                return;
            m_vanishing = false;
            if (m_port.isOpen())
                m_port.close();
            m_port.clearError();
            resetLines();
            emit vanished(m_device + u" is gone ("_s + reason + u")"_s);
        },
        Qt::QueuedConnection);
}

void QtSerialPortDevice::resetLines()
{
    m_cts = m_dsr = m_cd = m_ring = false;
    m_unsupported = false;
}

} // namespace velmora
