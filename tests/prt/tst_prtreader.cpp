#include "prt/holelist.h"
#include "prt/prtlinesplitter.h"
#include "prt/prtreader.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");
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

QByteArray lines(const QList<QByteArray> &records, const QByteArray &end = crlf)
{
    QByteArray file;
    for (const QByteArray &line : records)
        file += line + end;
    return file;
}

QByteArray pons(int xBegin, int keynum = 1)
{
    return record("PONS", {QByteArray::number(xBegin), QByteArray::number(keynum)});
}

// Reads from memory at once (chunk 0) or through a device, chunk bytes at a
// time.
PrtReadResult readIn(QByteArray file, qint64 chunk, HoleList &holes)
{
    if (chunk == 0)
        return PrtReader::ReadPrtBytes(file, holes);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    return PrtReader::ReadPrtDevice(buffer, holes, chunk);
}

QList<int> xBegins(const HoleList &holes)
{
    QList<int> values;
    for (int p = 1; p <= holes.holeCount(); ++p)
        values << holes.hole(p).xBegin;
    return values;
}

} // namespace

class TestPrtReader : public QObject
{
    Q_OBJECT
private slots:
    void holeFields_data();
    void holeFields();
    void holeKeyword_data();
    void holeKeyword();
    void xNext_data();
    void xNext();
    void names_data();
    void names();
    void paperValues_data();
    void paperValues();
    void lineEnds_data();
    void lineEnds();
    void valuesKeptFromEarlierFile();
    void capacity_data();
    void capacity();
    void overlongLines();
    void fileErrors();
    void samples_data();
    void samples();

private:
    HoleList m_holes;
};

void TestPrtReader::holeFields_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QList<int>>("expected"); // X-begin keynum X-end Y-pos keywidth tracknum

    QTest::newRow("every column") << record("PONS",
                                            {"1200", "17", "1260", "845", "30", "99", "3", "88"}) +
                                         " free text"
                                  << QList<int>{1200, 17, 1260, 845, 30, 3};
    QTest::newRow("full fields, separators unread")
        << QByteArray("PONS9111111922222293333339444444955555596666669777777988888899text")
        << QList<int>{111111, 222222, 333333, 444444, 555555, 777777};
    QTest::newRow("12.5 and 13.5")
        << record("PONS", {"12.5", "13.5", "-12.5", "0.5", "1.5", "0", "2.5"})
        << QList<int>{12, 14, -12, 0, 2, 2};
    QTest::newRow("ends after column 25")
        << record("PONS", {"100", "5", "140"}) << QList<int>{100, 5, 140, 0, 0, 0};
    QTest::newRow("ends inside Y-pos")
        << QByteArray("PONS    100      5    140     8") << QList<int>{100, 5, 140, 8, 0, 0};
    QTest::newRow("keyword only") << QByteArray("PONS") << QList<int>{0, 0, 0, 0, 0, 0};
    QTest::newRow("left aligned and blanks inside")
        << QByteArray("PONS 12     4 5    1 2 3 ") << QList<int>{12, 45, 123, 0, 0, 0};
    QTest::newRow("not numeric") << record("PONS", {"abc", "-", "1E2", "7x", "\t9", "", "+4"})
                                 << QList<int>{0, 0, 100, 7, 9, 4};
}

void TestPrtReader::holeFields()
{
    QFETCH(QByteArray, line);
    QFETCH(QList<int>, expected);
    const auto result = PrtReader::ReadPrtBytes(lines({textRecord("NTYP", "P"), line}), m_holes);
    QVERIFY(result.ok());
    QCOMPARE(m_holes.holeCount(), 1);
    const Hole &hole = m_holes.hole(1);
    const QList<int> actual{hole.xBegin, hole.keynum,   hole.xEnd,
                            hole.yPos,   hole.keywidth, hole.tracknum};
    QCOMPARE(actual, expected);
    QCOMPARE(hole.xNext, 0);
}

void TestPrtReader::holeKeyword_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("nType");
    QTest::addColumn<QString>("holeKeyword");
    QTest::addColumn<QList<int>>("holes"); // X-begin of each hole
    QTest::addColumn<bool>("hasPons");
    QTest::addColumn<bool>("hasNoot");

    const QByteArray noot = record("NOOT", {"500", "2", "700"});
    QTest::newRow("NTYP after the holes")
        << lines({pons(10), pons(20), textRecord("NTYP", "A")}) << "A"
        << "PONS" << QList<int>{10, 20} << true << false;
    QTest::newRow("lower-case letter") << lines({textRecord("NTYP", "s"), noot}) << "S"
                                       << "NOOT" << QList<int>{500} << false << true;
    QTest::newRow("lower-case keyword ignored") << lines({textRecord("ntyp", "P"), pons(10)}) << ""
                                                << "" << QList<int>{} << true << false;
    QTest::newRow("lower-case hole keyword")
        << lines({textRecord("NTYP", "P"), "pons" + pons(10).mid(4), pons(30)}) << "P"
        << "PONS" << QList<int>{30} << true << false;
    QTest::newRow("P with NOOT lines only") << lines({textRecord("NTYP", "P"), noot}) << "P"
                                            << "PONS" << QList<int>{} << false << true;
    QTest::newRow("P takes PONS, not NOOT")
        << lines({textRecord("NTYP", "P"), noot, pons(40)}) << "P"
        << "PONS" << QList<int>{40} << true << true;
    QTest::newRow("unknown letter") << lines({textRecord("NTYP", "X"), pons(40)}) << "X"
                                    << "" << QList<int>{} << true << false;
    QTest::newRow("later NTYP replaces")
        << lines({textRecord("NTYP", "S"), pons(40), noot, textRecord("NTYP", "P")}) << "P"
        << "PONS" << QList<int>{40} << true << true;
    QTest::newRow("only column 13 counts") << lines({QByteArray("NTYP        SP"), noot}) << "S"
                                           << "NOOT" << QList<int>{500} << false << true;
    QTest::newRow("other records skipped")
        << lines({textRecord("NTYP", "P"), record("MARK", {"1"}), record("COMM", {"2"}),
                  record("SIGN", {"3"}), record("CALI", {"4"}), record("SPLT", {"5"}),
                  record("STRT", {"6"}), QByteArray(), QByteArray(" PONS"), pons(7)})
        << "P"
        << "PONS" << QList<int>{7} << true << false;
}

void TestPrtReader::holeKeyword()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, nType);
    QFETCH(QString, holeKeyword);
    QFETCH(QList<int>, holes);
    QFETCH(bool, hasPons);
    QFETCH(bool, hasNoot);
    m_holes.hasPons = m_holes.hasNoot = true; // left over from an earlier file
    QVERIFY(PrtReader::ReadPrtBytes(file, m_holes).ok());
    QCOMPARE(m_holes.nType, nType);
    QCOMPARE(m_holes.holeKeyword, holeKeyword);
    QCOMPARE(xBegins(m_holes), holes);
    QCOMPARE(m_holes.hasPons, hasPons);
    QCOMPARE(m_holes.hasNoot, hasNoot);
}

void TestPrtReader::xNext_data()
{
    QTest::addColumn<QList<int>>("xBegin");
    QTest::addColumn<QList<int>>("xNext");
    QTest::addColumn<bool>("ascending");
    QTest::newRow("100 250 250") << QList<int>{100, 250, 250} << QList<int>{0, 150, 0} << true;
    QTest::newRow("going back") << QList<int>{300, 200, 400} << QList<int>{0, -100, 200} << false;
    QTest::newRow("one hole") << QList<int>{-50} << QList<int>{0} << true;
}

void TestPrtReader::xNext()
{
    QFETCH(QList<int>, xBegin);
    QFETCH(QList<int>, xNext);
    QFETCH(bool, ascending);
    QList<QByteArray> records{textRecord("NTYP", "P")};
    for (const int x : xBegin)
        records << pons(x);
    const auto result = PrtReader::ReadPrtBytes(lines(records), m_holes);
    QCOMPARE(result.ascending, ascending);
    QList<int> actual;
    for (int p = 1; p <= m_holes.holeCount(); ++p)
        actual << m_holes.hole(p).xNext;
    QCOMPARE(actual, xNext);
}

void TestPrtReader::names_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("path") << QByteArray("C:\\music\\waltz.mid") << QStringLiteral("waltz");
    QTest::newRow("no backslash") << QByteArray("waltz.mid") << QStringLiteral("waltz.mid");
    QTest::newRow("path without extension")
        << QByteArray("D:\\scales\\organ45") << QStringLiteral("organ45");
    QTest::newRow("dots in folder") << QByteArray("C:\\v1.2\\roll") << QStringLiteral("roll");
    QTest::newRow("first dot of the name")
        << QByteArray("C:\\a\\mars.v2.mid") << QStringLiteral("mars");
    QTest::newRow("ends in backslash") << QByteArray("C:\\music\\") << QString();
    QTest::newRow("blanks kept") << QByteArray(" Wals in G  ") << QStringLiteral(" Wals in G  ");
    QTest::newRow("UTF-8") << QByteArray("C:\\muziek\\St\xC3\xA4ndchen.mid")
                           << QStringLiteral("St\u00E4ndchen");
    QTest::newRow("Windows-1252") << QByteArray("C:\\muziek\\St\xE4ndchen \x80 \x93x\x94.mid")
                                  << QStringLiteral("St\u00E4ndchen \u20AC \u201Cx\u201D");
    QTest::newRow("unassigned 1252 byte") << QByteArray("a\x81z") << QStringLiteral("a\u0081z");
    QTest::newRow("overlong UTF-8 is 1252")
        << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF");
    QTest::newRow("UTF-8 surrogate is 1252")
        << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u20AC");
}

void TestPrtReader::names()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, name);
    const auto file = lines({textRecord("NAAM", text), textRecord("GAMM", text)});
    QVERIFY(PrtReader::ReadPrtBytes(file, m_holes).ok());
    QCOMPARE(m_holes.rollName, name);
    QCOMPARE(m_holes.gammaName, name);

    // A record that ends before column 13 gives an empty text.
    QVERIFY(PrtReader::ReadPrtBytes(lines({"NAAM       ", "GAMM"}), m_holes).ok());
    QCOMPARE(m_holes.rollName, QString());
    QCOMPARE(m_holes.gammaName, QString());
}

void TestPrtReader::paperValues_data()
{
    QTest::addColumn<QByteArray>("bafm");
    QTest::addColumn<float>("paperWidth");
    QTest::addColumn<float>("paperOffset");
    QTest::addColumn<float>("rollLength");
    QTest::addColumn<bool>("zeroPaperWidth");
    QTest::newRow("all five") << record("BAFM", {"", "2060", "30", "7", "15840", "9"}) << 2060.0f
                              << 30.0f << 15840.0f << false;
    QTest::newRow("not rounded") << record("BAFM", {"", "2000.5", "12.25", "", "99.5"}) << 2000.5f
                                 << 12.25f << 99.5f << false;
    QTest::newRow("width 0") << record("BAFM", {"", "0", "30", "", "500"}) << 0.0f << 30.0f
                             << 500.0f << true;
    QTest::newRow("beyond single range")
        << record("BAFM", {"", "9E99", "-9E99"}) << std::numeric_limits<float>::max()
        << -std::numeric_limits<float>::max() << 0.0f << false;
}

void TestPrtReader::paperValues()
{
    QFETCH(QByteArray, bafm);
    QFETCH(float, paperWidth);
    QFETCH(float, paperOffset);
    QFETCH(float, rollLength);
    QFETCH(bool, zeroPaperWidth);
    const auto result = PrtReader::ReadPrtBytes(lines({bafm}), m_holes);
    QCOMPARE(m_holes.paperWidth, paperWidth);
    QCOMPARE(m_holes.paperOffset, paperOffset);
    QCOMPARE(m_holes.rollLength, rollLength);
    QCOMPARE(result.zeroPaperWidth, zeroPaperWidth);
}

void TestPrtReader::lineEnds_data()
{
    QTest::addColumn<QByteArray>("file");
    const QList<QByteArray> roll{textRecord("NAAM", "C:\\r\\roll.mid"), textRecord("NTYP", "P"),
                                 pons(100), pons(250), pons(400)};
    QTest::newRow("CR LF") << lines(roll);
    QTest::newRow("CR") << lines(roll, "\r");
    QTest::newRow("LF") << lines(roll, "\n");
    QTest::newRow("no end after last line") << lines(roll).chopped(2);
    QTest::newRow("mixed, blank lines")
        << roll[0] + "\r\n\r\n" + roll[1] + "\n\r" + roll[2] + "\r" + roll[3] + "\n\n" + roll[4];
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBF") + lines({roll[1], roll[0], roll[2], roll[3], roll[4]});
}

void TestPrtReader::lineEnds()
{
    QFETCH(QByteArray, file);
    // Through memory at once, and through a device in chunks of every small
    // size, so that line ends fall on every chunk edge.
    for (qint64 chunk : {qint64(0), qint64(1), qint64(2), qint64(3), qint64(5), qint64(64)}) {
        HoleList holes;
        const auto result = readIn(file, chunk, holes);
        QVERIFY(result.ok());
        QCOMPARE(holes.rollName, QStringLiteral("roll"));
        QCOMPARE(holes.nType, QStringLiteral("P"));
        QCOMPARE(xBegins(holes), (QList<int>{100, 250, 400}));
        QCOMPARE(result.holeRecords, qint64(3));
    }
}

void TestPrtReader::valuesKeptFromEarlierFile()
{
    HoleList holes;
    QVERIFY(PrtReader::ReadPrtBytes(
                lines({textRecord("NAAM", "C:\\m\\first.mid"), textRecord("GAMM", "organ45"),
                       textRecord("NTYP", "S"), record("BAFM", {"", "2000", "20", "", "9000"}),
                       record("NOOT", {"100"}), record("NOOT", {"200"})}),
                holes)
                .ok());
    QCOMPARE(holes.holeCount(), 2);

    const auto result =
        PrtReader::ReadPrtBytes(lines({textRecord("GAMM", "organ52"), pons(5)}), holes);
    QVERIFY(result.ok());
    QCOMPARE(holes.rollName, QStringLiteral("first"));
    QCOMPARE(holes.gammaName, QStringLiteral("organ52"));
    QCOMPARE(holes.paperWidth, 2000.0f);
    QCOMPARE(holes.paperOffset, 20.0f);
    QCOMPARE(holes.rollLength, 9000.0f);
    QVERIFY(!result.zeroPaperWidth);
    QCOMPARE(holes.nType, QString());
    QCOMPARE(holes.holeKeyword, QString());
    QCOMPARE(holes.holeCount(), 0);
    QVERIFY(holes.hasPons);
    QVERIFY(!holes.hasNoot);
}

void TestPrtReader::capacity_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("overCapacity");
    QTest::newRow("64000") << 64000 << 64000 << false;
    QTest::newRow("64001") << 64001 << 64000 << true;
    QTest::newRow("65000") << 65000 << 64000 << true;
}

void TestPrtReader::capacity()
{
    QFETCH(int, records);
    QFETCH(int, kept);
    QFETCH(bool, overCapacity);
    QByteArray file = lines({textRecord("NTYP", "P")});
    for (int i = 1; i <= records; ++i)
        file += pons(i, i % 45 + 1) + crlf;
    const auto result = PrtReader::ReadPrtBytes(file, m_holes);
    QCOMPARE(m_holes.holeCount(), kept);
    QCOMPARE(result.holeRecords, qint64(records));
    QCOMPARE(result.overCapacity, overCapacity);
    QVERIFY(result.ascending);
    QCOMPARE(m_holes.hole(kept).xBegin, kept);
    QCOMPARE(m_holes.hole(kept).keynum, kept % 45 + 1);
}

void TestPrtReader::overlongLines()
{
    // A name running far past the kept part of its line, a line with no end
    // at all in the middle of the holes, and a UTF-8 name cut inside a letter.
    const QByteArray longName = QByteArray(5000, 'w');
    const QByteArray cutName = QByteArray(maxLine - 15, 'a') + "\xC3\xA4\xC3\xA4";
    const QByteArray file =
        lines({textRecord("NAAM", longName), textRecord("GAMM", cutName), textRecord("NTYP", "P"),
               pons(10), "COMM" + QByteArray(3'000'000, '-'), pons(20)});
    for (qint64 chunk : {qint64(0), qint64(1000), PrtReader::ChunkBytes}) {
        HoleList holes;
        QVERIFY(readIn(file, chunk, holes).ok());
        QCOMPARE(holes.rollName, QString(maxLine - 12, QLatin1Char('w')));
        QCOMPARE(holes.gammaName,
                 QString(maxLine - 15, QLatin1Char('a')) + QStringLiteral("\u00E4"));
        QCOMPARE(xBegins(holes), (QList<int>{10, 20}));
    }
}

void TestPrtReader::fileErrors()
{
    HoleList holes;
    QVERIFY(PrtReader::ReadPrtBytes(
                lines({textRecord("NTYP", "P"), textRecord("NAAM", "kept"), pons(10)}), holes)
                .ok());

    // An empty path does nothing at all.
    auto result = PrtReader::ReadPrtFile(QString(), holes);
    QCOMPARE(result.status, PrtReadResult::Status::NoPath);
    QCOMPARE(holes.holeCount(), 1);
    QCOMPARE(holes.nType, QStringLiteral("P"));

    const QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &path : {dir.filePath(QStringLiteral("missing.prt")), dir.path()}) {
        result = PrtReader::ReadPrtFile(path, holes);
        QCOMPARE(result.status, PrtReadResult::Status::OpenFailed);
        QVERIFY(!result.errorText.isEmpty());
        QCOMPARE(holes.holeCount(), 0);
        QCOMPARE(holes.nType, QString());
        QCOMPARE(holes.rollName, QStringLiteral("kept"));
    }
}

void TestPrtReader::samples_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rollName");
    QTest::addColumn<QString>("nType");
    QTest::addColumn<int>("holeCount");
    QTest::newRow("P") << "wals-in-g-45.prt"
                       << "Wals in G"
                       << "P" << 473;
    QTest::newRow("S, Windows-1252 name")
        << "koraal-52.prt" << QStringLiteral("Koraal Nun danket alle Gott (Cr\u00FCger)") << "S"
        << 136;
    QTest::newRow("A, headers last") << "mars-headers-last.prt"
                                     << "Mars 3"
                                     << "A" << 96;
}

void TestPrtReader::samples()
{
    QFETCH(QString, name);
    QFETCH(QString, rollName);
    QFETCH(QString, nType);
    QFETCH(int, holeCount);
    const auto result =
        PrtReader::ReadPrtFile(QStringLiteral(VELMORA_SOURCE_DIR "/samples/") + name, m_holes);
    QVERIFY(result.ok() && result.ascending && !result.zeroPaperWidth);
    QCOMPARE(m_holes.rollName, rollName);
    QCOMPARE(m_holes.nType, nType);
    QCOMPARE(m_holes.holeCount(), holeCount);
    for (int p = 1; p <= holeCount; ++p)
        QVERIFY(nType != QLatin1String("S") || m_holes.hole(p).xEnd > m_holes.hole(p).xBegin);
}

QTEST_APPLESS_MAIN(TestPrtReader)
#include "tst_prtreader.moc"
