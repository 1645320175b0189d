#pragma once

#include "link/linklamps.h"

#include <QList>
#include <QObject>

class MainWindow;
class QWidget;

namespace velmora {

class AppCore;
class Lamp;
struct PortResolution;

// The serial link in the window: the port choices and "force on" boxes of
// the settings panel, the device the chosen port leads to, "Open port", the
// link's lamps in both places, Start following the port, and the keys "c"
// and "r".
class LinkPresenter : public QObject
{
    Q_OBJECT
public:
    LinkPresenter(AppCore &core, MainWindow &window);

    // "Open port": opens the port unless a job runs, then asks for the status
    // display to be rebuilt.
    void cmdOpenport_Click();

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
    // cmdOpenport_Click has run its open; the status display is to be rebuilt.
    void statusRefreshNeeded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showChoices();
    void showLamp(LinkLamp lamp, LampColor color);
    QList<Lamp *> lampsOf(LinkLamp lamp) const;

    AppCore &m_core;
    MainWindow &m_window;
};

} // namespace velmora
