#pragma once

#include "common/intent.h"
#include "link/linklamps.h"

#include <QList>
#include <QObject>

#include <functional>

class QWidget;

namespace velmora {

class CommEvents;
class JobControlsPanel;
class Lamp;
class PortController;
class SettingsPanel;
struct PortResolution;

// The serial link in the window: the port choices and "force on" boxes of
// the settings panel, the device the chosen port leads to, "Open port", the
// link's lamps in both places, and the keys "c" and "r". The choices and
// boxes act while the window allows settings to change; a box or list
// changed otherwise goes back to the value the program holds.
class LinkPresenter : public QObject
{
    Q_OBJECT
public:
    // The keys "c" and "r" act in window.
    LinkPresenter(PortController &port, LinkLamps &lamps, CommEvents &events,
                  SettingsPanel &settings, JobControlsPanel &controls, const IntentGate &gate,
                  QWidget &window);

    // "Open port", when the window allows it: opens the port, then asks for
    // the status display to be rebuilt.
    void openPortRequested();

    // Shows the device the chosen port name leads to.
    void showDevice();

    // The text lblDevice shows for a port name's resolution.
    static QString deviceText(const PortResolution &resolution);

    // The keys "c" and "r" act unless this widget, holding the keyboard
    // focus, takes typed text.
    static bool keysActWith(const QWidget *focus);

signals:
    // "Open port" has run its open; the status display is to be rebuilt.
    void statusRefreshNeeded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs a change of the settings panel when the window allows it, and
    // otherwise shows the choices and boxes as they are again.
    void changeSetting(const std::function<void()> &change);
    void showChoices();
    void showLamp(LinkLamp lamp, LampColor color);
    QList<Lamp *> lampsOf(LinkLamp lamp) const;

    PortController &m_port;
    CommEvents &m_events;
    SettingsPanel &m_settings;
    JobControlsPanel &m_controls;
    const IntentGate &m_gate;
    QWidget &m_window;
};

} // namespace velmora
