#include "platform/filechooser.h"
#include "prt/holelist.h"
#include "prt/prtopener.h"
#include "prt/rollsummary.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

class ScriptedChooser : public FileChooser
{
public:
    FileChoice answer;
    QString askedDir;
    void choosePrtFile(const QString &startDir, std::function<void(FileChoice)> done) override
    {
        askedDir = startDir;
        done(answer);
    }
};

QByteArray holeLine(const char *keyword, int xBegin, int yPos)
{
    return QByteArray(keyword) +
           QStringLiteral(" %1 %2 %3 %4 %5 %6 %7 %8")
               .arg(xBegin, 6)
               .arg(60, 6)
               .arg(xBegin, 6)
               .arg(yPos, 6)
               .arg(45, 6)
               .arg(0, 6)
               .arg(3, 6)
               .arg(0, 6)
               .toLatin1() +
           "\r\n";
}

const QByteArray header = "NAAM        C:\\music\\waltz.mid\r\n"
                          "GAMM        D:\\scales\\organ45\r\n"
                          "BAFM          1200      0      0  98765      0\r\n";

} // namespace

class TestPrtOpener : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void verdicts_data();
    void verdicts();
    void summaryOfAcceptedRoll();
    void fillPattern_data();
    void fillPattern();
    void cancelKeepsEverything();
    void dialogFailure();
    void nonPrtNameIsRefusedVisibly();
    void unreadableFile();

private:
    QString write(const QString &name, const QByteArray &content);
    void openOk();

    QTemporaryDir m_dir;
    HoleList m_holes;
    ScriptedChooser m_chooser;
};

void TestPrtOpener::init()
{
    m_holes.clear();
    m_chooser = ScriptedChooser();
}

QString TestPrtOpener::write(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    file.write(content);
    return path;
}

void TestPrtOpener::verdicts_data()
{
    const QString hint =
        QStringLiteral("\r\n\r\nCheck if file is created corectly by Arpenta.\r\n");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");
    QTest::newRow("no NTYP") << header + holeLine("PONS", 10, 100) << false
                             << QStringLiteral("PRT-file has no valid NTYPE (P, A, S or C).") +
                                    hint;
    QTest::newRow("NTYPE X") << header + "NTYP        X\r\n" + holeLine("PONS", 10, 100) << false
                             << QStringLiteral("PRT-file has no valid NTYPE (P, A, S or C).") +
                                    hint;
    QTest::newRow("S with PONS only")
        << header + "NTYP        S\r\n" + holeLine("PONS", 10, 100) << false
        << QStringLiteral("PRT-file has NTYPE S but does not have NOOT-statements.") + hint;
    QTest::newRow("P with NOOT only")
        << header + "NTYP        P\r\n" + holeLine("NOOT", 10, 100) << false
        << QStringLiteral("PRT-file has NTYPE P but does not have PONS-statements.") + hint;
    QTest::newRow("no holes") << header + "NTYP        P\r\n"
                              << false
                              << QStringLiteral("PRT-file has NTYPE P but does not have "
                                                "PONS-statements.") +
                                     hint;
    QTest::newRow("zero paper width")
        << QByteArray("NTYP        A\r\nBAFM             0\r\n") + holeLine("PONS", 1, 1) << false
        << QStringLiteral("PRT-file has a paper width of 0 (BAFM record).\r\n\r\n"
                          "The roll cannot be shown or punched.\r\n");
    QTest::newRow("NTYP last, accepted") << header + holeLine("PONS", 10, 100) + "NTYP        A\r\n"
                                         << true << QString();
}

void TestPrtOpener::verdicts()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, accepted);
    QFETCH(QString, text);
    m_chooser.answer = {FileChoice::Chosen, write(QStringLiteral("roll.prt"), content), {}};
    PrtOpener opener(m_holes, m_chooser);
    QSignalSpy reset(&opener, &PrtOpener::nextNoteReset);
    QSignalSpy changed(&opener, &PrtOpener::rollChanged);
    opener.OpenPrtFile();
    QCOMPARE(opener.fileLoaded(), accepted);
    QCOMPARE(opener.labelTone(), accepted ? LabelTone::Summary : LabelTone::Refusal);
    if (!accepted)
        QCOMPARE(opener.labelText(), text);
    QCOMPARE(reset.size(), accepted ? 1 : 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), accepted);
}

void TestPrtOpener::summaryOfAcceptedRoll()
{
    QByteArray content = header + "NTYP        p\r\n";
    for (int i = 1; i <= 7; ++i)
        content += holeLine("PONS", i * 10, 100);
    m_chooser.answer = {FileChoice::Chosen, write(QStringLiteral("WALTZ.PRT"), content), {}};
    PrtOpener opener(m_holes, m_chooser);
    opener.OpenPrtFile();
    QVERIFY(opener.fileLoaded());
    QCOMPARE(opener.labelText(), QStringLiteral("waltz\r\n"
                                                "Gamma:    organ45  -  NTYPE   P\r\n"
                                                "Paper width: 120,0 mm\r\n"
                                                "Roll length:    9,87 m\r\n"
                                                "Holes to punch: 7\r\n"));
    QCOMPARE(opener.prtDir(), QDir(m_dir.path()).absolutePath());
}

void TestPrtOpener::fillPattern_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1200") << QStringLiteral("1200") << QStringLiteral("@@@,@")
                          << QStringLiteral("120,0");
    QTest::newRow("35") << QStringLiteral("35") << QStringLiteral("@@@,@")
                        << QStringLiteral("  3,5");
    QTest::newRow("1234 m") << QStringLiteral("1234") << QStringLiteral("@@@@,@@")
                            << QStringLiteral("  12,34");
    QTest::newRow("overflow in front")
        << QStringLiteral("1234567") << QStringLiteral("@@@,@") << QStringLiteral("123456,7");
    QTest::newRow("empty") << QString() << QStringLiteral("@@@,@") << QStringLiteral("   , ");
}

void TestPrtOpener::fillPattern()
{
    QFETCH(QString, number);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(FillPattern(number, pattern), expected);
}

void TestPrtOpener::openOk()
{
    m_chooser.answer = {
        FileChoice::Chosen,
        write(QStringLiteral("ok.prt"), header + "NTYP        P\r\n" + holeLine("PONS", 5, 50)),
        {}};
}

void TestPrtOpener::cancelKeepsEverything()
{
    openOk();
    PrtOpener opener(m_holes, m_chooser);
    opener.OpenPrtFile();
    const QString summary = opener.labelText();
    m_chooser.answer = {FileChoice::Cancelled, {}, {}};
    QSignalSpy label(&opener, &PrtOpener::labelChanged);
    QSignalSpy changed(&opener, &PrtOpener::rollChanged);
    opener.OpenPrtFile();
    QCOMPARE(m_chooser.askedDir, QDir(m_dir.path()).absolutePath());
    QVERIFY(opener.fileLoaded());
    QCOMPARE(opener.labelText(), summary);
    QCOMPARE(m_holes.holeCount(), 1);
    QCOMPARE(label.size(), 0);
    QCOMPARE(changed.size(), 0);
}

void TestPrtOpener::dialogFailure()
{
    m_chooser.answer = {FileChoice::Failed, {}, QStringLiteral("no dialog")};
    PrtOpener opener(m_holes, m_chooser);
    QSignalSpy reset(&opener, &PrtOpener::nextNoteReset);
    QSignalSpy changed(&opener, &PrtOpener::rollChanged);
    opener.OpenPrtFile();
    QCOMPARE(opener.labelText(), QStringLiteral("Error during opening file"));
    QCOMPARE(opener.labelTone(), LabelTone::Refusal);
    QCOMPARE(reset.size(), 1);
    QCOMPARE(changed.size(), 0);
}

void TestPrtOpener::nonPrtNameIsRefusedVisibly()
{
    openOk();
    PrtOpener opener(m_holes, m_chooser);
    opener.OpenPrtFile();
    m_chooser.answer = {
        FileChoice::Chosen,
        write(QStringLiteral("roll.txt"), header + "NTYP        P\r\n" + holeLine("PONS", 5, 50)),
        {}};
    opener.OpenPrtFile();
    QVERIFY(!opener.fileLoaded());
    QCOMPARE(opener.labelTone(), LabelTone::Refusal);
    QVERIFY(opener.labelText().startsWith(QStringLiteral("The file name does not end in .PRT.")));
}

void TestPrtOpener::unreadableFile()
{
    m_chooser.answer = {FileChoice::Chosen, m_dir.filePath(QStringLiteral("gone.prt")), {}};
    PrtOpener opener(m_holes, m_chooser);
    opener.OpenPrtFile();
    QVERIFY(!opener.fileLoaded());
    QCOMPARE(opener.labelTone(), LabelTone::Refusal);
    QVERIFY(opener.labelText().startsWith(QStringLiteral("Error during opening file\r\n")));
}

QTEST_GUILESS_MAIN(TestPrtOpener)
#include "tst_prtopener.moc"
