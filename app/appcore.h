#pragma once

#include "app/remotefeed.h"
#include "app/windowstate.h"
#include "events/eventrunner.h"
#include "extras/extrasettings.h"
#include "format/formattable.h"
#include "format/holecommandcomposer.h"
#include "history/historystore.h"
#include "history/jobrecorder.h"
#include "job/jobjournal.h"
#include "job/jobprogress.h"
#include "job/punchjob.h"
#include "link/commevents.h"
#include "link/linklamps.h"
#include "link/linksender.h"
#include "link/logbook.h"
#include "link/portcontroller.h"
#include "link/portmap.h"
#include "prt/holelist.h"
#include "prt/prtopener.h"
#include "remote/remoteview.h"
#include "roll/displayoptions.h"
#include "roll/nextnotestate.h"
#include "settings/calibrationentries.h"
#include "settings/settingsstore.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora {

class Clock;
class FileChooser;
class Notifier;
class SerialPort;

// What the program gets from its surroundings: the real clock, serial port
// and file dialog in the program, fakes in tests.
struct AppServices
{
    Clock &clock;
    SerialPort &port;
    FileChooser &chooser;
    QString appDir;      // the program's folder, ending in "/"
    QString settingsDir; // the folder of the parameter file and ports.map, ending in "/"
    // The serial ports present on the machine.
    std::function<QList<PresentPort>()> presentPorts;
    // Desktop notes when a job halts on its own; none when null.
    Notifier *notifier = nullptr;
};

// The program's state and logic without any widget: one object of every
// subsystem, made and connected once. The window's panels are wired to these
// objects by the subsystems' presenters.
class AppCore : public QObject
{
    Q_OBJECT
public:
    explicit AppCore(const AppServices &services, QObject *parent = nullptr);

    // Runs the start-up steps that do not touch widgets: the built-in
    // formats, the calibration defaults, the stored settings (formLoading set
    // meanwhile), then the journal of a job that did not end.
    void startUp();
    // Keeps the settings before the program ends; whether it may end now.
    // The first time the settings cannot be written the program stays, so
    // that the operator reads why in the log; the next call tries again and
    // lets it end whatever comes of it.
    bool shutDown();

    bool portOpen() const;
    bool jobRunning() const;

    AppServices services;

    // Start-up or "Standard values" is setting controls; the port-choice
    // handlers do nothing meanwhile.
    bool formLoading = false;

    // Roll
    HoleList holes;
    PrtOpener opener;
    NextNoteState nextNote;
    DisplayOptions display;

    // Output formats
    FormatTable formats;
    HoleCommandComposer composer;

    // Log
    Logbook log;

    // Serial link (port configuration, communication events, sending)
    LinkLamps linkLamps;
    CommEvents commEvents;
    PortController portController;
    LinkSender linkSender; // the job's JobLink

    // Punch job (state machine, timing, the journal that survives a crash,
    // the progress shown)
    PunchJob job;
    JobJournal journal;
    JobProgress progress;

    // The panel shown and what the window allows
    WindowState windowState;

    // The calibration entries and the parameter file
    CalibrationEntries calibration;
    SettingsStore settings;

    // For unattended rolls: velmora.ini, the operator's commands run when a
    // job ends, and the job history, which the recorder keeps up to date.
    ExtraSettings extras;
    EventRunner events;
    JobRecorder recorder;
    HistoryStore history;

    // The remote view: off until the operator turns it on; it reads the
    // program through snapshots and changes nothing.
    JobOutcomeTracker jobOutcome;
    RemoteView remote;

private:
    void followJobs();

    bool m_keepFailed = false;
};

} // namespace velmora
