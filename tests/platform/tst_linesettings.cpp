#include "platform/linesettings.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(velmora::Parity)

class TestLineSettings : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void refused_data();
    void refused();
};

void TestLineSettings::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("baud");
    QTest::addColumn<Parity>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<QString>("written");
    QTest::newRow("standard") << u"9600,N,8,1"_s << 9600 << Parity::None << 8 << 1
                              << u"9600,N,8,1"_s;
    QTest::newRow("even 7 2") << u"4800,E,7,2"_s << 4800 << Parity::Even << 7 << 2
                              << u"4800,E,7,2"_s;
    QTest::newRow("odd") << u"2400,O,7,2"_s << 2400 << Parity::Odd << 7 << 2 << u"2400,O,7,2"_s;
    QTest::newRow("mark") << u"300,M,8,1"_s << 300 << Parity::Mark << 8 << 1 << u"300,M,8,1"_s;
    QTest::newRow("space") << u"115200,S,5,1"_s << 115200 << Parity::Space << 5 << 1
                           << u"115200,S,5,1"_s;
    QTest::newRow("lower case") << u"19200,e,8,1"_s << 19200 << Parity::Even << 8 << 1
                                << u"19200,E,8,1"_s;
    QTest::newRow("leading zero") << u"09600,N,08,1"_s << 9600 << Parity::None << 8 << 1
                                  << u"9600,N,8,1"_s;
    QTest::newRow("highest") << u"4000000,N,8,1"_s << 4000000 << Parity::None << 8 << 1
                             << u"4000000,N,8,1"_s;
}

void TestLineSettings::parse()
{
    QFETCH(QString, text);
    QFETCH(int, baud);
    QFETCH(Parity, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QFETCH(QString, written);
    const auto settings = LineSettings::parse(text);
    QVERIFY(settings);
    QCOMPARE(settings->baudRate, baud);
    QCOMPARE(settings->parity, parity);
    QCOMPARE(settings->dataBits, dataBits);
    QCOMPARE(settings->stopBits, stopBits);
    QCOMPARE(settings->text(), written);
}

void TestLineSettings::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("three items") << u"9600,N,8"_s;
    QTest::newRow("five items") << u"9600,N,8,1,0"_s;
    QTest::newRow("trailing comma") << u"9600,N,8,1,"_s;
    QTest::newRow("blank after comma") << u"9600, N,8,1"_s;
    QTest::newRow("blank at end") << u"9600,N,8,1 "_s;
    QTest::newRow("empty baud") << u",N,8,1"_s;
    QTest::newRow("zero baud") << u"0,N,8,1"_s;
    QTest::newRow("negative baud") << u"-9600,N,8,1"_s;
    QTest::newRow("baud with point") << u"9600.5,N,8,1"_s;
    QTest::newRow("baud too high") << u"4000001,N,8,1"_s;
    QTest::newRow("baud overflow") << u"99999999999999999999,N,8,1"_s;
    QTest::newRow("parity word") << u"9600,None,8,1"_s;
    QTest::newRow("parity letter") << u"9600,X,8,1"_s;
    QTest::newRow("no parity") << u"9600,,8,1"_s;
    QTest::newRow("4 data bits") << u"9600,N,4,1"_s;
    QTest::newRow("9 data bits") << u"9600,N,9,1"_s;
    QTest::newRow("0 stop bits") << u"9600,N,8,0"_s;
    QTest::newRow("1.5 stop bits") << u"9600,N,8,1.5"_s;
    QTest::newRow("3 stop bits") << u"9600,N,8,3"_s;
    QTest::newRow("semicolons") << u"9600;N;8;1"_s;
    QTest::newRow("arabic-indic digits") << u"\u0669\u0666\u0660\u0660,N,8,1"_s;
}

void TestLineSettings::refused()
{
    QFETCH(QString, text);
    QVERIFY(!LineSettings::parse(text));
}

QTEST_APPLESS_MAIN(TestLineSettings)
#include "tst_linesettings.moc"
