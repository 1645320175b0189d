#include "app/appcore.h"

namespace velmora {

AppCore::AppCore(const AppServices &services_, QObject *parent)
    : QObject(parent), services(services_), opener(holes, services.chooser), composer(holes)
{
    connect(&formats, &FormatTable::currentFormatChanged, this,
            [this] { composer.setFormat(formats.currentFormat()); });
    connect(&opener, &PrtOpener::nextNoteReset, this, [this] { nextNote.setPlain(1); });
}

void AppCore::startUp()
{
    formLoading = true;
    composer.setXCalibration(1000.0f);
    composer.setYCalibration(1000.0f);
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
    return false;
}

bool AppCore::jobRunning() const
{
    return false;
}

} // namespace velmora
