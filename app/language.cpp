#include "app/language.h"

#include "app/folders.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace velmora {

WindowLanguage windowLanguage(UiLanguage setting, const QStringList &systemUiLanguages)
{
    switch (setting) {
    case UiLanguage::Dutch:
        return WindowLanguage::Dutch;
    case UiLanguage::English:
        return WindowLanguage::English;
    case UiLanguage::System:
        break;
    }
    if (systemUiLanguages.isEmpty())
        return WindowLanguage::English;
    return QLocale(systemUiLanguages.constFirst()).language() == QLocale::Dutch
               ? WindowLanguage::Dutch
               : WindowLanguage::English;
}

Translations::Translations() = default;

Translations::~Translations()
{
    remove();
}

QStringList Translations::install(WindowLanguage language, const QString &appDir)
{
    remove();
    if (language == WindowLanguage::English)
        return {};
    const QString files[] = {
        translationFile(appDir, u"velmora_nl.qm"_s),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_nl.qm"_s,
    };
    QStringList missing;
    for (const QString &file : files) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(file) && QCoreApplication::installTranslator(translator.get()))
            m_installed.push_back(std::move(translator));
        else
            missing << file;
    }
    return missing;
}

void Translations::remove()
{
    for (const auto &translator : m_installed)
        QCoreApplication::removeTranslator(translator.get());
    m_installed.clear();
}

} // namespace velmora
