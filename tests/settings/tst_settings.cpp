#include "settings/calibration.h"
#include "settings/statustext.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void calibration_data();
    void calibration();
    void statusText_data();
    void statusText();
};

void TestSettings::calibration_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("value"); // 0 for an invalid entry
    QTest::newRow("5") << u"5"_s << 0.0f;
    QTest::newRow("50") << u"50"_s << 50.0f;
    QTest::newRow("10") << u"10"_s << 0.0f;
    QTest::newRow("just above 10") << u"10.001"_s << 10.001f;
    QTest::newRow("10000") << u"10000"_s << 0.0f;
    QTest::newRow("9999.5") << u"9999.5"_s << 9999.5f;
    QTest::newRow("1E999") << u"1E999"_s << 0.0f;
    QTest::newRow("exponent, blanks inside") << u" 1.2 5e3"_s << 1250.0f;
    QTest::newRow("no number") << u"abc"_s << 0.0f;
    QTest::newRow("negative") << u"-500"_s << 0.0f;
    QTest::newRow("single precision") << u"1000.00001"_s << 1000.0f;
}

void TestSettings::calibration()
{
    QFETCH(QString, text);
    QFETCH(float, value);
    QCOMPARE(CalibrationValue(text).value_or(0.0f), value);
}

void TestSettings::statusText_data()
{
    QTest::addColumn<StatusValues>("values");
    QTest::addColumn<QString>("text");

    const StatusValues open{u"Zelvoor"_s, u"$ , Y-pos(4) , X-next(4) , 0000"_s,
                            1000.0f,      1000.0f,
                            u"COM1"_s,    true,
                            u"9600"_s,    u"None"_s,
                            u"1"_s};
    QTest::newRow("Zelvoor, COM1 open")
        << open
        << u"Zelvoor\r\n$ , Y-pos(4) , X-next(4) , 0000\r\n\r\nXcalibration: 1000\r\n"
           "Ycalibration: 1000\r\n\r\nPort: COM1 (open)\r\nBaud: 9600\r\nParity: None\r\n"
           "Stopbits: 1"_s;
    const StatusValues closed{u"User format"_s, QString(), 997.5f, 10.25f, u"COM3"_s, false,
                              u"2400"_s,        u"Odd"_s,  u"2"_s};
    QTest::newRow("COM3 closed")
        << closed
        << u"User format\r\n\r\n\r\nXcalibration: 997.5\r\nYcalibration: 10.25\r\n\r\n"
           "Port: COM3 (closed)\r\nBaud: 2400\r\nParity: Odd\r\nStopbits: 2"_s;
}

void TestSettings::statusText()
{
    QFETCH(StatusValues, values);
    QFETCH(QString, text);
    QCOMPARE(velmora::statusText(values), text);
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
