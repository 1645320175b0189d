// The lines of the tool commands and the checks of the tool entries.

#include "tools/toolinputcheck.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestToolCommands : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void entryChecks_data();
    void entryChecks();
};

void TestToolCommands::lines_data()
{
    QTest::addColumn<ToolButton>("button");
    QTest::addColumn<QString>("entry"); // the step entry, or "code value"
    QTest::addColumn<QString>("line");  // empty: no line
    using B = ToolButton;
    const std::tuple<const char *, B, QString, QString> rows[] = {
        {"arm forwards", B::ArmForwards, u"50"_s, u"#,0001,0050,0000"_s},
        {"2.5 to even", B::ArmBackwards, u"2.5"_s, u"#,0002,0002,0000"_s},
        {"3.5 to even", B::PaperForwards, u"3.5"_s, u"#,0003,0004,0000"_s},
        {"0.4", B::PaperBackwards, u"0.4"_s, u"#,0007,0000,0000"_s},
        {"five digits", B::PaperForwards, u"12345"_s, u"#,0003,12345,0000"_s},
        {"arm to start", B::ArmToStart, QString(), u"#,0004,0000,0000"_s},
        {"arm to center", B::ArmToCenter, QString(), u"#,0005,0000,0000"_s},
        {"punch", B::ActivatePunch, QString(), u"#,0006,0000,0000"_s},
        {"show settings", B::ShowSettings, QString(), u"#,0020,0000,0000"_s},
        {"command", B::SendCommand, u"3 25"_s, u"#,0003,0025,0000"_s},
        {"command without value", B::SendCommand, u"3 x"_s, QString()},
    };
    for (const auto &[name, button, entry, line] : rows)
        QTest::newRow(name) << button << entry << line;
}

void TestToolCommands::lines()
{
    QFETCH(ToolButton, button);
    QFETCH(QString, entry);
    QFETCH(QString, line);
    ToolEntries entries{entry, entry, entry, entry.section(u' ', 0, 0), entry.section(u' ', 1)};
    QCOMPARE(toolCommandLine(button, entries).value_or(QString()), line);
}

void TestToolCommands::entryChecks_data()
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

void TestToolCommands::entryChecks()
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

QTEST_APPLESS_MAIN(TestToolCommands)
#include "tst_toolcommands.moc"
