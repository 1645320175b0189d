#pragma once

#include "link/portmap.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

class CommEvents;
class LinkLamps;
class Logbook;
class SerialPort;

// The selected positions (0-based) of the five port choice lists. A position
// outside a list's entries means nothing is selected there.
struct PortChoices
{
    // The positions the window opens with: COM1, 4800 baud, no parity, 8 data
    // bits, 1 stop bit.
    static PortChoices start() { return {0, 4, 0, 1, 0}; }
    // What "Standard values" selects: COM1, 9600,N,8,1.
    static PortChoices standard() { return {0, 5, 0, 1, 0}; }

    int port = 0;
    int baud = 4;
    int parity = 0;
    int dataBits = 1;
    int stopBits = 0;

    friend bool operator==(const PortChoices &, const PortChoices &) = default;
};

// Where the port names lead: the folder of ports.map and the ports present.
struct PortLocator
{
    QString settingsDir; // ending in "/"
    std::function<QList<PresentPort>()> presentPorts;
};

// The port's configuration and its open and closed states: the five choice
// lists, the two "force on" boxes, opening and closing with their log lines,
// and the lamps of the port state and the outgoing lines.
class PortController : public QObject
{
    Q_OBJECT
public:
    // The entries of the five lists, position 0 first.
    static QStringList portChoiceTexts();
    static QStringList baudChoiceTexts();
    static QStringList parityChoiceTexts();
    // The parity entries as the window shows them, in its language; the port
    // settings text always takes the first letter of the English entry.
    static QStringList parityChoiceCaptions();
    static QStringList dataBitChoiceTexts();
    static QStringList stopBitChoiceTexts();

    // The entry of a list at a position; empty outside the list.
    static QString entry(const QStringList &texts, int position);

    // The settings text of the selected entries, "9600,N,8,1"; empty when one
    // of the four lists has no selected entry. The port choice plays no part.
    static QString buildPortSettings(const PortChoices &choices);

    // formLoading is the program's flag that keeps the choice handlers from
    // acting while the program itself sets the choices; "Standard values"
    // raises it too.
    PortController(SerialPort &port, Logbook &log, LinkLamps &lamps, CommEvents &events,
                   bool &formLoading, PortLocator locator, QObject *parent = nullptr);

    const PortChoices &choices() const { return m_choices; }
    bool forceDtr() const { return m_forceDtr; }
    bool forceRts() const { return m_forceRts; }
    // The last openPort succeeded and the port has not been closed since.
    bool portOpen() const { return m_portOpen; }

    // (Re)opens the port with the current choices. The outcome is in
    // portOpen(), in the log and on the lamps. Whenever the port ends up
    // closed (here, by closePort or by its loss) clearToSend is cleared and
    // the CTS lamps are grey: a closed port shows no readiness.
    void openPort();
    // Closes the port when it is open; nothing happens otherwise.
    void closePort();
    // Start-up's call: it does nothing while formLoading is set.
    void openPortAtStart();

    // "Standard values": selects the standard positions without closing or
    // opening the port.
    void applyStandardValues();
    // A list's selection; closes the port unless formLoading is set.
    void choosePort(int position);
    void chooseBaud(int position);
    void chooseParity(int position);
    void chooseDataBits(int position);
    void chooseStopBits(int position);
    // "force on": DTR or RTS asserted at once and at every open.
    void setForceDtr(bool checked);
    void setForceRts(bool checked);

    // The device a port number (1 to 6) leads to now; ports.map is read anew.
    PortResolution resolvePort(int port) const;
    // The same for the selected port choice.
    PortResolution resolveChosenPort() const { return resolvePort(m_choices.port + 1); }

signals:
    // A choice or a "force on" box changed; the lists and boxes follow.
    void choicesChanged();
    // The port was opened: the tool commands may be enabled.
    void portOpened();
    // openPort or closePort has finished, or the port was lost; Start follows.
    void portStateChanged(bool portOpen);
    // The device went away while open. The port is closed as closePort closes
    // it; a running job pauses.
    void portLost();

private:
    void choiceClicked(int PortChoices::*member, int position);
    void portVanished(const QString &reason);
    void logClosed();
    void markClosed(const QString &reason);
    QString portName() const;
    void applyOutgoingLines();

    SerialPort &m_port;
    Logbook &m_log;
    LinkLamps &m_lamps;
    CommEvents &m_events;
    bool &m_formLoading;
    PortLocator m_locator;
    PortChoices m_choices = PortChoices::start();
    bool m_forceDtr = false;
    bool m_forceRts = false;
    bool m_portOpen = false;
    int m_commPort = 1;
};

} // namespace velmora
