#include "prt/holelist.h"
#include "prt/prtopener.h"
#include "prt/rollsummary.h"
#include "tests/support/testhelpers.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QByteArray holeLine(const char *keyword, int xBegin)
{
    return QByteArray(keyword) +
           u" %1     60 %1    100     45      0      3      0\r\n"_s.arg(xBegin, 6).toLatin1();
}

const QByteArray header = "NAAM        C:\\music\\waltz.mid\r\n"
                          "GAMM        D:\\scales\\organ45\r\n"
                          "BAFM          1200      0      0  98765      0\r\n";
const QByteArray okRoll = header + "NTYP        P\r\n" + holeLine("PONS", 5);

} // namespace

class TestPrtOpener : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void verdicts_data();
    void verdicts();
    void fillPattern_data();
    void fillPattern();
    void cancelKeepsEverything();
    void failures();

private:
    QString write(const QString &name, const QByteArray &content);

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
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    file.write(content);
    return file.fileName();
}

// Every label text a chosen file gives, after a roll that was accepted.
void TestPrtOpener::verdicts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("text");
    const QString hint = u"\r\n\r\nCheck if file is created corectly by Arpenta.\r\n"_s;
    const auto row = [](const char *name, const QByteArray &content, const QString &text) {
        QTest::newRow(name) << u"roll.prt"_s << content << text;
    };
    row("NTYPE X", header + "NTYP        X\r\n" + holeLine("PONS", 10),
        u"PRT-file has no valid NTYPE (P, A, S or C)."_s + hint);
    row("S with PONS only", header + "NTYP        S\r\n" + holeLine("PONS", 10),
        u"PRT-file has NTYPE S but does not have NOOT-statements."_s + hint);
    row("P with NOOT only", header + "NTYP        P\r\n" + holeLine("NOOT", 10),
        u"PRT-file has NTYPE P but does not have PONS-statements."_s + hint);
    row("zero paper width", "NTYP        A\r\nBAFM             0\r\n" + holeLine("PONS", 1),
        u"PRT-file has a paper width of 0 (BAFM record).\r\n\r\n"
        "The roll cannot be shown or punched.\r\n"_s);
    row("NTYP last, accepted", header + holeLine("PONS", 10) + "NTYP        A\r\n",
        u"waltz\r\nGamma:    organ45  -  NTYPE   A\r\nPaper width: 120,0 mm\r\n"
        "Roll length:    9,87 m\r\nHoles to punch: 1\r\n"_s);
    QByteArray seven = header + "NTYP        p\r\n";
    for (int i = 1; i <= 7; ++i)
        seven += holeLine("PONS", i * 10);
    QTest::newRow("lower-case type, upper-case extension")
        << u"WALTZ.PRT"_s << seven
        << u"waltz\r\nGamma:    organ45  -  NTYPE   P\r\nPaper width: 120,0 mm\r\n"
           "Roll length:    9,87 m\r\nHoles to punch: 7\r\n"_s;
    QTest::newRow("not a .PRT name") << u"roll.txt"_s << okRoll
                                     << u"The file name does not end in .PRT.\r\n\r\n"
                                        "Only PRT-files made by Arpenta can be punched.\r\n"_s;
}

void TestPrtOpener::verdicts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    const bool accepted = text.startsWith(u"waltz"_s);
    PrtOpener opener(m_holes, m_chooser);
    m_chooser.answer.path = write(u"first.prt"_s, okRoll);
    opener.openPrtFile();
    QVERIFY(opener.fileLoaded());

    m_chooser.answer.path = write(name, content);
    QSignalSpy reset(&opener, &PrtOpener::nextNoteReset);
    QSignalSpy changed(&opener, &PrtOpener::rollChanged);
    opener.openPrtFile();
    QCOMPARE(opener.labelText(), text);
    QCOMPARE(opener.fileLoaded(), accepted);
    QCOMPARE(opener.labelTone(), accepted ? LabelTone::Summary : LabelTone::Refusal);
    QCOMPARE(reset.size(), accepted ? 1 : 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), accepted);
    QCOMPARE(opener.prtDir(), QDir(m_dir.path()).absolutePath());
    // The same roll cut off at the capacity is refused.
    if (accepted)
        QCOMPARE(judgeRoll(m_holes, true).text,
                 u"PRT-file has more than 64000 holes.\r\n\r\n"
                 "Velmora can punch at most 64000 holes of one roll.\r\n"_s);
}

void TestPrtOpener::fillPattern_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1200") << u"1200"_s << u"@@@,@"_s << u"120,0"_s;
    QTest::newRow("35") << u"35"_s << u"@@@,@"_s << u"  3,5"_s;
    QTest::newRow("1234 m") << u"1234"_s << u"@@@@,@@"_s << u"  12,34"_s;
    QTest::newRow("overflow in front") << u"1234567"_s << u"@@@,@"_s << u"123456,7"_s;
    QTest::newRow("empty") << QString() << u"@@@,@"_s << u"   , "_s;
}

void TestPrtOpener::fillPattern()
{
    QFETCH(QString, number);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(velmora::fillPattern(number, pattern), expected);
}

void TestPrtOpener::cancelKeepsEverything()
{
    m_chooser.answer.path = write(u"ok.prt"_s, okRoll);
    PrtOpener opener(m_holes, m_chooser);
    opener.openPrtFile();
    const QString summary = opener.labelText();
    m_chooser.answer = {FileChoice::Cancelled, {}, {}};
    QSignalSpy label(&opener, &PrtOpener::labelChanged);
    QSignalSpy changed(&opener, &PrtOpener::rollChanged);
    opener.openPrtFile();
    QCOMPARE(m_chooser.askedDir, QDir(m_dir.path()).absolutePath());
    QVERIFY(opener.fileLoaded());
    QCOMPARE(opener.labelText(), summary);
    QCOMPARE(m_holes.holeCount(), 1);
    QCOMPARE(label.size() + changed.size(), 0);
}

void TestPrtOpener::failures()
{
    PrtOpener opener(m_holes, m_chooser);
    QSignalSpy reset(&opener, &PrtOpener::nextNoteReset);
    QSignalSpy changed(&opener, &PrtOpener::rollChanged);
    m_chooser.answer = {FileChoice::Failed, {}, u"no dialog"_s};
    opener.openPrtFile();
    QCOMPARE(opener.labelText(), u"Error during opening file"_s);
    QCOMPARE(opener.labelTone(), LabelTone::Refusal);
    QCOMPARE(reset.size(), 1);
    QCOMPARE(changed.size(), 0);

    m_chooser.answer = {FileChoice::Chosen, m_dir.filePath(u"gone.prt"_s), {}};
    opener.openPrtFile();
    QVERIFY(!opener.fileLoaded());
    QCOMPARE(opener.labelTone(), LabelTone::Refusal);
    QVERIFY(opener.labelText().startsWith(u"Error during opening file\r\n"_s));
    QVERIFY(opener.labelText().size() > 30);
}

QTEST_GUILESS_MAIN(TestPrtOpener)
#include "tst_prtopener.moc"
