#include "prt/holelist.h"
#include "roll/rollgeometry.h"

#include <QRandomGenerator>
#include <QTest>

#include <array>
#include <vector>

using namespace velmora;

namespace {

// xBegin, yPos, keywidth, xEnd
using HoleRow = std::vector<std::array<qint32, 4>>;

void Fill(HoleList &list, const HoleRow &rows, float paperWidth, const QString &nType)
{
    list.clear();
    list.paperWidth = paperWidth;
    list.nType = nType;
    for (const auto &row : rows)
        list.append(Hole{row[0], 0, row[3], row[1], row[2]});
}

// The shapes in a short readable form, numbers to six significant digits.
QStringList Describe(const std::vector<RollShape> &shapes)
{
    static const QStringList kinds{QStringLiteral("line"), QStringLiteral("circle"),
                                   QStringLiteral("rect"), QStringLiteral("fill")};
    const auto n = [](double v) { return QString::number(v, 'g', 6); };
    QStringList out;
    for (const RollShape &shape : shapes) {
        QString text = kinds[int(shape.kind)] + QLatin1Char(' ') + n(shape.x1) + QLatin1Char(',') +
                       n(shape.y1) + QLatin1Char(' ');
        text += shape.kind == RollShape::Kind::Circle
                    ? QLatin1Char('r') + n(shape.radius)
                    : n(shape.x2) + QLatin1Char(',') + n(shape.y2);
        text += shape.rgb == RollRed     ? QStringLiteral(" red")
                : shape.rgb == RollBlack ? QStringLiteral(" black")
                : shape.rgb == RollGrey  ? QStringLiteral(" grey")
                                         : QStringLiteral(" other");
        out << text;
    }
    return out;
}

// Paper 1200 on a 600 x 240 view: scale 0.2, the view is 3000 units long,
// the origin lands on pixel 300 and the drawn centre line is at 301.
const QString Centre = QStringLiteral("line 301,0 301,240 red");
const HoleRow ThreeHoles = {{500, 100, 45, 700}, {1000, 200, 45, 1100}, {1200, 300, 45, 1300}};

} // namespace

Q_DECLARE_METATYPE(HoleRow)

class TestRollGeometry : public QObject
{
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void emptyPreview();
    void binarySearchMatchesWalk();
};

void TestRollGeometry::shapes_data()
{
    QTest::addColumn<HoleRow>("holes");
    QTest::addColumn<QString>("nType");
    QTest::addColumn<float>("paperWidth");
    QTest::addColumn<int>("nextNote");
    QTest::addColumn<bool>("mirror");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QStringList>("expected");

    const QString P = QStringLiteral("P");
    const QString S = QStringLiteral("S");

    QTest::newRow("next note 1: all grey right of the line")
        << ThreeHoles << P << 1200.0f << 1 << false << false
        << QStringList{Centre, QStringLiteral("circle 400,20 r3.2 grey"),
                       QStringLiteral("circle 500,40 r3.2 grey"),
                       QStringLiteral("circle 540,60 r3.2 grey")};
    QTest::newRow("next note 1 with right: left of the line")
        << ThreeHoles << P << 1200.0f << 1 << false << true
        << QStringList{Centre, QStringLiteral("circle 200,20 r3.2 grey"),
                       QStringLiteral("circle 100,40 r3.2 grey"),
                       QStringLiteral("circle 60,60 r3.2 grey")};
    QTest::newRow("next note 3: black, red on the line, grey")
        << ThreeHoles << P << 1200.0f << 3 << false << false
        << QStringList{Centre, QStringLiteral("circle 200,20 r4 black"),
                       QStringLiteral("circle 300,40 r4 red"),
                       QStringLiteral("circle 300,40 r1 red"),
                       QStringLiteral("circle 340,60 r3.2 grey")};
    QTest::newRow("after the last hole: all black, last red")
        << ThreeHoles << P << 1200.0f << 4 << false << false
        << QStringList{Centre, QStringLiteral("circle 160,20 r4 black"),
                       QStringLiteral("circle 260,40 r4 black"),
                       QStringLiteral("circle 300,60 r4 red"),
                       QStringLiteral("circle 300,60 r1 red")};
    QTest::newRow("px 0 hidden, later holes drawn")
        << HoleRow{{500, 0, 45, 0}, {600, 0, 45, 0}, {2000, 0, 45, 0}} << P << 1200.0f << 4 << false
        << false
        << QStringList{Centre, QStringLiteral("circle 20,0 r4 black"),
                       QStringLiteral("circle 300,0 r4 red"),
                       QStringLiteral("circle 300,0 r1 red")};
    QTest::newRow("mirror: Y-pos 0 at the bottom")
        << HoleRow{{500, 0, 45, 0}} << P << 1200.0f << 1 << true << false
        << QStringList{Centre, QStringLiteral("circle 400,240 r3.2 grey")};
    QTest::newRow("stop at the right edge, exactly at the width")
        << HoleRow{{500, 0, 45, 0}, {1500, 0, 45, 0}, {600, 0, 45, 0}} << P << 1200.0f << 1 << false
        << false << QStringList{Centre, QStringLiteral("circle 400,0 r3.2 grey")};
    QTest::newRow("holes left of the picture do not stop the walk")
        << HoleRow{{-90000, 0, 45, 0}, {600, 0, 45, 0}} << P << 1200.0f << 1 << false << false
        << QStringList{Centre, QStringLiteral("circle 420,0 r3.2 grey")};
    QTest::newRow("negative radius is a point")
        << HoleRow{{500, 0, 3, 0}, {1000, 0, 3, 0}} << P << 1200.0f << 2 << false << false
        << QStringList{Centre, QStringLiteral("circle 300,0 r0 red"),
                       QStringLiteral("circle 300,0 r1 red"),
                       QStringLiteral("circle 400,0 r0 grey")};
    QTest::newRow("slots") << ThreeHoles << S << 1200.0f << 3 << false << false
                           << QStringList{Centre, QStringLiteral("rect 200,18 240,22 black"),
                                          QStringLiteral("fill 300,38 320,42 red"),
                                          QStringLiteral("rect 340,58.4 360,61.6 grey")};
    QTest::newRow("slots with right still extend right")
        << ThreeHoles << S << 1200.0f << 3 << false << true
        << QStringList{Centre, QStringLiteral("rect 400,18 440,22 black"),
                       QStringLiteral("fill 300,38 320,42 red"),
                       QStringLiteral("rect 260,58.4 280,61.6 grey")};
    QTest::newRow("empty list, next note 0")
        << HoleRow{} << P << 1200.0f << 0 << false << false << QStringList{Centre};
    QTest::newRow("next note 0 with holes")
        << ThreeHoles << P << 1200.0f << 0 << false << false << QStringList{Centre};
    QTest::newRow("next note past the end")
        << ThreeHoles << P << 1200.0f << 5 << false << false << QStringList{Centre};
    QTest::newRow("paper width 0")
        << ThreeHoles << P << 0.0f << 1 << false << false << QStringList{Centre};
}

void TestRollGeometry::shapes()
{
    QFETCH(HoleRow, holes);
    QFETCH(QString, nType);
    QFETCH(float, paperWidth);
    QFETCH(int, nextNote);
    QFETCH(bool, mirror);
    QFETCH(bool, right);
    QFETCH(QStringList, expected);

    HoleList list;
    Fill(list, holes, paperWidth, nType);
    RollRequest request{nextNote, 600, 240, mirror, right, false};
    QCOMPARE(Describe(DrawRollShapes(list, request)), expected);
    if (HolesAscending(list)) {
        request.ascending = true;
        QCOMPARE(Describe(DrawRollShapes(list, request)), expected);
    }
}

void TestRollGeometry::emptyPreview()
{
    QCOMPARE(Describe(EmptyRollShapes(601, 240)),
             QStringList{QStringLiteral("line 300.5,0 300.5,240 red")});
    HoleList list;
    QCOMPARE(Describe(DrawRollShapes(list, RollRequest{0, 601, 240, false, false, true})),
             QStringList{QStringLiteral("line 301.5,0 301.5,240 red")});
}

void TestRollGeometry::binarySearchMatchesWalk()
{
    // Ascending rolls with repeated X-begin values and long gaps, on views of
    // odd and even sizes, at every kind of next note.
    QRandomGenerator random(20240611);
    HoleList list;
    for (const QString &nType : {QStringLiteral("P"), QStringLiteral("S")}) {
        list.clear();
        list.nType = nType;
        list.paperWidth = 2500.0f;
        qint32 x = -200;
        for (int i = 0; i < 3000; ++i) {
            x += i % 500 == 499 ? 20000 : random.bounded(0, 61);
            Hole hole;
            hole.xBegin = x;
            hole.xEnd = x + random.bounded(10, 300);
            hole.yPos = random.bounded(0, 2500);
            hole.keywidth = random.bounded(0, 60);
            list.append(hole);
        }
        QVERIFY(HolesAscending(list));
        for (const QSize view : {QSize(1000, 300), QSize(601, 257), QSize(33, 999)}) {
            for (const int nextNote : {1, 2, 250, 499, 500, 501, 1777, 2999, 3000, 3001}) {
                RollRequest request{nextNote, view.width(), view.height(), false, false, false};
                const std::vector<RollShape> walked = DrawRollShapes(list, request);
                request.ascending = true;
                QVERIFY(walked.size() > 1);
                QVERIFY2(
                    DrawRollShapes(list, request) == walked,
                    qPrintable(nType + QString::number(view.width()) + QString::number(nextNote)));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestRollGeometry)
#include "tst_rollgeometry.moc"
