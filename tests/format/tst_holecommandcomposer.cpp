#include "format/holecommandcomposer.h"

#include <QTest>

#include <limits>

using namespace velmora;

namespace {

// The example hole: X-begin 1234, keynum 60, X-end 1250, Y-pos 123,
// keywidth 20, X-next 45, tracknum 3.
struct H
{
    qint32 xBegin = 1234, keynum = 60, xEnd = 1250, yPos = 123, keywidth = 20, xNext = 45,
           tracknum = 3;
};

H with(qint32 H::*field, qint32 value)
{
    H h;
    h.*field = value;
    return h;
}

constexpr float inf = std::numeric_limits<float>::infinity();
const char *zelvoor = "00050701****************";
const char *zelvoorLengths = "01040404****************";
const char *zelvoor2 = "00050204****************";
const char *zelvoor2Lengths = "01040606****************";

void row(const char *name, const char *fields, const char *lengths, float x, float y, H hole,
         const char *line, const char *error)
{
    QTest::newRow(name) << fields << lengths << x << y << hole << line << error;
}

// A row whose line is composed, and one that is refused with an error.
void ok(const char *name, const char *fields, const char *lengths, float x, float y, H hole,
        const char *line)
{
    row(name, fields, lengths, x, y, hole, line, "");
}

void fails(const char *name, const char *fields, const char *lengths, float x, float y, H hole,
           const char *error)
{
    row(name, fields, lengths, x, y, hole, "", error);
}

} // namespace

Q_DECLARE_METATYPE(H)

class TestHoleCommandComposer : public QObject
{
    Q_OBJECT
private slots:
    void compose_data();
    void compose();
    void holeOutsideList();
    void failedFieldAppendsNothing();
};

void TestHoleCommandComposer::compose_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("lengths");
    QTest::addColumn<float>("xCal");
    QTest::addColumn<float>("yCal");
    QTest::addColumn<H>("hole");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("error");
    const H h;
    ok("Zelvoor", zelvoor, zelvoorLengths, 1000, 1000, h, "$,0123,0045,0000");
    ok("Zelvoor2", zelvoor2, zelvoor2Lengths, 1000, 1000, h, "$,0123,001234,001250");
    ok("Zelvoor calibrated", zelvoor, zelvoorLengths, 1010, 1250, h, "$,0154,0045,0000");
    ok("Zelvoor2 calibrated", zelvoor2, zelvoor2Lengths, 1010, 1250, h, "$,0154,001246,001262");
    ok("user format from the editor", "000201******************", "010603******************", 1000,
       1000, h, "$,001234,000");
    ok("var, as is, zeroes; keynum, tracknum unscaled", "00030801**", "0100--02", 2000, 1500, h,
       "$,60,3,00");
    ok("constant, length 1", "000903**", "01--01", 1250, 1250, h, "$,,60");
    ok("too wide", "07**", "04", 1000, 1000, with(&H::xNext, 12345), "2345");
    ok("leading zeros", "02**", "06", 1000, 1000, with(&H::xBegin, 7), "000007");
    ok("negative as is", "070707**", "0001--", 1000, 1000, with(&H::xNext, -12), "-12,-12,-12");
    ok("negative fixed", "070707**", "040210", 1000, 1000, with(&H::xNext, -12),
       "-012,-2,-000000012");
    ok("half down to even", "06**", "00", 1000, 1500, with(&H::keywidth, 3), "4");
    ok("X and Y apart", "0204050607**", "0000000000", 2000, 500, h, "2468,2500,62,10,90");
    ok("calibration 0", "0205**", "0000", 0, 0, h, "1234,123");
    ok("1000 keeps any value", "0204**", "0010", 1000, 1000, with(&H::xEnd, 2000000001),
       "1234,2000000001");
    ok("lowest 32-bit", "0504**", "0010", 1000, 2000, H{0, 0, INT32_MIN, -1073741824},
       "-2147483648,-147483648");
    ok("no zeros", "000105**", "010004", 1000, 1000, h, "$,,0123");
    ok("zeros: none, ten, capped", "010101**", "--1012", 1000, 1000, h, ",0000000000,0000000000");
    ok("no fields", "************", "", 1000, 1000, h, "");
    ok("unknown code", "002005**", "011204", 1000, 1000, h, "$,,0123");
    ok("after empty slot", "05**0701****", "04040404", 1000, 1000, h, "0123");
    ok("short field text", "0005", zelvoorLengths, 1000, 1000, h, "$,0123,$,$,$,$,$,$,$,$,$,$");

    fails("above 32 bits", "0005**", "0104", 1000, 2000, with(&H::yPos, 1073741824),
          "hole 2: Y-pos 1073741824 scaled by 2000 gives 2147483648, which does not fit in 32 "
          "bits");
    fails("below 32 bits", "0002**", "0100", 3000, 1000, with(&H::xBegin, -1073741824),
          "hole 2: X-begin -1073741824 scaled by 3000 gives -3221225472, which does not fit in "
          "32 bits");
    fails("infinite", "07**", "04", inf, 1000, h,
          "hole 2: X-next 45 scaled by INF gives infinite, which does not fit in 32 bits");
    fails("zero times infinite", "06**", "04", 1000, inf, with(&H::keywidth, 0),
          "hole 2: keywidth 0 scaled by INF gives not a number, which does not fit in 32 bits");
    fails("length above 10", "0007**", "0111", 1000, 1000, h,
          "hole 2: X-next field length 11 is more than 10 digits");
    fails("unscaled length above 10", "000508**", "010412", 1000, 1000, h,
          "hole 2: tracknum field length 12 is more than 10 digits");
}

void TestHoleCommandComposer::compose()
{
    QFETCH(QString, fields);
    QFETCH(QString, lengths);
    QFETCH(float, xCal);
    QFETCH(float, yCal);
    QFETCH(H, hole);
    QFETCH(QString, line);
    QFETCH(QString, error);
    // Hole 2 is the one composed; hole 1 before it gives its X-next.
    HoleList list;
    list.append(Hole{qint32(qint64(hole.xBegin) - hole.xNext)});
    list.append(
        Hole{hole.xBegin, hole.keynum, hole.xEnd, hole.yPos, hole.keywidth, 0, hole.tracknum});
    QCOMPARE(list.hole(2).xNext, hole.xNext);
    HoleCommandComposer composer(list);
    composer.setFormat(OutputFormat::fromTexts(fields, lengths));
    composer.setXCalibration(xCal);
    composer.setYCalibration(yCal);
    const ComposedLine composed = composer.composeHoleCommand(2);
    QCOMPARE(composed.text, line);
    QCOMPARE(composed.error, error);
    QCOMPARE(composed.ok(), error.isEmpty());
}

void TestHoleCommandComposer::holeOutsideList()
{
    HoleList list;
    list.append(Hole{});
    list.append(Hole{});
    const HoleCommandComposer composer(list);
    for (int index : {0, 3, -1})
        QCOMPARE(composer.composeHoleCommand(index).error,
                 QStringLiteral("hole %1 is not in the list of 2 holes").arg(index));
}

void TestHoleCommandComposer::failedFieldAppendsNothing()
{
    QString line = QStringLiteral("$,");
    QVERIFY(!HoleCommandComposer::appendNumberField(line, 2000000000, 4, 1250.f));
    QVERIFY(!HoleCommandComposer::appendNumberField(line, 1, 11, 0.f));
    QCOMPARE(line, QStringLiteral("$,"));
}

QTEST_APPLESS_MAIN(TestHoleCommandComposer)
#include "tst_holecommandcomposer.moc"
