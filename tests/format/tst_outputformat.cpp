#include "format/formattable.h"
#include "format/outputformat.h"
#include "format/userformatbuilder.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QString zelvoor = u"00050701****************"_s;
const QString zelvoorLengths = u"01040404****************"_s;
const QString zelvoorText = u"$ , Y-pos(4) , X-next(4) , 0000"_s;
const QString zelvoor2Text = u"$ , Y-pos(4) , X-begin(6) , X-end(6)"_s;

QString slotValues(const std::array<qint16, OutputFormat::Slots> &values)
{
    QStringList texts;
    for (qint16 v : values)
        texts.append(QString::number(v));
    return texts.join(u' ');
}

QString dollars(int count)
{
    return QStringList(count, u"$"_s).join(u" , "_s);
}

void row(const char *name, QStringView fields, QStringView lengths, QStringView expected)
{
    QTest::newRow(name) << fields.toString() << lengths.toString() << expected.toString();
}

void addColumns(const char *expected)
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("lengths");
    QTest::addColumn<QString>(expected);
}

} // namespace

class TestOutputFormat : public QObject
{
    Q_OBJECT
private slots:
    void readTexts_data();
    void readTexts();
    void describe_data();
    void describe();
    void describeEditedFields();
    void selectFormat();
    void userFormatAppliesOnReselect();
    // The editor driven by a script of steps: "f5" picks field kind 5, "l4"
    // length 4, "a" adds, "r" removes the last field, "o" opens it again.
    void userFormatEditor_data();
    void userFormatEditor();
};

void TestOutputFormat::readTexts_data()
{
    // Expected: the twelve codes, then the twelve lengths.
    addColumns("values");
    row("Zelvoor", zelvoor, zelvoorLengths,
        u"0 5 7 1 -1 -1 -1 -1 -1 -1 -1 -1 1 4 4 4 -1 -1 -1 -1 -1 -1 -1 -1");
    row("dashes", u"--05", u"----", u"0 5 0 0 0 0 0 0 0 0 0 0 -2 -2 0 0 0 0 0 0 0 0 0 0");
    row("half pair, missing pairs", u"00051", u"",
        u"0 5 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
    row("numbers in pairs", u" 55 ab1..5-39e*5", u"**-1",
        u"5 5 0 1 0 -3 9 0 0 0 0 0 -1 -1 0 0 0 0 0 0 0 0 0 0");
}

void TestOutputFormat::readTexts()
{
    QFETCH(QString, fields);
    QFETCH(QString, lengths);
    QFETCH(QString, values);
    const OutputFormat format = OutputFormat::fromTexts(fields, lengths);
    QCOMPARE(slotValues(format.fieldCode) + QLatin1Char(' ') + slotValues(format.fieldLength),
             values);
    // Written back, a full pair of texts is the same; others read back the same.
    const OutputFormat again = OutputFormat::fromTexts(format.fieldsText(), format.lengthsText());
    QCOMPARE(again, format);
    if (fields.size() == OutputFormat::TextLength && lengths.size() == OutputFormat::TextLength)
        QCOMPARE(format.fieldsText() + format.lengthsText(), fields + lengths);
}

void TestOutputFormat::describe_data()
{
    const QString tenZeros(10, QLatin1Char('0'));
    const QString asterisks(24, QLatin1Char('*'));
    addColumns("description");
    row("constant and var", u"000903**", u"01--00**", u"$ , field1(as is) , keynum(var)");
    row("no fields", asterisks, asterisks, u"");
    row("empty second slot", u"05**0701****************", zelvoorLengths, u"Y-pos(1)");
    row("short field text", u"0005", zelvoorLengths,
        QStringLiteral("$ , Y-pos(4) , ") + dollars(10));
    row("empty texts", u"", u"", dollars(12));
    row("zeros: none, negative, ten, capped", u"01010101**", u"00--1012",
        QStringLiteral(" ,  , ") + tenZeros + QStringLiteral(" , ") + tenZeros);
    row("dollar without suffix", u"00**", u"--", u"$");
    row("unknown code", u"2003**", u"0400", u"unknown code 20 , keynum(var)");
}

void TestOutputFormat::describe()
{
    QFETCH(QString, fields);
    QFETCH(QString, lengths);
    QFETCH(QString, description);
    QCOMPARE(OutputFormat::fromTexts(fields, lengths).description(), description);
}

void TestOutputFormat::describeEditedFields()
{
    // The editor describes every field it holds, also a slot of code -1.
    const std::array<qint16, 3> codes{5, -1, 7};
    const std::array<qint16, 3> lengths{4, -1, 0};
    QCOMPARE(describeFields(codes, lengths),
             QStringLiteral("Y-pos(4) , unknown code -1 , X-next(var)"));
}

void TestOutputFormat::selectFormat()
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
    QCOMPARE(changed.count(), 3);
    // Positions the format list does not offer change nothing.
    for (int position : {-1, 3, 10, 11})
        QVERIFY(!table.selectFormat(position));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(table.selectedFormat(), 2);
    QCOMPARE(table.currentFormatDescription(), zelvoor2Text);
}

void TestOutputFormat::userFormatAppliesOnReselect()
{
    FormatTable table;
    QVERIFY(table.selectFormat(0));
    table.setUserFormatFields(QStringLiteral("000903******************"));
    table.setUserFormatLengths(QStringLiteral("01--00******************"));
    QCOMPARE(table.currentFormatDescription(), zelvoorText);
    QVERIFY(table.selectFormat(0));
    QCOMPARE(table.currentFormatDescription(), QStringLiteral("$ , field1(as is) , keynum(var)"));
    QVERIFY(table.selectFormat(1));
    QCOMPARE(table.currentFormatDescription(), zelvoorText);
}

void TestOutputFormat::userFormatEditor_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("lengths");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("addEnabled");

    const QString stars = QString(24, u'*');
    const auto text = [&](const char *pairs) { return (QLatin1String(pairs) + stars).left(24); };
    QTest::newRow("worked example") << u"f0 a f2 l6 a f1 l3 a"_s << text("000201") << text("010603")
                                    << u"$ , X-begin(6) , 000"_s << true;
    QTest::newRow("zeroes variable") << u"f1 l0 a"_s << text("01") << text("01") << u"0"_s << true;
    QTest::newRow("field3 as is") << u"f11 a"_s << text("11") << text("--") << u"field3(as is)"_s
                                  << true;
    QTest::newRow("tracknum keeps its length")
        << u"f8 l5 a"_s << text("08") << text("05") << u"tracknum(5)"_s << true;
    QTest::newRow("no field") << u"a"_s << stars << stars << QString() << false;
    QTest::newRow("a number field needs a length")
        << u"l4 f0 a f2 a"_s << text("00") << text("01") << u"$"_s << false;
    QTest::newRow("remove at zero") << u"r f0 a"_s << text("00") << text("01") << u"$"_s << true;
    QTest::newRow("opening starts again")
        << u"f0 a o f3 l2 a"_s << text("03") << text("02") << u"keynum(2)"_s << true;
    const QString twelve = QString(u"f0 "_s + u"a "_s.repeated(13)).trimmed();
    QTest::newRow("twelve fields")
        << twelve << u"00"_s.repeated(12) << u"01"_s.repeated(12) << dollars(12) << false;
    QTest::newRow("remove enables add") << twelve + u" r"_s << u"00"_s.repeated(11) + u"**"_s
                                        << u"01"_s.repeated(11) + u"**"_s << dollars(11) << true;
}

void TestOutputFormat::userFormatEditor()
{
    QFETCH(QString, script);
    QFETCH(QString, fields);
    QFETCH(QString, lengths);
    QFETCH(QString, description);
    QFETCH(bool, addEnabled);

    UserFormatBuilder builder;
    builder.open();
    for (const QString &step : script.split(u' ')) {
        const int v = step.mid(1).toInt();
        const char c = step[0].toLatin1();
        c == 'f'   ? builder.pickField(v)
        : c == 'l' ? builder.pickLength(v)
        : c == 'a' ? builder.add()
        : c == 'r' ? builder.removeLast()
                   : builder.open();
    }
    QCOMPARE(builder.description(), description);
    QCOMPARE(builder.addEnabled(), addEnabled);

    FormatTable formats;
    formats.selectFormat(2);
    builder.store(formats);
    QCOMPARE(formats.formatFields(0), fields);
    QCOMPARE(formats.formatLengths(0), lengths);
    QCOMPARE(formats.selectedFormat(), 0);
    QCOMPARE(formats.currentFormatDescription(), description);
}

QTEST_APPLESS_MAIN(TestOutputFormat)
#include "tst_outputformat.moc"
