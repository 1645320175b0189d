#include "platform/linesettings.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestLineSettings : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

// The text read, and the settings read from it and written again; empty when
// the text is refused.
void TestLineSettings::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    const auto row = [](const char *text, const char *read) {
        QTest::newRow(text) << QString::fromUtf8(text) << QString::fromLatin1(read);
    };
    row("9600,N,8,1", "9600 None 8 1 9600,N,8,1");
    row("4800,E,7,2", "4800 Even 7 2 4800,E,7,2");
    row("2400,O,7,2", "2400 Odd 7 2 2400,O,7,2");
    row("300,M,8,1", "300 Mark 8 1 300,M,8,1");
    row("115200,S,5,1", "115200 Space 5 1 115200,S,5,1");
    row("19200,e,8,1", "19200 Even 8 1 19200,E,8,1");
    row("09600,N,08,1", "9600 None 8 1 9600,N,8,1");
    row("4000000,N,8,1", "4000000 None 8 1 4000000,N,8,1");
    // Refused: a field missing or too many, blanks, a baud rate, parity, data
    // or stop bits out of range or unreadable, other separators or digits.
    const QString refused =
        u"|9600,N,8|9600,N,8,1,0|9600,N,8,1,|9600, N,8,1|9600,N,8,1 |,N,8,1|0,N,8,1|-9600,N,8,1|"
        "9600.5,N,8,1|4000001,N,8,1|99999999999999999999,N,8,1|9600,None,8,1|9600,X,8,1|"
        "9600,,8,1|9600,N,4,1|9600,N,9,1|9600,N,8,0|9600,N,8,1.5|9600,N,8,3|9600;N;8;1|"
        "\u0669\u0666\u0660\u0660,N,8,1"_s;
    for (const QString &text : refused.split(u'|'))
        QTest::newRow(qPrintable(text)) << text << QString();
}

void TestLineSettings::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    const auto settings = LineSettings::parse(text);
    QCOMPARE(settings.has_value(), !read.isEmpty());
    const char *parities[] = {"None", "Even", "Odd", "Mark", "Space"};
    if (settings)
        QCOMPARE(u"%1 %2 %3 %4 %5"_s.arg(settings->baudRate)
                     .arg(QLatin1String(parities[int(settings->parity)]))
                     .arg(settings->dataBits)
                     .arg(settings->stopBits)
                     .arg(settings->text()),
                 read);
}

QTEST_APPLESS_MAIN(TestLineSettings)
#include "tst_linesettings.moc"
