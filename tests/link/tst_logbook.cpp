#include "link/logbook.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

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

    const QString sent = QStringLiteral("Sent: #,0020,0000,0000^");
    QTest::newRow("s") << sent << QStringLiteral("s")
                       << QStringLiteral("     ") + sent + QStringLiteral("\r\n");
    QTest::newRow("S") << sent << QStringLiteral("S")
                       << QStringLiteral("     ") + sent + QStringLiteral("\r\n");
    QTest::newRow("r") << QStringLiteral("Recvd: ok") << QStringLiteral("r")
                       << QString(14, QLatin1Char(' ')) + QStringLiteral("Recvd: ok\r\n");
    QTest::newRow("R") << QStringLiteral("Recvd: ok") << QStringLiteral("R")
                       << QString(14, QLatin1Char(' ')) + QStringLiteral("Recvd: ok\r\n");
    QTest::newRow("no kind") << QStringLiteral("Punching started") << QString()
                             << QStringLiteral("Punching started\r\n");
    QTest::newRow("other kind") << QStringLiteral("x") << QStringLiteral("q")
                                << QStringLiteral("x\r\n");
    QTest::newRow("empty message") << QString() << QString() << QStringLiteral("\r\n");
}

void TestLogbook::entry()
{
    QFETCH(QString, message);
    QFETCH(QString, kind);
    QFETCH(QString, expected);

    Logbook log;
    QSignalSpy appended(&log, &Logbook::appended);
    log.WriteLog(QStringLiteral("first"));
    log.WriteLog(message, kind);
    QCOMPARE(log.text(), QStringLiteral("first\r\n") + expected);
    QCOMPARE(appended.size(), 2);
    QCOMPARE(appended.last().at(0).toString(), expected);
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
    log.WriteLog(message);
    const QString before = message + QStringLiteral("\r\n");
    QCOMPARE(log.text(), before);

    QSignalSpy shortened(&log, &Logbook::shortened);
    QSignalSpy appended(&log, &Logbook::appended);
    log.WriteLog(QStringLiteral("next"), QStringLiteral("s"));
    const QString kept = cut ? before.right(5001) : before;
    QCOMPARE(log.text(), kept + QStringLiteral("     next\r\n"));
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
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    log.WriteLog(QString(5000, QLatin1Char('a')));
    log.WriteLog(clef + QString(4998, QLatin1Char('b')));
    QCOMPARE(log.text().size(), 10004);
    log.WriteLog(QString());
    QCOMPARE(log.text(), QString(4998, QLatin1Char('b')) + QStringLiteral("\r\n\r\n"));
}

QTEST_APPLESS_MAIN(TestLogbook)
#include "tst_logbook.moc"
