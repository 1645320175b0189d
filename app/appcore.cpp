#include "app/appcore.h"

#include "app/folders.h"

namespace velmora {

AppCore::AppCore(const AppServices &services_, QObject *parent)
    : QObject(parent), services(services_), opener(holes, services.chooser), composer(holes),
      commEvents(services.port, log, linkLamps, [this] { return nextNote.value(); }),
      portController(services.port, log, linkLamps, commEvents, formLoading,
                     {services.settingsDir, services.presentPorts}),
      linkSender(services.port, log, commEvents),
      job(services.clock, holes, composer, nextNote, log, linkSender)
{
    // The controller's "stop" ends the job; a vanished port pauses it; Start
    // greys the flow-control lamps.
    connect(&commEvents, &CommEvents::stopRequested, &job, &PunchJob::stopRequested);
    connect(&portController, &PortController::portLost, &job, &PunchJob::portLost);
    connect(&portController, &PortController::portStateChanged, &job, [this](bool open) {
        if (open)
            job.portRestored();
    });
    connect(&job, &PunchJob::flowLampsReset, &commEvents, &CommEvents::resetFlowControlLamps);
    connect(&formats, &FormatTable::currentFormatChanged, this,
            [this] { composer.setFormat(formats.currentFormat()); });
    connect(&opener, &PrtOpener::nextNoteReset, this, [this] { nextNote.setPlain(1); });
}

void AppCore::startUp()
{
    opener.setPrtDir(samplesFolder(services.appDir));
    formLoading = true;
    composer.setXCalibration(1000.0f);
    composer.setYCalibration(1000.0f);
    // Does nothing while formLoading is set: the port stays closed.
    portController.openPortAtStart();
    // The stored settings are read here. Without a stored format choice the
    // built-in "Zelvoor" is current, so no roll is punched with an unset format.
    if (formats.selectedFormat() < 0)
        formats.selectFormat(1);
    formLoading = false;
}

void AppCore::shutDown()
{
    // The parameter file is written here.
}

bool AppCore::portOpen() const
{
    return portController.portOpen();
}

bool AppCore::jobRunning() const
{
    return job.jobRunning();
}

bool AppCore::startAllowed() const
{
    return portOpen() && opener.fileLoaded() && !jobRunning();
}

} // namespace velmora
