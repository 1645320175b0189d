#include "link/logbook.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

class TestLogbook : public QObject
{
    Q_OBJECT
private slots:
    void entry_data();
    void entry();
    void bound_data();
    void bound();
    void cutKeepsWholeCharacters();
};

void TestLogbook::entry_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");
    const QString sent = u"Sent: #,0020,0000,0000^"_s;
    QTest::newRow("s") << sent << u"s"_s << u"     "_s + sent;
    QTest::newRow("S") << sent << u"S"_s << u"     "_s + sent;
    QTest::newRow("r") << u"Recvd: ok"_s << u"r"_s << QString(14, u' ') + u"Recvd: ok"_s;
    QTest::newRow("R") << u"Recvd: ok"_s << u"R"_s << QString(14, u' ') + u"Recvd: ok"_s;
    QTest::newRow("no kind") << u"Punching started"_s << QString() << u"Punching started"_s;
    QTest::newRow("other kind") << u"x"_s << u"q"_s << u"x"_s;
    QTest::newRow("empty message") << QString() << QString() << QString();
}

void TestLogbook::entry()
{
    QFETCH(QString, message);
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    Logbook log;
    QSignalSpy appended(&log, &Logbook::appended);
    log.writeLog(u"first"_s);
    log.writeLog(message, kind);
    QCOMPARE(log.text(), u"first\r\n"_s + expected + u"\r\n"_s);
    QCOMPARE(appended.size(), 2);
    QCOMPARE(appended.last().at(0).toString(), expected + u"\r\n"_s);
}

void TestLogbook::bound_data()
{
    QTest::addColumn<int>("length"); // of the text before the entry
    QTest::addColumn<bool>("cut");
    QTest::newRow("at the bound") << 10000 << false;
    QTest::newRow("just past") << 10001 << true;
    QTest::newRow("well past") << 10500 << true;
}

void TestLogbook::bound()
{
    QFETCH(int, length);
    QFETCH(bool, cut);
    // One entry of the given length, with digits that show where a cut falls.
    Logbook log;
    QString message;
    while (message.size() < length - 2)
        message += QString::number(message.size() % 10);
    log.writeLog(message);
    const QString before = message + u"\r\n"_s;
    QCOMPARE(log.text(), before);

    QSignalSpy shortened(&log, &Logbook::shortened);
    QSignalSpy appended(&log, &Logbook::appended);
    log.writeLog(u"next"_s, u"s"_s);
    const QString kept = cut ? before.right(5001) : before;
    QCOMPARE(log.text(), kept + u"     next\r\n"_s);
    QCOMPARE(shortened.size(), cut ? 1 : 0);
    if (cut)
        QCOMPARE(shortened.first().at(0).toString(), kept);
    QCOMPARE(appended.size(), 1);
}

void TestLogbook::cutKeepsWholeCharacters()
{
    // The cut would fall between the two halves of a character outside the
    // basic plane: the whole character goes.
    Logbook log;
    log.writeLog(QString(5000, u'a'));
    log.writeLog(QString::fromUcs4(U"\U0001D11E") + QString(4998, u'b'));
    QCOMPARE(log.text().size(), 10004);
    log.writeLog(QString());
    QCOMPARE(log.text(), QString(4998, u'b') + u"\r\n\r\n"_s);
}

QTEST_APPLESS_MAIN(TestLogbook)
#include "tst_logbook.moc"
