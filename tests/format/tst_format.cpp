#include "format/formattable.h"
#include "format/holecommandcomposer.h"
#include "format/outputformat.h"
#include "format/userformatbuilder.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// The example hole: X-begin, keynum, X-end, Y-pos, keywidth, X-next, tracknum.
const Hole example{1234, 60, 1250, 123, 20, 45, 3};

const char *zelvoor = "00050701****************";
const char *zelvoorLengths = "01040404****************";
const char *zelvoor2 = "00050204****************";
const char *zelvoor2Lengths = "01040606****************";

// A composed line; an expected text starting "hole " is a refused one's error.
void row(const char *name, const char *fields, const char *lengths, float x, float y, Hole hole,
         const char *expected)
{
    QTest::newRow(name) << fields << lengths << x << y << hole << expected;
}

const QString zelvoorText = u"$ , Y-pos(4) , X-next(4) , 0000"_s;
const QString zelvoor2Text = u"$ , Y-pos(4) , X-begin(6) , X-end(6)"_s;

QString slotValues(const std::array<qint16, OutputFormat::Slots> &values)
{
    QStringList texts;
    for (qint16 v : values)
        texts.append(QString::number(v));
    return texts.join(u' ');
}

void row(const char *name, QAnyStringView fields, QAnyStringView lengths, QAnyStringView expected)
{
    QTest::newRow(name) << fields.toString() << lengths.toString() << expected.toString();
}

} // namespace

Q_DECLARE_METATYPE(velmora::Hole)

// The output formats: the texts read, their descriptions, the format list,
// and the hole commands composed in them.
class TestFormat : public QObject
{
    Q_OBJECT
private slots:
    void readTexts_data()
    {
        // Expected: the twelve codes, then the twelve lengths.
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("lengths");
        QTest::addColumn<QString>("values");
        row("Zelvoor", zelvoor, zelvoorLengths,
            u"0 5 7 1 -1 -1 -1 -1 -1 -1 -1 -1 1 4 4 4 -1 -1 -1 -1 -1 -1 -1 -1");
        row("dashes", u"--05", u"----", u"0 5 0 0 0 0 0 0 0 0 0 0 -2 -2 0 0 0 0 0 0 0 0 0 0");
        row("half pair, missing pairs", u"00051", u"",
            u"0 5 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
        row("numbers in pairs", u" 55 ab1..5-39e*5", u"**-1",
            u"5 5 0 1 0 -3 9 0 0 0 0 0 -1 -1 0 0 0 0 0 0 0 0 0 0");
    }

    void readTexts()
    {
        QFETCH(QString, fields);
        QFETCH(QString, lengths);
        QFETCH(QString, values);
        const OutputFormat format = OutputFormat::fromTexts(fields, lengths);
        QCOMPARE(slotValues(format.fieldCode) + QLatin1Char(' ') + slotValues(format.fieldLength),
                 values);
        // Written back, a full pair of texts is the same; others read back the same.
        QCOMPARE(OutputFormat::fromTexts(format.fieldsText(), format.lengthsText()), format);
        if (fields.size() == OutputFormat::TextLength && lengths.size() == OutputFormat::TextLength)
            QCOMPARE(format.fieldsText() + format.lengthsText(), fields + lengths);
    }

    void describe_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("lengths");
        QTest::addColumn<QString>("description");
        row("constant and var", u"000903**", u"01--00**", u"$ , field1(as is) , keynum(var)");
        row("empty second slot", u"05**0701****************", zelvoorLengths, u"Y-pos(1)");
        row("zeros: none, negative, ten, capped", u"01010101**", u"00--1012",
            u" ,  , 0000000000 , 0000000000");
        row("unknown code", u"2003**", u"0400", u"unknown code 20 , keynum(var)");
    }

    void describe()
    {
        QFETCH(QString, fields);
        QFETCH(QString, lengths);
        QFETCH(QString, description);
        QCOMPARE(OutputFormat::fromTexts(fields, lengths).description(), description);
    }

    void describeEditedFields()
    {
        // The editor describes every field it holds, also a slot of code -1.
        const std::array<qint16, 3> codes{5, -1, 7}, lengths{4, -1, 0};
        QCOMPARE(describeFields(codes, lengths), u"Y-pos(4) , unknown code -1 , X-next(var)"_s);
    }

    void selectFormat()
    {
        FormatTable table;
        QSignalSpy changed(&table, &FormatTable::currentFormatChanged);
        QSignalSpy shown(&table, &FormatTable::currentFormatShown);
        const QStringList expected{zelvoorText, zelvoorText, zelvoor2Text};
        for (int position = 0; position < 3; ++position) {
            QVERIFY(table.selectFormat(position));
            QCOMPARE(table.selectedFormat(), position);
            QCOMPARE(shown.takeLast().at(0).toString(), expected[position]);
        }
        // Positions the format list does not offer change nothing.
        for (int position : {-1, 3, 10, 11})
            QVERIFY(!table.selectFormat(position));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(shown.count(), 0);
        QCOMPARE(table.selectedFormat(), 2);

        // A new user format applies when it is selected again.
        QVERIFY(table.selectFormat(0));
        table.setUserFormatFields(u"000903******************"_s);
        table.setUserFormatLengths(u"01--00******************"_s);
        QCOMPARE(table.currentFormatDescription(), zelvoorText);
        QVERIFY(table.selectFormat(0));
        QCOMPARE(table.currentFormatDescription(), u"$ , field1(as is) , keynum(var)"_s);
    }

    void compose_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("lengths");
        QTest::addColumn<float>("xCal");
        QTest::addColumn<float>("yCal");
        QTest::addColumn<Hole>("hole");
        QTest::addColumn<QString>("expected");
        const auto with = [](qint32 Hole::*field, qint32 value) {
            Hole h = example;
            h.*field = value;
            return h;
        };
        row("Zelvoor", zelvoor, zelvoorLengths, 1000, 1000, example, "$,0123,0045,0000");
        row("Zelvoor2", zelvoor2, zelvoor2Lengths, 1000, 1000, example, "$,0123,001234,001250");
        row("Zelvoor calibrated", zelvoor, zelvoorLengths, 1010, 1250, example, "$,0154,0045,0000");
        row("Zelvoor2 calibrated", zelvoor2, zelvoor2Lengths, 1010, 1250, example,
            "$,0154,001246,001262");
        row("user format from the editor", "000201******************", "010603******************",
            1000, 1000, example, "$,001234,000");
        row("var, as is, zeroes; keynum, tracknum unscaled", "00030801**", "0100--02", 2000, 1500,
            example, "$,60,3,00");
        row("negative as is", "070707**", "0001--", 1000, 1000, with(&Hole::xNext, -12),
            "-12,-12,-12");
        row("negative fixed", "070707**", "040210", 1000, 1000, with(&Hole::xNext, -12),
            "-012,-2,-000000012");
        row("half down to even", "06**", "00", 1000, 1500, with(&Hole::keywidth, 3), "4");
        row("1000 keeps any value", "0204**", "0010", 1000, 1000, with(&Hole::xEnd, 2000000001),
            "1234,2000000001");
        row("lowest 32-bit", "0504**", "0010", 1000, 2000, Hole{0, 0, INT32_MIN, -1073741824},
            "-2147483648,-147483648");
        row("zeros: none, ten, capped", "010101**", "--1012", 1000, 1000, example,
            ",0000000000,0000000000");
        row("unknown code", "002005**", "011204", 1000, 1000, example, "$,,0123");
        row("after empty slot", "05**0701****", "04040404", 1000, 1000, example, "0123");

        row("above 32 bits", "0005**", "0104", 1000, 2000, with(&Hole::yPos, 1073741824),
            "hole 2: Y-pos 1073741824 scaled by 2000 gives 2147483648, which does not fit in 32 "
            "bits");
        row("below 32 bits", "0002**", "0100", 3000, 1000, with(&Hole::xBegin, -1073741824),
            "hole 2: X-begin -1073741824 scaled by 3000 gives -3221225472, which does not fit in "
            "32 bits");
        row("infinite", "07**", "04", qInf(), 1000, example,
            "hole 2: X-next 45 scaled by INF gives infinite, which does not fit in 32 bits");
        row("zero times infinite", "06**", "04", 1000, qInf(), with(&Hole::keywidth, 0),
            "hole 2: keywidth 0 scaled by INF gives not a number, which does not fit in 32 bits");
        row("length above 10", "0007**", "0111", 1000, 1000, example,
            "hole 2: X-next field length 11 is more than 10 digits");
        row("unscaled length above 10", "000508**", "010412", 1000, 1000, example,
            "hole 2: tracknum field length 12 is more than 10 digits");
    }

    void compose()
    {
        QFETCH(QString, fields);
        QFETCH(QString, lengths);
        QFETCH(float, xCal);
        QFETCH(float, yCal);
        QFETCH(Hole, hole);
        QFETCH(QString, expected);
        const bool refused = expected.startsWith(u"hole "_s);
        // Hole 2 is the one composed; hole 1 before it gives its X-next.
        HoleList list;
        list.append(Hole{qint32(qint64(hole.xBegin) - hole.xNext)});
        list.append(hole);
        HoleCommandComposer composer(list);
        composer.setFormat(OutputFormat::fromTexts(fields, lengths));
        composer.setXCalibration(xCal);
        composer.setYCalibration(yCal);
        const ComposedLine composed = composer.composeHoleCommand(2);
        QCOMPARE(composed.text, refused ? QString() : expected);
        QCOMPARE(composed.error, refused ? expected : QString());
    }

    void holeOutsideList()
    {
        HoleList list;
        list.append(Hole{});
        list.append(Hole{});
        const HoleCommandComposer composer(list);
        for (int index : {0, 3, -1})
            QCOMPARE(composer.composeHoleCommand(index).error,
                     QStringLiteral("hole %1 is not in the list of 2 holes").arg(index));
    }

    // The editor driven by a script of steps: "f5" picks field kind 5, "l4"
    // length 4, "a" adds, "r" removes the last field, "o" opens it again.
    void userFormatEditor_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("lengths");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("addEnabled");

        const auto row = [](const char *name, const QString &script, const QString &fields,
                            const QString &lengths, const QString &description, bool addEnabled) {
            QTest::newRow(name) << script << fields << lengths << description << addEnabled;
        };
        row("worked example", u"f0 a f2 l6 a f1 l3 a"_s, u"000201"_s, u"010603"_s,
            u"$ , X-begin(6) , 000"_s, true);
        row("zeroes variable", u"f1 l0 a"_s, u"01"_s, u"01"_s, u"0"_s, true);
        row("field3 as is", u"f11 a"_s, u"11"_s, u"--"_s, u"field3(as is)"_s, true);
        row("reopened, tracknum keeps its length", u"f0 a o f8 l5 a"_s, u"08"_s, u"05"_s,
            u"tracknum(5)"_s, true);
        row("no field, remove at none", u"r a"_s, QString(), QString(), QString(), false);
        row("a number field needs a length", u"l4 f0 a f2 a"_s, u"00"_s, u"01"_s, u"$"_s, false);
        const QString twelve = u"f0"_s + u" a"_s.repeated(13);
        row("twelve fields", twelve, u"00"_s.repeated(12), u"01"_s.repeated(12),
            u"$ , "_s.repeated(11) + u'$', false);
        row("remove enables add", twelve + u" r"_s, u"00"_s.repeated(11), u"01"_s.repeated(11),
            u"$ , "_s.repeated(10) + u'$', true);
    }

    void userFormatEditor()
    {
        QFETCH(QString, script);
        QFETCH(QString, fields);
        QFETCH(QString, lengths);
        QFETCH(QString, description);
        QFETCH(bool, addEnabled);

        UserFormatBuilder builder;
        builder.open();
        for (const QString &step : script.split(u' ')) {
            const char c = step[0].toLatin1();
            c == 'f'   ? builder.pickField(step.mid(1).toInt())
            : c == 'l' ? builder.pickLength(step.mid(1).toInt())
            : c == 'a' ? builder.add()
            : c == 'r' ? builder.removeLast()
                       : builder.open();
        }
        QCOMPARE(builder.description(), description);
        QCOMPARE(builder.addEnabled(), addEnabled);

        FormatTable formats;
        formats.selectFormat(2);
        builder.store(formats);
        QCOMPARE(formats.formatFields(0), fields.leftJustified(24, u'*'));
        QCOMPARE(formats.formatLengths(0), lengths.leftJustified(24, u'*'));
        QCOMPARE(formats.currentFormatDescription(), description);
    }
};

QTEST_APPLESS_MAIN(TestFormat)
#include "tst_format.moc"
