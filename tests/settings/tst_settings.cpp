#include "settings/parameterfile.h"

#include <QTest>

#include <functional>

using namespace velmora;
using namespace Qt::StringLiterals;
using Values = ParameterFile::Values;

namespace {

Values with(const std::function<void(Values &)> &change)
{
    Values values;
    change(values);
    return values;
}

Values readValues(const QByteArray &file)
{
    Values values;
    for (const ParameterFile::Setting &setting : ParameterFile::read(file))
        ParameterFile::apply(setting, values);
    return values;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void readParameterFile_data();
    void readParameterFile();
    void writeParameterFile();
};

void TestSettings::readParameterFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Values>("values"); // applied to the start values

    QTest::newRow("capital key") << "Port 3\r\n"_ba << Values{};
    QTest::newRow("five characters, no line end")
        << "port 3\r\nport1"_ba << with([](Values &v) { v.port = 0; });
    QTest::newRow("separator unchecked") << "port:3"_ba << with([](Values &v) { v.port = 3; });
    QTest::newRow("rtse 2, dtre 1.0")
        << "rtse 2\r\ndtre 1.0\r\n"_ba << with([](Values &v) { v.forceDtr = true; });
    QTest::newRow("a later 0 keeps the 1")
        << "rtse 1\r\nrtse 0\r\n"_ba << with([](Values &v) { v.forceRts = true; });
    QTest::newRow("baud 5.5") << "baud 5.5"_ba << with([](Values &v) { v.baud = 6; });
    QTest::newRow("baud 4.5") << "baud 0\r\nbaud 4.5"_ba << with([](Values &v) { v.baud = 4; });
    QTest::newRow("unknown and duplicate lines")
        << "xxxx 1\r\n\r\nport 1\r\nport 2\r\n"_ba << with([](Values &v) { v.port = 2; });
    QTest::newRow("CR, LF and CR LF") << "port 2\nbaud 7\rdata 0\r\n"_ba << with([](Values &v) {
        v.port = 2;
        v.dataBits = 0;
        v.baud = 7;
    });
    QTest::newRow("no entry, beyond 16 bits, no box state")
        << "port 6\r\nform 3\r\nform -1\r\nbaud 70000\r\nstop 65537\r\ndisr 2\r\nmirr -1\r\n"_ba
        << Values{};
    QTest::newRow("no number") << "baud abc\r\nform\r\n"_ba << with([](Values &v) {
        v.baud = 0;
        v.format = 0;
    });
    QTest::newRow("calibration out of range kept")
        << "xcal 5\r\nycal 997.5\r\nycal 1E999\r\n"_ba
        << with([](Values &v) { v.yCalibration = 997.5f; });
    QTest::newRow("texts trimmed, Windows-1252") << "idir  C:\\Mus\xe9"
                                                    "e \r\nfrf1 0005**\r\n"_ba
                                                 << with([](Values &v) {
                                                        v.prtDir = u"C:\\Musée"_s;
                                                        v.userFields = u"0005**"_s;
                                                    });
    QTest::newRow("UTF-8") << "idir /home/m\xc3\xa9\r\n"_ba
                           << with([](Values &v) { v.prtDir = u"/home/mé"_s; });
}

void TestSettings::readParameterFile()
{
    QFETCH(QByteArray, file);
    QFETCH(Values, values);
    QCOMPARE(readValues(file), values);
}

void TestSettings::writeParameterFile()
{
    const QString zelvoor = u"00050701****************"_s;
    const QString zelvoorLengths = u"01040404****************"_s;
    const Values example{u"C:\\Rolls"_s, 1, 1, 5, 0, 0, true, false, zelvoor, zelvoorLengths, 1};
    QCOMPARE(ParameterFile::write(example),
             "idir C:\\Rolls\r\nport 1\r\ndata 1\r\nbaud 5\r\nstop 0\r\npari 0\r\nrtse 1\r\n"
             "dtre 0\r\nfrf1 00050701****************\r\nfrl1 01040404****************\r\n"
             "form 1\r\nxcal 1000\r\nycal 1000\r\ndisr 0\r\nmirr 0\r\n"_ba);

    const Values everything{
        u"/home/mé/rolls"_s, 5, 0,      9,      1,    2,   true, true, u"000201**"_s,
        u"010603**"_s,       2, 997.5f, 12.25f, true, true};
    const QByteArray file = ParameterFile::write(everything);
    QCOMPARE(readValues(file), everything);
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
