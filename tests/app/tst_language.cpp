#include "app/filedialogchooser.h"
#include "app/language.h"
#include "app/mainwindow.h"
#include "extras/extrasettingsdialog.h"
#include "job/jobcontrolspanel.h"
#include "settings/settingspanel.h"
#include "tests/support/apprig.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// Captions that are the same in Dutch, and names that are no words of either
// language. Texts without a letter (numbers, "# ,") and port names need no
// entry.
const QStringList SameInDutch =
    u"Start|Stop|OK|  Help|Status|Arm|Baud|Databits|Stopbits|Even|Dummy|Nederlands|"
    "English|CTS|DSR|CD|RI|DTR|RTS|Xon|Xoff|Zelvoor|X-begin|keynum|X-end|Y-pos|"
    "keywidth|X-next|tracknum|Zelvoor2 (tweezijdig transport)|"
    "$ , Y-pos(4) , X-next(4) , 0000"_s.split(u'|');

bool needsNoTranslation(const QString &text)
{
    static const QRegularExpression technical(u"^(COM\\d|[^A-Za-z]*)$"_s);
    return SameInDutch.contains(text) || technical.match(text).hasMatch();
}

// Every text a user reads in the program's windows, by the object it is on:
// window titles, frame titles, captions, list entries, table headings,
// tooltips, accessible names and menu entries.
QList<std::pair<QString, QString>> textsOf(QWidget &window)
{
    QList<std::pair<QString, QString>> texts;
    auto add = [&](const QObject *object, const QString &what, const QString &text) {
        if (!text.isEmpty())
            texts.append({object->objectName() + u'.' + what, text});
    };
    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets.prepend(&window);
    for (const QWidget *w : std::as_const(widgets)) {
        if (w->isWindow())
            add(w, u"title"_s, w->windowTitle());
        if (const auto *frame = qobject_cast<const QGroupBox *>(w))
            add(w, u"frame"_s, frame->title());
        if (const auto *label = qobject_cast<const QLabel *>(w))
            add(w, u"text"_s, label->text());
        if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            add(w, u"text"_s, button->text());
        if (const auto *list = qobject_cast<const QComboBox *>(w)) {
            for (int i = 0; i < list->count(); ++i)
                add(w, u"entry"_s + QString::number(i), list->itemText(i));
        }
        if (const auto *table = qobject_cast<const QTableView *>(w)) {
            for (int i = 0; i < table->model()->columnCount(); ++i)
                add(w, u"heading"_s + QString::number(i),
                    table->model()->headerData(i, Qt::Horizontal).toString());
        }
        add(w, u"tooltip"_s, w->toolTip());
        add(w, u"accessible"_s, w->accessibleName());
    }
    for (const QAction *action : window.findChildren<QAction *>())
        add(action, u"entry"_s, action->text());
    return texts;
}

// The program with a sample roll open, the settings panel and both extra
// windows shown, so that every panel's captions are there to read.
struct ShownRig
{
    ShownRig()
    {
        rig.open(samplePath("koraal-52.prt"));
        rig.app.window.mnuSet()->trigger();
        rig.app.window.mnuHistory()->trigger();
        rig.app.window.mnuExtraSettings()->trigger();
    }
    AppRig rig;
};

} // namespace

// The window's language: chosen from velmora.ini and the desktop, every
// caption in Dutch where Dutch has a word, Qt's own texts in Dutch too, and
// English as it always was.
class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void chosen_data()
    {
        QTest::addColumn<UiLanguage>("setting");
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<WindowLanguage>("expected");
        const auto nl = WindowLanguage::Dutch;
        const auto en = WindowLanguage::English;
        QTest::newRow("Dutch desktop") << UiLanguage::System << QStringList{u"nl-NL"_s} << nl;
        QTest::newRow("Flemish desktop") << UiLanguage::System << QStringList{u"nl-BE"_s} << nl;
        QTest::newRow("English desktop")
            << UiLanguage::System << QStringList{u"en-GB"_s, u"nl-NL"_s} << en;
        QTest::newRow("German desktop") << UiLanguage::System << QStringList{u"de-DE"_s} << en;
        QTest::newRow("C locale") << UiLanguage::System << QStringList{u"C"_s} << en;
        QTest::newRow("no language") << UiLanguage::System << QStringList{} << en;
        QTest::newRow("nl over English") << UiLanguage::Dutch << QStringList{u"en-US"_s} << nl;
        QTest::newRow("en over Dutch") << UiLanguage::English << QStringList{u"nl-NL"_s} << en;
    }
    void chosen()
    {
        QFETCH(UiLanguage, setting);
        QFETCH(QStringList, desktop);
        QTEST(windowLanguage(setting, desktop), "expected");
    }

    // The test runs under LC_ALL=C: the desktop's language is English and
    // nothing is translated.
    void englishUnderC()
    {
        const WindowLanguage language =
            windowLanguage(UiLanguage::System, QLocale::system().uiLanguages());
        QCOMPARE(language, WindowLanguage::English);
        Translations translations;
        QVERIFY(translations.install(language, QStringLiteral(VELMORA_BUILD_APP_DIR)).isEmpty());
        ShownRig shown;
        MainWindow &window = shown.rig.app.window;
        QCOMPARE(window.windowTitle(),
                 u"Velmora - Punch control program for serial port      version 3.5"_s);
        QCOMPARE(window.settingsPanel()->parityChoice->itemText(0), u"None"_s);
    }

    // Each text of the window and its dialogs in Dutch next to the same text
    // in English: none is left English where Dutch has a word of its own, and
    // what a screen reader names a control by follows its Dutch caption.
    void dutchWhereDutchHasAWord()
    {
        const QList<std::pair<QString, QString>> english = [] {
            ShownRig shown;
            return textsOf(shown.rig.app.window);
        }();
        Translations translations;
        QCOMPARE(translations.install(WindowLanguage::Dutch, QStringLiteral(VELMORA_BUILD_APP_DIR)),
                 QStringList());
        ShownRig shown;
        const QList<std::pair<QString, QString>> dutch = textsOf(shown.rig.app.window);
        QCOMPARE(dutch.size(), english.size());
        QStringList untranslated;
        for (qsizetype i = 0; i < dutch.size(); ++i) {
            QCOMPARE(dutch[i].first, english[i].first);
            if (dutch[i].second == english[i].second && !needsNoTranslation(dutch[i].second))
                untranslated << dutch[i].first + u'=' + dutch[i].second;
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u'\n')));
        QVERIFY(dutch.size() > 200);

        for (auto *button : shown.rig.app.window.findChildren<QAbstractButton *>()) {
            if (!button->accessibleName().isEmpty())
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
            QCOMPARE(accessible->text(QAccessible::Name), button->text());
        }
        QCOMPARE(shown.rig.app.window.controlsPanel()->lblOpened->text(),
                 u"Koraal Nun danket alle Gott (Crüger)\nGamma:    Concert52  -  NTYPE   S\n"
                 u"Papierbreedte: 250,0 mm\nRollengte:    1,72 m\nTe ponsen gaten: 136\n"_s);
    }

    // Qt's own dialogs and buttons speak Dutch with the window.
    void qtInDutch()
    {
        Translations translations;
        translations.install(WindowLanguage::Dutch, QStringLiteral(VELMORA_BUILD_APP_DIR));
        const QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                   QDialogButtonBox::Close);
        QStringList buttons;
        for (const QAbstractButton *button : box.buttons())
            buttons << button->text();
        buttons.sort();
        QCOMPARE(buttons, QStringList({u"Annuleren"_s, u"OK"_s, u"Sluiten"_s}));

        ShownRig shown;
        FileDialogChooser chooser(&shown.rig.app.window);
        chooser.choosePrtFile(QDir::tempPath(), [](const FileChoice &) {});
        auto *dialog = shown.rig.app.window.findChild<QFileDialog *>(u"dlgFile"_s);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), u"PRT-bestand openen"_s);
        QCOMPARE(dialog->nameFilters(), QStringList{u"PRT-bestanden (*.prt *.PRT)"_s});
        QStringList captions;
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            captions << button->text();
        QVERIFY2(captions.contains(u"Annuleren"_s), qPrintable(captions.join(u", "_s)));
        dialog->reject();
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
