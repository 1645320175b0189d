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

QByteArray pons(int xBegin)
{
    return record("PONS", {QByteArray::number(xBegin), "1"});
}

QByteArray lines(const QList<QByteArray> &records)
{
    return records.join("\r\n") + "\r\n";
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
        QTest::newRow("12.5 and 13.5 to even")
            << record("PONS", {"12.5", "13.5"}) << QList<int>{12, 14, 0, 0, 0, 0};
        QTest::newRow("ends inside Y-pos")
            << QByteArray("PONS    100      5    140     8") << QList<int>{100, 5, 140, 8, 0, 0};
    }

    void holeFields()
    {
        QFETCH(QByteArray, line);
        QFETCH(QList<int>, expected);
        QVERIFY(read({textRecord("NTYP", "P"), line}).ok());
        QCOMPARE(m_holes.holeCount(), 1);
        const Hole &h = m_holes.hole(1);
        QCOMPARE((QList<int>{h.xBegin, h.keynum, h.xEnd, h.yPos, h.keywidth, h.tracknum}),
                 expected);
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
        row("lower-case letter", {textRecord("NTYP", "s"), noot}, "S NOOT [500] noot");
        row("lower-case keywords ignored",
            {textRecord("NTYP", "P"), textRecord("ntyp", "S"), "pons" + pons(10).mid(4), pons(30)},
            "P PONS [30] pons");
        row("unknown letter", {textRecord("NTYP", "X"), pons(40)}, "X  [] pons");
        // The last NTYP counts, also after the holes; P reads PONS, not NOOT.
        row("later NTYP replaces",
            {textRecord("NTYP", "S"), pons(40), noot, textRecord("NTYP", "P")},
            "P PONS [40] pons noot");
        row("only column 13 counts", {"NTYP        SP", noot}, "S NOOT [500] noot");
        row("other records skipped",
            {textRecord("NTYP", "P"), record("COMM", {"2"}), QByteArray(), " PONS", pons(7)},
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

    void ascending()
    {
        // Equal X-begin values still ascend; one step back does not.
        QVERIFY(read({textRecord("NTYP", "P"), pons(100), pons(250), pons(250)}).ascending);
        QVERIFY(!read({textRecord("NTYP", "P"), pons(300), pons(200), pons(400)}).ascending);
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("first dot of the name") << QByteArray("C:\\v1.2\\mars.v2.mid") << u"mars"_s;
        QTest::newRow("ends in backslash") << QByteArray("C:\\music\\") << QString();
        QTest::newRow("UTF-8") << QByteArray("C:\\muziek\\St\xC3\xA4ndchen.mid")
                               << u"St\u00E4ndchen"_s;
        QTest::newRow("Windows-1252") << QByteArray("C:\\muziek\\St\xE4ndchen \x80 \x93x\x94.mid")
                                      << u"St\u00E4ndchen \u20AC \u201Cx\u201D"_s;
        // Without a backslash the text is the name as it is, dots and blanks too.
        QTest::newRow("overlong UTF-8 is 1252, no path")
            << QByteArray(" \xC0\xAF.v2 ") << u" \u00C0\u00AF.v2 "_s;
        QTest::newRow("UTF-8 surrogate is 1252")
            << QByteArray("\xED\xA0\x80") << u"\u00ED\u00A0\u20AC"_s;
    }

    void names()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        m_holes.rollName = m_holes.gammaName = u"earlier"_s;
        QVERIFY(read({textRecord("NAAM", text), textRecord("GAMM", text)}).ok());
        QCOMPARE(m_holes.rollName, name);
        QCOMPARE(m_holes.gammaName, name);
    }

    void paperValues_data()
    {
        QTest::addColumn<QByteArray>("bafm");
        QTest::addColumn<QList<float>>("values"); // width, offset, roll length
        constexpr float max = std::numeric_limits<float>::max();
        QTest::newRow("width 0") << record("BAFM", {"", "0", "30", "", "500"})
                                 << QList<float>{0, 30, 500};
        QTest::newRow("beyond single range")
            << record("BAFM", {"", "9E99", "-9E99"}) << QList<float>{max, -max, 0};
    }

    void paperValues()
    {
        QFETCH(QByteArray, bafm);
        QFETCH(QList<float>, values);
        const auto result = read({bafm});
        QCOMPARE((QList<float>{m_holes.paperWidth, m_holes.paperOffset, m_holes.rollLength}),
                 values);
        QCOMPARE(result.zeroPaperWidth, values[0] == 0);
    }

    void valuesKeptFromEarlierFile()
    {
        QVERIFY(read({textRecord("NAAM", "C:\\m\\first.mid"), textRecord("GAMM", "organ45"),
                      textRecord("NTYP", "S"),
                      record("BAFM", {"", "2000.5", "12.25", "7", "99.5", "9"}),
                      record("NOOT", {"100"})})
                    .ok());
        // No NAAM keeps the name; a GAMM record that ends before column 13 empties it.
        const auto result = read({"GAMM", pons(5)});
        QVERIFY(result.ok() && !result.zeroPaperWidth);
        QCOMPARE(m_holes.rollName + u'|' + m_holes.gammaName, u"first|"_s);
        QCOMPARE((QList<float>{m_holes.paperWidth, m_holes.paperOffset, m_holes.rollLength}),
                 (QList<float>{2000.5f, 12.25f, 99.5f})); // fields 2, 3 and 5, not rounded
        QCOMPARE(describe(m_holes), u"  [] pons"_s);
    }

    void capacity()
    {
        // 64000 hole records fill the list; one more is counted, not kept.
        for (const int records : {64000, 64001}) {
            QByteArray file = lines({textRecord("NTYP", "P")});
            for (int i = 1; i <= records; ++i)
                file += pons(i) + "\r\n";
            HoleList holes;
            const auto result = PrtReader::readPrtBytes(file, holes);
            QCOMPARE(holes.holeCount(), 64000);
            QCOMPARE(result.holeRecords, qint64(records));
            QCOMPARE(result.overCapacity, records == 64001);
            QCOMPARE(holes.hole(64000).xBegin, 64000);
        }
    }

    void chunks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected"); // the roll name, then the holes
        const QList<QByteArray> roll{textRecord("NAAM", "C:\\r\\roll.mid"), textRecord("NTYP", "P"),
                                     pons(100), pons(250), pons(400)};
        const QString read = u"roll: P PONS [100 250 400] pons"_s;
        QTest::newRow("CR LF") << lines(roll) << read;
        QTest::newRow("mixed, blank lines, no end")
            << roll[0] + "\r\n\r\n" + roll[1] + "\n\r" + roll[2] + "\r" + roll[3] + "\n\n" + roll[4]
            << read;
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF") + lines({roll[1], roll[0], roll[2], roll[3], roll[4]})
            << read;
        // A name running past the kept part of its line and cut there inside a
        // UTF-8 letter, and a line with no end at all in the middle of the holes.
        QTest::newRow("overlong lines")
            << lines({textRecord("NAAM", QByteArray(maxLine - 15, 'a') + "\xC3\xA4\xC3\xA4"),
                      textRecord("NTYP", "P"), pons(10), "COMM" + QByteArray(3'000'000, '-'),
                      pons(20)})
            << QString(maxLine - 15, u'a') + u"\u00E4: P PONS [10 20] pons"_s;
    }

    void chunks()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        // Through memory at once (chunk 0), and through a device in chunks of
        // every small size, so that line ends fall on every chunk edge, and of
        // the usual size.
        const qint64 chunks[] = {0, 1, 2, 3, 5, 64, PrtReader::ChunkBytes};
        for (const qint64 chunk : chunks) {
            HoleList list;
            QBuffer buffer(&file);
            buffer.open(QIODevice::ReadOnly);
            const auto result = chunk == 0 ? PrtReader::readPrtBytes(file, list)
                                           : PrtReader::readPrtDevice(buffer, list, chunk);
            QVERIFY(result.ok());
            QCOMPARE(list.rollName + u": "_s + describe(list), expected);
        }
    }

    void fileErrors()
    {
        QVERIFY(PrtReader::readPrtBytes(okRoll, m_holes).ok());
        // An empty path does nothing at all.
        QCOMPARE(PrtReader::readPrtFile(QString(), m_holes).status, PrtReadResult::Status::NoPath);
        QCOMPARE(describe(m_holes), u"P PONS [5] pons"_s);

        for (const QString &path : {m_dir.filePath(u"missing.prt"_s), m_dir.path()}) {
            const auto result = PrtReader::readPrtFile(path, m_holes);
            QCOMPARE(result.status, PrtReadResult::Status::OpenFailed);
            QVERIFY(!result.errorText.isEmpty());
            QCOMPARE(m_holes.holeCount(), 0);
            QCOMPARE(m_holes.nType, QString());
            QCOMPARE(m_holes.rollName, u"waltz"_s);
        }
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
        row("lower-case type after the holes, upper-case extension",
            {pons(10), pons(20), textRecord("NTYP", "a")}, summary("A", 2), u"WALTZ.PRT"_s);
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

    // The roll loaded before stays while the dialog shows and after a dialog
    // that is cancelled or fails; a chosen file that cannot be read replaces it.
    void dialogOutcomes()
    {
        m_chooser.answer.path = write(u"ok.prt"_s, okRoll);
        PrtOpener opener(m_holes, m_chooser);
        opener.openPrtFile();
        const QString summary = opener.labelText();
        QSignalSpy label(&opener, &PrtOpener::labelChanged);
        QSignalSpy reset(&opener, &PrtOpener::nextNoteReset);
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

        m_chooser.hold = false;
        m_chooser.answer = {FileChoice::Failed, {}, u"no dialog"_s};
        opener.openPrtFile();
        QVERIFY(opener.fileLoaded());
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
    PrtReadResult read(const QList<QByteArray> &records)
    {
        return PrtReader::readPrtBytes(lines(records), m_holes);
    }

    QString write(const QString &name, const QByteArray &content)
    {
        if (!writeFile(m_dir.filePath(name), content))
            qFatal("cannot write fixture");
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
    HoleList m_holes;
    ScriptedChooser m_chooser;
};

QTEST_GUILESS_MAIN(TestPrt)
#include "tst_prt.moc"
