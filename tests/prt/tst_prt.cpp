#include "prt/holelist.h"
#include "prt/prtlinesplitter.h"
#include "prt/prtopener.h"
#include "prt/prtreader.h"
#include "prt/rollsummary.h"
#include "tests/support/testhelpers.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const qsizetype maxLine = qsizetype(PrtLineSplitter::MaxLineBytes);

// A record in fixed columns: keyword in 1-4, then six-wide fields right
// aligned in 6-11, 13-18, ... with one blank between them.
QByteArray record(const char *keyword, const QList<QByteArray> &fields)
{
    QByteArray line(keyword);
    for (const QByteArray &field : fields)
        line += ' ' + field.rightJustified(6, ' ');
    return line;
}

QByteArray textRecord(const char *keyword, const QByteArray &text)
{
    return QByteArray(keyword) + QByteArray(8, ' ') + text;
}

QByteArray pons(int xBegin, int keynum = 1)
{
    return record("PONS", {QByteArray::number(xBegin), QByteArray::number(keynum)});
}

QByteArray lines(const QList<QByteArray> &records, const QByteArray &end = "\r\n")
{
    return records.join(end) + end;
}

// Reads from memory at once (chunk 0) or through a device, chunk bytes at a
// time.
PrtReadResult readIn(QByteArray file, qint64 chunk, HoleList &holes)
{
    if (chunk == 0)
        return PrtReader::readPrtBytes(file, holes);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return PrtReader::readPrtDevice(buffer, holes, chunk);
}

// The roll's type, hole keyword, X-begin values and hole kinds seen.
QString describe(const HoleList &holes)
{
    QStringList x;
    for (int p = 1; p <= holes.holeCount(); ++p)
        x << QString::number(holes.hole(p).xBegin);
    return u"%1 %2 [%3]%4%5"_s.arg(holes.nType, holes.holeKeyword, x.join(u' '),
                                   holes.hasPons ? u" pons"_s : QString(),
                                   holes.hasNoot ? u" noot"_s : QString());
}

// A roll of the waltz on the organ45 scale, paper 120 mm, roll 9.87 m.
const QList<QByteArray> header{textRecord("NAAM", "C:\\music\\waltz.mid"),
                               textRecord("GAMM", "D:\\scales\\organ45"),
                               record("BAFM", {"", "1200", "0", "0", "98765", "0"})};
const QByteArray okRoll = lines(header + QList<QByteArray>{textRecord("NTYP", "P"), pons(5)});

} // namespace

// Reading PRT-files, and opening them: the verdict on the roll and its summary.
class TestPrt : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_holes.clear();
        m_chooser = ScriptedChooser();
    }

    void holeFields_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QList<int>>("expected"); // X-begin keynum X-end Y-pos keywidth tracknum

        QTest::newRow("every column")
            << record("PONS", {"1200", "17", "1260", "845", "30", "99", "3", "88"}) + " free text"
            << QList<int>{1200, 17, 1260, 845, 30, 3};
        QTest::newRow("full fields, separators unread")
            << QByteArray("PONS9111111922222293333339444444955555596666669777777988888899text")
            << QList<int>{111111, 222222, 333333, 444444, 555555, 777777};
        QTest::newRow("12.5 and 13.5")
            << record("PONS", {"12.5", "13.5", "-12.5", "0.5", "1.5", "0", "2.5"})
            << QList<int>{12, 14, -12, 0, 2, 2};
        QTest::newRow("ends inside Y-pos")
            << QByteArray("PONS    100      5    140     8") << QList<int>{100, 5, 140, 8, 0, 0};
        QTest::newRow("keyword only") << QByteArray("PONS") << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("left aligned and blanks inside")
            << QByteArray("PONS 12     4 5    1 2 3 ") << QList<int>{12, 45, 123, 0, 0, 0};
    }

    void holeFields()
    {
        QFETCH(QByteArray, line);
        QFETCH(QList<int>, expected);
        QVERIFY(PrtReader::readPrtBytes(lines({textRecord("NTYP", "P"), line}), m_holes).ok());
        QCOMPARE(m_holes.holeCount(), 1);
        const Hole &h = m_holes.hole(1);
        QCOMPARE((QList<int>{h.xBegin, h.keynum, h.xEnd, h.yPos, h.keywidth, h.tracknum}),
                 expected);
        QCOMPARE(h.xNext, 0);
    }

    void holeKeyword_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const QByteArray noot = record("NOOT", {"500", "2", "700"});
        const auto row = [](const char *name, const QList<QByteArray> &records,
                            const char *expected) {
            QTest::newRow(name) << lines(records) << QString::fromLatin1(expected);
        };
        row("NTYP after the holes", {pons(10), pons(20), textRecord("NTYP", "A")},
            "A PONS [10 20] pons");
        row("lower-case letter", {textRecord("NTYP", "s"), noot}, "S NOOT [500] noot");
        row("lower-case keyword ignored", {textRecord("ntyp", "P"), pons(10)}, "  [] pons");
        row("lower-case hole keyword",
            {textRecord("NTYP", "P"), "pons" + pons(10).mid(4), pons(30)}, "P PONS [30] pons");
        row("P with NOOT lines only", {textRecord("NTYP", "P"), noot}, "P PONS [] noot");
        row("P takes PONS, not NOOT", {textRecord("NTYP", "P"), noot, pons(40)},
            "P PONS [40] pons noot");
        row("unknown letter", {textRecord("NTYP", "X"), pons(40)}, "X  [] pons");
        row("later NTYP replaces",
            {textRecord("NTYP", "S"), pons(40), noot, textRecord("NTYP", "P")},
            "P PONS [40] pons noot");
        row("only column 13 counts", {"NTYP        SP", noot}, "S NOOT [500] noot");
        row("other records skipped",
            {textRecord("NTYP", "P"), record("MARK", {"1"}), record("COMM", {"2"}),
             record("SIGN", {"3"}), record("CALI", {"4"}), record("SPLT", {"5"}),
             record("STRT", {"6"}), QByteArray(), QByteArray(" PONS"), pons(7)},
            "P PONS [7] pons");
    }

    void holeKeyword()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        m_holes.hasPons = m_holes.hasNoot = true; // left over from an earlier file
        QVERIFY(PrtReader::readPrtBytes(file, m_holes).ok());
        QCOMPARE(describe(m_holes), expected);
    }

    void xNext()
    {
        // X-begin values, the X-next each hole gets, and whether they ascend.
        const std::tuple<QList<int>, QList<int>, bool> rolls[] = {
            {{100, 250, 250}, {0, 150, 0}, true},
            {{300, 200, 400}, {0, -100, 200}, false},
            {{-50}, {0}, true},
        };
        for (const auto &[xBegin, xNext, ascending] : rolls) {
            QList<QByteArray> records{textRecord("NTYP", "P")};
            for (const int x : xBegin)
                records << pons(x);
            QCOMPARE(PrtReader::readPrtBytes(lines(records), m_holes).ascending, ascending);
            QList<int> actual;
            for (int p = 1; p <= m_holes.holeCount(); ++p)
                actual << m_holes.hole(p).xNext;
            QCOMPARE(actual, xNext);
        }
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("no backslash") << QByteArray("waltz.mid") << u"waltz.mid"_s;
        QTest::newRow("dots in folder") << QByteArray("C:\\v1.2\\roll") << u"roll"_s;
        QTest::newRow("first dot of the name") << QByteArray("C:\\a\\mars.v2.mid") << u"mars"_s;
        QTest::newRow("ends in backslash") << QByteArray("C:\\music\\") << QString();
        QTest::newRow("blanks kept") << QByteArray(" Wals in G  ") << u" Wals in G  "_s;
        QTest::newRow("UTF-8") << QByteArray("C:\\muziek\\St\xC3\xA4ndchen.mid")
                               << u"St\u00E4ndchen"_s;
        QTest::newRow("Windows-1252") << QByteArray("C:\\muziek\\St\xE4ndchen \x80 \x93x\x94.mid")
                                      << u"St\u00E4ndchen \u20AC \u201Cx\u201D"_s;
        QTest::newRow("unassigned 1252 byte") << QByteArray("a\x81z") << u"a\u0081z"_s;
        QTest::newRow("overlong UTF-8 is 1252") << QByteArray("\xC0\xAF") << u"\u00C0\u00AF"_s;
        QTest::newRow("UTF-8 surrogate is 1252")
            << QByteArray("\xED\xA0\x80") << u"\u00ED\u00A0\u20AC"_s;
        // A record that ends before column 13 gives an empty text.
        QTest::newRow("short record") << QByteArray() << QString();
    }

    void names()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        m_holes.rollName = m_holes.gammaName = u"earlier"_s;
        const auto file = text.isEmpty()
                              ? lines({"NAAM       ", "GAMM"})
                              : lines({textRecord("NAAM", text), textRecord("GAMM", text)});
        QVERIFY(PrtReader::readPrtBytes(file, m_holes).ok());
        QCOMPARE(m_holes.rollName, name);
        QCOMPARE(m_holes.gammaName, name);
    }

    void paperValues_data()
    {
        QTest::addColumn<QByteArray>("bafm");
        QTest::addColumn<QList<float>>("values"); // width, offset, roll length
        constexpr float max = std::numeric_limits<float>::max();
        QTest::newRow("all five") << record("BAFM", {"", "2060", "30", "7", "15840", "9"})
                                  << QList<float>{2060, 30, 15840};
        QTest::newRow("not rounded") << record("BAFM", {"", "2000.5", "12.25", "", "99.5"})
                                     << QList<float>{2000.5f, 12.25f, 99.5f};
        QTest::newRow("width 0") << record("BAFM", {"", "0", "30", "", "500"})
                                 << QList<float>{0, 30, 500};
        QTest::newRow("beyond single range")
            << record("BAFM", {"", "9E99", "-9E99"}) << QList<float>{max, -max, 0};
    }

    void paperValues()
    {
        QFETCH(QByteArray, bafm);
        QFETCH(QList<float>, values);
        const auto result = PrtReader::readPrtBytes(lines({bafm}), m_holes);
        QCOMPARE((QList<float>{m_holes.paperWidth, m_holes.paperOffset, m_holes.rollLength}),
                 values);
        QCOMPARE(result.zeroPaperWidth, values[0] == 0);
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QList<QByteArray> roll{textRecord("NAAM", "C:\\r\\roll.mid"), textRecord("NTYP", "P"),
                                     pons(100), pons(250), pons(400)};
        QTest::newRow("CR LF") << lines(roll);
        QTest::newRow("CR") << lines(roll, "\r");
        QTest::newRow("LF") << lines(roll, "\n");
        QTest::newRow("no end after last line") << lines(roll).chopped(2);
        QTest::newRow("mixed, blank lines") << roll[0] + "\r\n\r\n" + roll[1] + "\n\r" + roll[2] +
                                                   "\r" + roll[3] + "\n\n" + roll[4];
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF") + lines({roll[1], roll[0], roll[2], roll[3], roll[4]});
    }

    void lineEnds()
    {
        QFETCH(QByteArray, file);
        // Through memory at once, and through a device in chunks of every small
        // size, so that line ends fall on every chunk edge.
        for (qint64 chunk : {0, 1, 2, 3, 5, 64}) {
            HoleList holes;
            const auto result = readIn(file, chunk, holes);
            QVERIFY(result.ok());
            QCOMPARE(holes.rollName, u"roll"_s);
            QCOMPARE(describe(holes), u"P PONS [100 250 400] pons"_s);
            QCOMPARE(result.holeRecords, qint64(3));
        }
    }

    void valuesKeptFromEarlierFile()
    {
        HoleList holes;
        QVERIFY(PrtReader::readPrtBytes(
                    lines({textRecord("NAAM", "C:\\m\\first.mid"), textRecord("GAMM", "organ45"),
                           textRecord("NTYP", "S"), record("BAFM", {"", "2000", "20", "", "9000"}),
                           record("NOOT", {"100"}), record("NOOT", {"200"})}),
                    holes)
                    .ok());
        const auto result =
            PrtReader::readPrtBytes(lines({textRecord("GAMM", "organ52"), pons(5)}), holes);
        QVERIFY(result.ok() && !result.zeroPaperWidth);
        QCOMPARE(holes.rollName + u' ' + holes.gammaName, u"first organ52"_s);
        QCOMPARE((QList<float>{holes.paperWidth, holes.paperOffset, holes.rollLength}),
                 (QList<float>{2000, 20, 9000}));
        QCOMPARE(describe(holes), u"  [] pons"_s);
    }

    void capacity()
    {
        // 64000 hole records fill the list; one more is counted, not kept.
        for (const int records : {64000, 64001}) {
            QByteArray file = lines({textRecord("NTYP", "P")});
            for (int i = 1; i <= records; ++i)
                file += pons(i, i % 45 + 1) + "\r\n";
            HoleList holes;
            const auto result = PrtReader::readPrtBytes(file, holes);
            QCOMPARE(holes.holeCount(), 64000);
            QCOMPARE(result.holeRecords, qint64(records));
            QCOMPARE(result.overCapacity, records == 64001);
            QVERIFY(result.ascending);
            QCOMPARE(holes.hole(64000).xBegin, 64000);
            QCOMPARE(holes.hole(64000).keynum, 64000 % 45 + 1);
        }
    }

    void overlongLines()
    {
        // A name running far past the kept part of its line, a line with no end
        // at all in the middle of the holes, and a UTF-8 name cut inside a letter.
        const QByteArray file = lines(
            {textRecord("NAAM", QByteArray(5000, 'w')),
             textRecord("GAMM", QByteArray(maxLine - 15, 'a') + "\xC3\xA4\xC3\xA4"),
             textRecord("NTYP", "P"), pons(10), "COMM" + QByteArray(3'000'000, '-'), pons(20)});
        for (qint64 chunk : {qint64(0), qint64(1000), PrtReader::ChunkBytes}) {
            HoleList holes;
            QVERIFY(readIn(file, chunk, holes).ok());
            QCOMPARE(holes.rollName, QString(maxLine - 12, u'w'));
            QCOMPARE(holes.gammaName, QString(maxLine - 15, u'a') + u"\u00E4"_s);
            QCOMPARE(describe(holes), u"P PONS [10 20] pons"_s);
        }
    }

    void fileErrors()
    {
        HoleList holes;
        const QByteArray file =
            lines({textRecord("NTYP", "P"), textRecord("NAAM", "kept"), pons(10)});
        QVERIFY(PrtReader::readPrtBytes(file, holes).ok());

        // An empty path does nothing at all.
        QCOMPARE(PrtReader::readPrtFile(QString(), holes).status, PrtReadResult::Status::NoPath);
        QCOMPARE(describe(holes), u"P PONS [10] pons"_s);

        const QTemporaryDir dir;
        for (const QString &path : {dir.filePath(u"missing.prt"_s), dir.path()}) {
            const auto result = PrtReader::readPrtFile(path, holes);
            QCOMPARE(result.status, PrtReadResult::Status::OpenFailed);
            QVERIFY(!result.errorText.isEmpty());
            QCOMPARE(holes.holeCount(), 0);
            QCOMPARE(holes.nType, QString());
            QCOMPARE(holes.rollName, u"kept"_s);
        }
    }

    void samples_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rollName");
        QTest::addColumn<QString>("nType");
        QTest::addColumn<int>("holeCount");
        QTest::newRow("P") << u"wals-in-g-45.prt"_s << u"Wals in G"_s << u"P"_s << 473;
        QTest::newRow("S, Windows-1252 name")
            << u"koraal-52.prt"_s << u"Koraal Nun danket alle Gott (Cr\u00FCger)"_s << u"S"_s
            << 136;
        QTest::newRow("A, headers last")
            << u"mars-headers-last.prt"_s << u"Mars 3"_s << u"A"_s << 96;
    }

    void samples()
    {
        QFETCH(QString, name);
        QFETCH(QString, rollName);
        QFETCH(QString, nType);
        QFETCH(int, holeCount);
        const auto result =
            PrtReader::readPrtFile(QStringLiteral(VELMORA_SOURCE_DIR "/samples/") + name, m_holes);
        QVERIFY(result.ok() && result.ascending && !result.zeroPaperWidth);
        QCOMPARE(m_holes.rollName, rollName);
        QCOMPARE(m_holes.nType, nType);
        QCOMPARE(m_holes.holeCount(), holeCount);
        for (int p = 1; p <= holeCount; ++p)
            QVERIFY(nType != u"S"_s || m_holes.hole(p).xEnd > m_holes.hole(p).xBegin);
    }

    void verdicts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        const QString hint = u"\r\n\r\nCheck if file is created corectly by Arpenta.\r\n"_s;
        // The waltz's header, then the records of the row.
        const auto row = [](const char *name, const QList<QByteArray> &records, const QString &text,
                            const QString &file = u"roll.prt"_s) {
            QTest::newRow(name) << file << lines(header + records) << text;
        };
        const auto summary = [](const char *type, int holes) {
            return u"waltz\r\nGamma:    organ45  -  NTYPE   %1\r\nPaper width: 120,0 mm\r\n"
                   "Roll length:    9,87 m\r\nHoles to punch: %2\r\n"_s.arg(QLatin1String(type))
                       .arg(holes);
        };
        row("NTYPE X", {textRecord("NTYP", "X"), pons(10)},
            u"PRT-file has no valid NTYPE (P, A, S or C)."_s + hint);
        row("S with PONS only", {textRecord("NTYP", "S"), pons(10)},
            u"PRT-file has NTYPE S but does not have NOOT-statements."_s + hint);
        row("P with NOOT only", {textRecord("NTYP", "P"), record("NOOT", {"10"})},
            u"PRT-file has NTYPE P but does not have PONS-statements."_s + hint);
        row("zero paper width", {textRecord("NTYP", "A"), record("BAFM", {"", "0"}), pons(1)},
            u"PRT-file has a paper width of 0 (BAFM record).\r\n\r\n"
            "The roll cannot be shown or punched.\r\n"_s);
        row("NTYP last, accepted", {pons(10), textRecord("NTYP", "A")}, summary("A", 1));
        QList<QByteArray> seven{textRecord("NTYP", "p")};
        for (int i = 1; i <= 7; ++i)
            seven << pons(i * 10);
        row("lower-case type, upper-case extension", seven, summary("P", 7), u"WALTZ.PRT"_s);
        row("not a .PRT name", {textRecord("NTYP", "P"), pons(5)},
            u"The file name does not end in .PRT.\r\n\r\n"
            "Only PRT-files made by Arpenta can be punched.\r\n"_s,
            u"roll.txt"_s);
    }

    void verdicts()
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

    // "number/pattern/filled": digits from the right, an overflow in front,
    // blanks for missing digits.
    void fillPattern()
    {
        for (const char *row : {"1200/@@@,@/120,0", "35/@@@,@/  3,5", "1234/@@@@,@@/  12,34",
                                "1234567/@@@,@/123456,7", "/@@@,@/   , "}) {
            const QStringList parts = QString::fromLatin1(row).split(u'/');
            QCOMPARE(velmora::fillPattern(parts[0], parts[1]), parts[2]);
        }
    }

    void cancelKeepsEverything()
    {
        m_chooser.answer.path = write(u"ok.prt"_s, okRoll);
        PrtOpener opener(m_holes, m_chooser);
        opener.openPrtFile();
        const QString summary = opener.labelText();
        QSignalSpy label(&opener, &PrtOpener::labelChanged);
        QSignalSpy changed(&opener, &PrtOpener::rollChanged);
        m_chooser.hold = true;
        opener.openPrtFile();
        QCOMPARE(m_chooser.askedDir, QDir(m_dir.path()).absolutePath());
        QVERIFY(opener.fileLoaded()); // while the dialog shows
        m_chooser.pending({FileChoice::Cancelled, {}, {}});
        QVERIFY(opener.fileLoaded());
        QCOMPARE(opener.labelText(), summary);
        QCOMPARE(m_holes.holeCount(), 1);
        QCOMPARE(label.size() + changed.size(), 0);
    }

    void failures()
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

private:
    QString write(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write fixture");
        file.write(content);
        return file.fileName();
    }

    QTemporaryDir m_dir;
    HoleList m_holes;
    ScriptedChooser m_chooser;
};

QTEST_GUILESS_MAIN(TestPrt)
#include "tst_prt.moc"
