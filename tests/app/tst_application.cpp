#include "app/application.h"
#include "job/jobcontrolspanel.h"
#include "roll/rollgeometry.h"
#include "roll/rollview.h"
#include "tests/support/apprig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

// The window wired to the program: the file label, the preview, the next
// note and the log.
class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_rig = std::make_unique<AppRig>();
        m_controls = m_rig->app.window.controlsPanel();
        m_rig->app.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_rig->app.window));
    }
    void cleanup() { m_rig.reset(); }

    void startUpState()
    {
        QVERIFY(!m_rig->port.isOpen());
        const RollView *view = m_rig->app.window.rollView();
        QCOMPARE(view->shapes(),
                 emptyRollShapes(view->innerSize().width(), view->innerSize().height()));
    }

    void opening_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("accepted") << samplePath("wals-in-g-45.prt") << QColor(200, 200, 200);
        QTest::newRow("refused, after an accepted roll")
            << QStringLiteral(VELMORA_SOURCE_DIR "/README.prt") << QColor(0, 255, 255);
    }

    void opening()
    {
        QFETCH(QString, path);
        QFETCH(QColor, colour);
        const bool accepted = colour == QColor(200, 200, 200);
        m_rig->open(samplePath("wals-in-g-45.prt"));
        m_rig->open(path);
        QCOMPARE(m_rig->app.core.opener.fileLoaded(), accepted);
        // The label shows the opener's text with its line ends as the platform's.
        QLabel *label = m_controls->lblOpened;
        QCOMPARE(label->text(), m_rig->app.core.opener.labelText().replace(u"\r\n"_s, u"\n"_s));
        QVERIFY(label->text().startsWith(accepted ? u"Wals in G\n"_s : u"Error"_s));
        QCOMPARE(label->palette().color(QPalette::Window), colour);
        QCOMPARE(m_rig->app.window.rollView()->shapes().size() > 1, accepted);
        QCOMPARE(m_controls->txtNextNote->text(), u"1"_s);
        // The port is still closed, so Start stays off.
        QVERIFY(!m_controls->cmdStart->isEnabled());
    }

    void nextNoteControls_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("step"); // 0: Enter, -1: upper arrow, +1: lower arrow
        QTest::addColumn<QString>("shown");
        QTest::newRow("enter past the end") << u"999"_s << 0 << u" 473"_s;
        QTest::newRow("up from typed") << u"3"_s << -1 << u" 4"_s;
    }

    void nextNoteControls()
    {
        QFETCH(QString, typed);
        QFETCH(int, step);
        QFETCH(QString, shown);
        m_rig->open(samplePath("wals-in-g-45.prt"));
        QLineEdit *entry = m_controls->txtNextNote;
        entry->setText(typed);
        if (step == 0) {
            entry->setFocus();
            QTest::keyClick(entry, Qt::Key_Return);
        } else {
            m_controls->vscNextNote->setValue(step);
            QCOMPARE(m_controls->vscNextNote->value(), 0);
        }
        QCOMPARE(entry->text(), shown);
        QCOMPARE(m_rig->app.core.nextNote.value(), shown.trimmed().toInt());
    }

    void logViewFollowsLog()
    {
        Logbook &log = m_rig->app.core.log;
        for (int i = 0; i < 800; ++i)
            log.writeLog(u"line %1"_s.arg(i), u"s"_s);
        QVERIFY(log.text().size() <= Logbook::Bound + 20);
        QCOMPARE(m_controls->txtLog->toPlainText(), logViewText(log.text()));
    }

    void closeWhileIdle()
    {
        QVERIFY(m_rig->app.window.close());
        QVERIFY(!m_rig->app.window.isVisible());
    }

private:
    std::unique_ptr<AppRig> m_rig;
    JobControlsPanel *m_controls = nullptr;
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
