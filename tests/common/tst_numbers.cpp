#include "common/numbers.h"

#include <QTest>

#include <limits>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    // "text=number" by "|".
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const QString rows = u"=0| 1\t2 3=123|  - 12=-12|+7=7|.5=0.5|1.2.3=1.2|1.5E3=1500|2e-1=0.2|"
                             "7E+x=7|3,75=3|abc=0|.=0|1E-999=0"_s;
        for (const QString &r : rows.split(u'|'))
            QTest::newRow(qPrintable(r)) << r.section(u'=', 0, 0) << r.section(u'=', 1).toDouble();
        constexpr double max = std::numeric_limits<double>::max();
        QTest::newRow("huge negative") << u"-9E99999999999"_s << -max;
        QTest::newRow("tiny without exponent") << u"0."_s + QString(400, u'0') + u'1' << 0.0;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(velmora::leadingNumber(text), expected);
        QCOMPARE(velmora::leadingNumber(text.toLatin1().toStdString()), expected);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        const std::pair<double, int> rows[] = {{12.5, 12},        {13.5, 14},    {-12.5, -12},
                                               {-13.5, -14},      {153.75, 154}, {3e9, INT32_MAX},
                                               {-3e9, INT32_MIN}, {qQNaN(), 0}};
        for (const auto &[value, expected] : rows)
            QTest::newRow(qPrintable(QString::number(value))) << value << expected;
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
        const std::pair<float, const char *> rows[] = {
            {1000.0f, "1000"},      {997.5f, "997.5"}, {0.5f, ".5"}, {-0.25f, "-.25"},
            {1.0f / 3, ".3333333"}, {0.0f, "0"},       {-0.0f, "0"}, {12345678.0f, "1.234568E+07"},
        };
        for (const auto &[value, expected] : rows)
            QTest::newRow(expected) << value << QString::fromLatin1(expected);
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
