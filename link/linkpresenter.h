#pragma once

#include "link/linklamps.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace velmora {

class CommEvents;
class JobControlsPanel;
class Lamp;
class PortController;
class PunchJob;
class SettingsPanel;
struct PortResolution;

// The serial link in the window: the port choices and "force on" boxes of
// the settings panel, the device the chosen port leads to, "Open port", the
// link's lamps in both places, Start following the port, and the keys "c"
// and "r".
class LinkPresenter : public QObject
{
    Q_OBJECT
public:
    // The keys "c" and "r" act in window. startAllowed: whether Start may be
    // offered (the port open, a roll loaded, no job running).
    LinkPresenter(PortController &port, LinkLamps &lamps, CommEvents &events, const PunchJob &job,
                  SettingsPanel &settings, JobControlsPanel &controls, QAction *settingsMenu,
                  std::function<bool()> startAllowed, QWidget &window);

    // "Open port": opens the port unless a job runs, then asks for the status
    // display to be rebuilt.
    void openPortRequested();

    // Start is enabled with the port open and a roll loaded, and never while
    // a job runs.
    void updateStartEnabled();

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
    void showChoices();
    void showLamp(LinkLamp lamp, LampColor color);
    QList<Lamp *> lampsOf(LinkLamp lamp) const;

    PortController &m_port;
    CommEvents &m_events;
    const PunchJob &m_job;
    SettingsPanel &m_settings;
    JobControlsPanel &m_controls;
    std::function<bool()> m_startAllowed;
    QWidget &m_window;
};

} // namespace velmora
