#pragma once

#include "extras/extrasettings.h"

#include <QStringList>
#include <QTranslator>

#include <memory>
#include <vector>

namespace velmora {

// The languages the window speaks. English is the window's own text; Dutch
// comes from velmora_nl.qm.
enum class WindowLanguage
{
    English,
    Dutch
};

// The window's language: the setting of velmora.ini, or for "system" the
// desktop's first language of its user interface (QLocale::uiLanguages()):
// Dutch for any Dutch ("nl", "nl-BE", ...), English for every other.
WindowLanguage windowLanguage(UiLanguage setting, const QStringList &systemUiLanguages);

// The translations of the window in use while it lives: Velmora's own
// (velmora_nl.qm beside the program, or in share/velmora/ when installed) and
// Qt's for its own dialogs and buttons (qtbase_nl.qm in Qt's translations
// folder). Install before the window is made: captions are set as it is built.
// Log lines, the parameter file, velmora.ini and the command lines sent are
// never translated.
class Translations
{
public:
    Translations();
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // English needs nothing. For Dutch, the files that could not be loaded,
    // Velmora's own first; empty when all are in use.
    QStringList install(WindowLanguage language, const QString &appDir);
    // Back to English.
    void remove();

private:
    std::vector<std::unique_ptr<QTranslator>> m_installed;
};

} // namespace velmora
