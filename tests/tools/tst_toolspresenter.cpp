// The lines of the tool commands and the checks of the tool entries, then
// the tools panel in the whole program, with a fake port.

#include "job/jobcontrolspanel.h"
#include "roll/rollview.h"
#include "tests/support/apprig.h"
#include "tools/toolinputcheck.h"
#include "tools/toolspanel.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

const QString AllButSend = u"cmdArmForewards cmdArmBackwards cmdArmtostart cmdArmCenter "
                           "cmdpaperSteps cmdPapeprStepsBack cmdActivatePunch cmdShowSettings"_s;

class TestToolsPresenter : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_rig = std::make_unique<AppRig>(QList<PresentPort>{{u"/dev/ttyUSB7"_s, true}});
        m_tools = m_rig->app.window.toolsPanel();
    }

    // The lines of every button, with the entries as they start, are checked
    // against the simulator; here the entries that are rounded or cut.
    void lines_data()
    {
        QTest::addColumn<ToolButton>("button");
        QTest::addColumn<QString>("entry"); // the step entry, or "code value"
        QTest::addColumn<QString>("line");  // empty: no line
        using B = ToolButton;
        QTest::newRow("3.5 to even") << B::PaperForwards << u"3.5"_s << u"#,0003,0004,0000"_s;
        QTest::newRow("0.4") << B::PaperBackwards << u"0.4"_s << u"#,0007,0000,0000"_s;
        QTest::newRow("command without value") << B::SendCommand << u"3 x"_s << QString();
    }

    void lines()
    {
        QFETCH(ToolButton, button);
        QFETCH(QString, entry);
        QFETCH(QString, line);
        ToolEntries entries{entry, entry, entry, entry.section(u' ', 0, 0), entry.section(u' ', 1)};
        QCOMPARE(toolCommandLine(button, entries).value_or(QString()), line);
    }

    void entryChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const std::pair<const char *, bool> rows[] = {
            {"", false},  {"steps", false}, {"12 steps", true}, {"-5", false},
            {"0", false}, {"0.5", true},    {"31999", true},    {"32000", false},
        };
        for (const auto &[text, valid] : rows)
            QTest::newRow(*text ? text : "empty") << QString::fromLatin1(text) << valid;
    }

    void entryChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(checkStepEntry(text, true), (ToolEntryCheck{valid, valid}));
        QCOMPARE(checkStepEntry(text, false), (ToolEntryCheck{valid, false}));
        // Beside a valid command entry this one decides "Send command"; beside an
        // invalid one a valid entry leaves it as it is.
        QCOMPARE(checkCommandEntry(text, u"7"_s, true), (ToolEntryCheck{valid, valid}));
        const ToolEntryCheck besideInvalid{valid, valid ? std::nullopt : std::optional(false)};
        QCOMPARE(checkCommandEntry(text, QString(), true), besideInvalid);
        QCOMPARE(checkCommandEntry(text, u"7"_s, false), (ToolEntryCheck{valid, false}));
    }

    void showLeaveAndSend()
    {
        MainWindow &window = m_rig->app.window;
        window.show();
        window.mnuTest()->trigger();
        QCOMPARE(m_rig->app.core.log.text(), u"COM 1: Open at 4800,N,8,1\r\n"_s);
        QVERIFY(m_tools->isVisible() && valid(m_tools->txtArmBackwards));
        QCOMPARE(m_tools->txtPaperSteps->text(), u"50"_s);
        QCOMPARE(enabledButtons(), AllButSend);
        QCOMPARE(menus(), QList<bool>(4, false));
        QCOMPARE(window.rollView()->x(), m_tools->width() / 2);

        m_tools->cmdActivatePunch->click();
        QCOMPARE(m_rig->port.writes(), QList<QByteArray>{"#,0006,0000,0000\r"});
        QVERIFY(m_rig->app.core.log.text().endsWith(u"     Sent: #,0006,0000,0000^\r\n"_s));
        QCOMPARE(window.focusWidget(), window.cmdDummy());

        m_tools->txtArmForewards->setText(u"120"_s);
        m_tools->txtPaperSteps->setText(u"  "_s);
        QVERIFY(!valid(m_tools->txtPaperSteps) && !m_tools->cmdPapeprStepsBack->isEnabled());
        m_tools->cmdToolsExit->click();
        QVERIFY(!m_tools->isVisible() && m_rig->port.isOpen());
        QCOMPARE(menus(), QList<bool>(4, true));
        QCOMPARE(window.rollView()->x(), 0);

        // A second opening resets only the empty entries and keeps the open port.
        window.mnuTest()->trigger();
        QCOMPARE(m_tools->txtArmForewards->text(), u"120"_s);
        QCOMPARE(m_tools->txtPaperSteps->text(), u"50"_s);
        QCOMPARE(m_rig->app.core.log.text().count(u"Open at"_s), 1);
    }

    void portRules()
    {
        // Opening fails: valid entries, no button to send with.
        m_rig->port.failOpens(PortError::InUse);
        m_rig->app.window.mnuTest()->trigger();
        m_tools->txtVal1->setText(u"5"_s);
        QVERIFY(!m_tools->isHidden() && valid(m_tools->txtArmForewards) && valid(m_tools->txtVal1));
        QCOMPARE(enabledButtons(), QString());
        m_rig->app.tools.sendCommand(ToolButton::ActivatePunch);
        QVERIFY(m_rig->port.writes().isEmpty());

        // The next opening enables the buttons whose entries are valid.
        m_rig->port.failOpens(PortError::None);
        m_rig->app.core.portController.openPort();
        QCOMPARE(enabledButtons(), AllButSend);
        m_tools->txtVal2->setText(u"7"_s);
        QVERIFY(m_tools->cmdSubmitmanual->isEnabled());
        m_tools->txtVal1->clear();
        QVERIFY(!m_tools->cmdSubmitmanual->isEnabled());
        QVERIFY(!valid(m_tools->txtVal1) && valid(m_tools->txtVal2));
        m_rig->port.vanish();
        QCOMPARE(enabledButtons(), QString());
    }

    void menusDuringJob()
    {
        m_rig->open(samplePath("koraal-52.prt"));
        m_rig->app.core.portController.openPort();
        PunchJob &job = m_rig->app.core.job;
        job.start();
        m_rig->app.window.mnuTest()->trigger();
        job.requestStop();
        job.confirmStop();
        QCOMPARE(menus(), QList<bool>(4, false)); // the shown panel holds them after the job's end
        job.start();
        m_tools->cmdToolsExit->click();
        QCOMPARE(menus(), (QList<bool>{false, false, false, true})); // what the job allows
    }

private:
    // The enabled command buttons, by name, in the panel's order.
    QString enabledButtons() const
    {
        QStringList names;
        for (const QPushButton *button : m_tools->findChildren<QPushButton *>())
            if (button != m_tools->cmdToolsExit && button->isEnabled())
                names << button->objectName();
        return names.join(u' ');
    }
    // Which of Exit and the File, Settings and Tools menus are enabled.
    QList<bool> menus() const
    {
        const MainWindow &w = m_rig->app.window;
        return {w.controlsPanel()->cmdExit->isEnabled(), w.mnuFile()->menuAction()->isEnabled(),
                w.mnuSet()->isEnabled(), w.mnuTest()->isEnabled()};
    }
    static bool valid(const QLineEdit *entry)
    {
        return entry->palette().color(QPalette::Base) == QColor(210, 210, 210);
    }

    std::unique_ptr<AppRig> m_rig;
    ToolsPanel *m_tools = nullptr;
};

QTEST_MAIN(TestToolsPresenter)
#include "tst_toolspresenter.moc"
