#include "roll/nextnote.h"

#include <QTest>

using namespace velmora;

class TestNextNote : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
};

constexpr int Enter = 13;    // the action column: Enter, or the bar's value
constexpr int NoChange = -1; // the expected column

void TestNextNote::choose_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("holeCount");
    QTest::addColumn<int>("expected");

    QTest::newRow("up moves one hole on") << QStringLiteral("3") << -1 << 250 << 4;
    QTest::newRow("down moves one hole back") << QStringLiteral("3") << 1 << 250 << 2;
    QTest::newRow("any other bar value moves back") << QStringLiteral("3") << 2 << 250 << 2;
    QTest::newRow("bar back at rest") << QStringLiteral("3") << 0 << 250 << NoChange;
    QTest::newRow("up at the last hole") << QStringLiteral(" 250") << -1 << 250 << 250;
    QTest::newRow("down at the first hole") << QStringLiteral("1") << 1 << 250 << 1;
    QTest::newRow("stepped, then rounded") << QStringLiteral("2.5") << -1 << 250 << 4;
    QTest::newRow("step without holes") << QStringLiteral("3") << -1 << 0 << NoChange;
    QTest::newRow("0") << QStringLiteral("0") << Enter << 250 << 1;
    QTest::newRow("999") << QStringLiteral("999") << Enter << 250 << 250;
    QTest::newRow("12abc") << QStringLiteral("12abc") << Enter << 250 << 12;
    QTest::newRow("2.5") << QStringLiteral("2.5") << Enter << 250 << 2;
    QTest::newRow("Enter without holes") << QStringLiteral("5") << Enter << 0 << NoChange;
}

void TestNextNote::choose()
{
    QFETCH(QString, text);
    QFETCH(int, action);
    QFETCH(int, holeCount);
    QFETCH(int, expected);
    const std::optional<NextNoteChoice> choice =
        action == Enter ? enterNextNote(text, holeCount) : stepNextNote(text, action, holeCount);
    QCOMPARE(choice.has_value(), expected != NoChange);
    if (choice) {
        QCOMPARE(choice->nextNote, expected);
        QCOMPARE(choice->text, QLatin1Char(' ') + QString::number(expected));
    }
}

QTEST_APPLESS_MAIN(TestNextNote)
#include "tst_nextnote.moc"
