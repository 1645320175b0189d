#include "common/numbers.h"

#include <QTest>

#include <limits>

using namespace velmora;

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("blanks only") << QStringLiteral("      ") << 0.0;
        QTest::newRow("right aligned") << QStringLiteral("  1234") << 1234.0;
        QTest::newRow("blanks inside") << QStringLiteral(" 1 2 3") << 123.0;
        QTest::newRow("tab inside") << QStringLiteral("\t4\t5") << 45.0;
        QTest::newRow("sign after blanks") << QStringLiteral("  - 12") << -12.0;
        QTest::newRow("plus") << QStringLiteral("+7") << 7.0;
        QTest::newRow("fraction") << QStringLiteral("12.5") << 12.5;
        QTest::newRow("no leading digit") << QStringLiteral(".5") << 0.5;
        QTest::newRow("second point stops") << QStringLiteral("1.2.3") << 1.2;
        QTest::newRow("exponent") << QStringLiteral("1.5E3") << 1500.0;
        QTest::newRow("lower exponent") << QStringLiteral("2e-1") << 0.2;
        QTest::newRow("exponent without digits") << QStringLiteral("7E") << 7.0;
        QTest::newRow("exponent sign only") << QStringLiteral("7E+x") << 7.0;
        QTest::newRow("stops at letter") << QStringLiteral("42abc") << 42.0;
        QTest::newRow("comma is no point") << QStringLiteral("3,75") << 3.0;
        QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
        QTest::newRow("lone sign") << QStringLiteral("-") << 0.0;
        QTest::newRow("lone point") << QStringLiteral(".") << 0.0;
        QTest::newRow("huge") << QStringLiteral("1E999") << std::numeric_limits<double>::max();
        QTest::newRow("huge negative")
            << QStringLiteral("-9E99999999999") << -std::numeric_limits<double>::max();
        QTest::newRow("tiny") << QStringLiteral("1E-999") << 0.0;
        QTest::newRow("tiny without exponent")
            << QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1") << 0.0;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(velmora::leadingNumber(QStringView(text)), expected);
        const QByteArray bytes = text.toLatin1();
        QCOMPARE(velmora::leadingNumber(std::string_view(bytes.constData(), bytes.size())),
                 expected);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("12.5") << 12.5 << 12;
        QTest::newRow("13.5") << 13.5 << 14;
        QTest::newRow("-12.5") << -12.5 << -12;
        QTest::newRow("-13.5") << -13.5 << -14;
        QTest::newRow("153.75") << 153.75 << 154;
        QTest::newRow("above range") << 3e9 << std::numeric_limits<qint32>::max();
        QTest::newRow("below range") << -3e9 << std::numeric_limits<qint32>::min();
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
    }

    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(velmora::roundHalfEven(value), expected);
    }

    void singleText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1000") << 1000.0f << QStringLiteral("1000");
        QTest::newRow("997.5") << 997.5f << QStringLiteral("997.5");
        QTest::newRow("below one") << 0.5f << QStringLiteral(".5");
        QTest::newRow("negative below one") << -0.25f << QStringLiteral("-.25");
        QTest::newRow("third") << (1.0f / 3.0f) << QStringLiteral(".3333333");
        QTest::newRow("zero") << 0.0f << QStringLiteral("0");
        QTest::newRow("negative zero") << -0.0f << QStringLiteral("0");
        QTest::newRow("large") << 12345678.0f << QStringLiteral("1.234568E+07");
    }

    void singleText()
    {
        QFETCH(float, value);
        QFETCH(QString, expected);
        QCOMPARE(velmora::singleText(value), expected);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
