#include "link/portcontroller.h"

#include "common/numbers.h"
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/logbook.h"
#include "platform/serialport.h"

using namespace Qt::StringLiterals;

namespace velmora {

QStringList PortController::portChoiceTexts()
{
    return {u"COM1"_s, u"COM2"_s, u"COM3"_s, u"COM4"_s, u"COM5"_s, u"COM6"_s};
}

QStringList PortController::baudChoiceTexts()
{
    return {u"300"_s,  u"600"_s,   u"1200"_s,  u"2400"_s,  u"4800"_s,
            u"9600"_s, u"19200"_s, u"38400"_s, u"57600"_s, u"115200"_s};
}

QStringList PortController::parityChoiceTexts()
{
    return {u"None"_s, u"Even"_s, u"Odd"_s};
}

QStringList PortController::parityChoiceCaptions()
{
    return {tr("None"), tr("Even"), tr("Odd")};
}

QStringList PortController::dataBitChoiceTexts()
{
    return {u"7"_s, u"8"_s};
}

QStringList PortController::stopBitChoiceTexts()
{
    return {u"1"_s, u"2"_s};
}

QString PortController::entry(const QStringList &texts, int position)
{
    return position >= 0 && position < texts.size() ? texts[position] : QString();
}

QString PortController::buildPortSettings(const PortChoices &choices)
{
    const QString baud = entry(baudChoiceTexts(), choices.baud);
    const QString parity = entry(parityChoiceTexts(), choices.parity).left(1);
    const QString dataBits = entry(dataBitChoiceTexts(), choices.dataBits);
    const QString stopBits = entry(stopBitChoiceTexts(), choices.stopBits);
    if (baud.isEmpty() || parity.isEmpty() || dataBits.isEmpty() || stopBits.isEmpty())
        return {};
    return baud + u',' + parity + u',' + dataBits + u',' + stopBits;
}

PortController::PortController(SerialPort &port, Logbook &log, LinkLamps &lamps, CommEvents &events,
                               bool &formLoading, PortLocator locator, QObject *parent)
    : QObject(parent), m_port(port), m_log(log), m_lamps(lamps), m_events(events),
      m_formLoading(formLoading), m_locator(std::move(locator))
{
    connect(&port, &SerialPort::vanished, this, &PortController::portVanished);
}

namespace {

// Why no settings text can be built from the choices, for the log.
QString missingChoice(const PortChoices &choices)
{
    if (PortController::entry(PortController::baudChoiceTexts(), choices.baud).isEmpty())
        return u"No baud rate is chosen"_s;
    if (PortController::entry(PortController::parityChoiceTexts(), choices.parity).isEmpty())
        return u"No parity is chosen"_s;
    if (PortController::entry(PortController::dataBitChoiceTexts(), choices.dataBits).isEmpty())
        return u"No number of data bits is chosen"_s;
    return u"No number of stop bits is chosen"_s;
}

} // namespace

void PortController::openPort()
{
    m_portOpen = false;
    if (m_port.isOpen()) {
        m_port.close();
        logClosed();
    }

    const QString settings = buildPortSettings(m_choices);
    const int number = m_choices.port + 1;
    const bool portChosen = number >= 1 && number <= PortMap::PortCount;
    if (portChosen)
        m_commPort = number;
    applyOutgoingLines();

    OpenResult result;
    if (!portChosen) {
        result = {PortError::BadSettings, u"No port is chosen"_s};
    } else if (settings.isEmpty()) {
        result = {PortError::BadSettings, missingChoice(m_choices)};
    } else {
        const PortResolution where = resolvePort(m_commPort);
        result = where.ok() ? m_port.open(where.device, settings)
                            : OpenResult{PortError::NotFound, where.problem};
    }

    if (result.ok()) {
        emit portOpened();
        m_log.writeLog(portName() + u": Open at "_s + settings);
        m_lamps.set(LinkLamp::Open, LampColors::PortOpen);
        m_events.takeCts(m_port.cts());
        m_portOpen = true;
    } else {
        m_lamps.set(LinkLamp::Open, LampColors::PortClosed);
        m_events.takeCts(false);
        if (result.error == PortError::InUse)
            m_log.writeLog(portName() + u"Cannot be opened, already in use"_s);
        else
            m_log.writeLog(portName() + u"Open error:"_s + numberText(result.error));
        if (!result.text.isEmpty())
            m_log.writeLog(result.text);
    }
    emit portStateChanged(m_portOpen);
}

void PortController::closePort()
{
    if (m_port.isOpen())
        markClosed(QString());
}

void PortController::portVanished(const QString &reason)
{
    // The port is closed already; the rest is as closePort leaves it.
    markClosed(reason);
    emit portLost();
}

// The port's lines down, the port closed and logged (with the reason it went,
// when it vanished), and no readiness shown: nothing can be sent to it.
void PortController::markClosed(const QString &reason)
{
    m_port.setDtr(false);
    m_lamps.setLine(LinkLamp::Dtr, false);
    m_port.setRts(false);
    m_lamps.setLine(LinkLamp::Rts, false);
    if (m_port.isOpen())
        m_port.close();
    logClosed();
    if (!reason.isEmpty())
        m_log.writeLog(reason);
    m_lamps.set(LinkLamp::Open, LampColors::PortClosed);
    m_events.takeCts(false);
    m_portOpen = false;
    emit portStateChanged(false);
}

void PortController::openPortAtStart()
{
    if (m_formLoading)
        return;
    openPort();
}

void PortController::applyStandardValues()
{
    const bool wasLoading = m_formLoading;
    m_formLoading = true;
    const PortChoices standard = PortChoices::standard();
    choosePort(standard.port);
    chooseBaud(standard.baud);
    chooseDataBits(standard.dataBits);
    chooseStopBits(standard.stopBits);
    chooseParity(standard.parity);
    m_formLoading = wasLoading;
}

void PortController::choiceClicked(int PortChoices::*member, int position)
{
    if (m_choices.*member != position) {
        m_choices.*member = position;
        emit choicesChanged();
    }
    if (!m_formLoading)
        closePort();
}

void PortController::choosePort(int position)
{
    choiceClicked(&PortChoices::port, position);
}

void PortController::chooseBaud(int position)
{
    choiceClicked(&PortChoices::baud, position);
}

void PortController::chooseParity(int position)
{
    choiceClicked(&PortChoices::parity, position);
}

void PortController::chooseDataBits(int position)
{
    choiceClicked(&PortChoices::dataBits, position);
}

void PortController::chooseStopBits(int position)
{
    choiceClicked(&PortChoices::stopBits, position);
}

void PortController::setForceDtr(bool checked)
{
    m_port.setDtr(checked);
    m_lamps.setLine(LinkLamp::Dtr, checked);
    if (m_forceDtr != checked) {
        m_forceDtr = checked;
        emit choicesChanged();
    }
}

void PortController::setForceRts(bool checked)
{
    m_port.setRts(checked);
    m_lamps.setLine(LinkLamp::Rts, checked);
    if (m_forceRts != checked) {
        m_forceRts = checked;
        emit choicesChanged();
    }
}

PortResolution PortController::resolvePort(int port) const
{
    const PortMap map = PortMap::load(m_locator.settingsDir + PortMap::fileName());
    return map.resolve(port,
                       m_locator.presentPorts ? m_locator.presentPorts() : QList<PresentPort>());
}

void PortController::applyOutgoingLines()
{
    m_port.setDtr(m_forceDtr);
    m_lamps.setLine(LinkLamp::Dtr, m_forceDtr);
    m_port.setRts(m_forceRts);
    m_lamps.setLine(LinkLamp::Rts, m_forceRts);
}

void PortController::logClosed()
{
    m_log.writeLog(portName() + u": Closed"_s);
}

QString PortController::portName() const
{
    return u"COM"_s + numberText(m_commPort);
}

} // namespace velmora
