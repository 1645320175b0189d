#include "prt/holelist.h"
#include "roll/nextnote.h"
#include "roll/rollgeometry.h"
#include "roll/rollview.h"

#include <QHash>
#include <QImage>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <vector>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr int Enter = 13; // the next note's action column: Enter, or the bar's value

// xBegin, yPos, keywidth, xEnd
using HoleRow = std::vector<std::array<qint32, 4>>;

// A roll and what its preview shows; expected leaves out the centre line.
struct Preview
{
    HoleRow holes;
    const char *nType, *expected;
    RollRequest request;
    float paperWidth;
};

// The shapes in a short readable form, numbers to six significant digits.
QString describe(const std::vector<RollShape> &shapes)
{
    const char *kinds[] = {"line", "circle", "rect", "fill"};
    const QHash<quint32, QString> colours{
        {RollRed, u"red"_s}, {RollBlack, u"black"_s}, {RollGrey, u"grey"_s}};
    QStringList out;
    for (const RollShape &s : shapes) {
        const QString end = s.kind == RollShape::Kind::Circle ? u"r%1"_s.arg(s.radius)
                                                              : u"%1,%2"_s.arg(s.x2).arg(s.y2);
        out << QLatin1String(kinds[int(s.kind)]) + u" %1,%2 "_s.arg(s.x1).arg(s.y1) + end + u' ' +
                   colours.value(s.rgb, u"other"_s);
    }
    return out.join(u"; "_s);
}

} // namespace

Q_DECLARE_METATYPE(Preview)

// The roll preview: the shapes drawn for a roll, the widget painting them,
// and the next note chosen on it.
class TestRoll : public QObject
{
    Q_OBJECT
private slots:
    // Expected: the entry's new text, empty for no change.
    void choose_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("holeCount");
        QTest::addColumn<QString>("expected");

        QTest::newRow("bar back at rest") << u"3"_s << 0 << 250 << QString();
        QTest::newRow("up at the last hole") << u" 250"_s << -1 << 250 << u" 250"_s;
        QTest::newRow("any other bar value moves back") << u"3"_s << 2 << 250 << u" 2"_s;
        QTest::newRow("down at the first hole") << u"1"_s << 1 << 250 << u" 1"_s;
        QTest::newRow("stepped on, then rounded") << u"2.5"_s << -1 << 250 << u" 4"_s;
        QTest::newRow("step without holes") << u"3"_s << -1 << 0 << QString();
        QTest::newRow("0") << u"0"_s << Enter << 250 << u" 1"_s;
        QTest::newRow("999") << u"999"_s << Enter << 250 << u" 250"_s;
        QTest::newRow("12abc") << u"12abc"_s << Enter << 250 << u" 12"_s;
    }

    void choose()
    {
        QFETCH(QString, text);
        QFETCH(int, action);
        QFETCH(int, holeCount);
        QFETCH(QString, expected);
        const auto choice = action == Enter ? enterNextNote(text, holeCount)
                                            : stepNextNote(text, action, holeCount);
        QCOMPARE(choice ? choice->text : QString(), expected);
        QCOMPARE(choice ? choice->nextNote : 0, expected.toInt());
    }

    // Paper 1200 on a 600 x 240 view: scale 0.2, the view is 3000 units long,
    // the origin lands on pixel 300 and the drawn centre line is at 301. The
    // expected shapes follow that line.
    void shapes_data()
    {
        QTest::addColumn<Preview>("preview");
        const HoleRow three = {{500, 100, 45, 700}, {1000, 200, 45, 1100}, {1200, 300, 45, 1300}};
        const auto row = [](const char *name, const HoleRow &holes, const char *nType, int nextNote,
                            bool mirror, bool right, const char *expected,
                            float paperWidth = 1200.0f) {
            QTest::newRow(name) << Preview{
                holes, nType, expected, {nextNote, 600, 240, mirror, right, false}, paperWidth};
        };
        row("next note 1: all grey right of the line", three, "P", 1, false, false,
            "circle 400,20 r3.2 grey; circle 500,40 r3.2 grey; circle 540,60 r3.2 grey");
        row("next note 1 with right: left of the line", three, "P", 1, false, true,
            "circle 200,20 r3.2 grey; circle 100,40 r3.2 grey; circle 60,60 r3.2 grey");
        row("next note 3: black, red on the line, grey", three, "P", 3, false, false,
            "circle 200,20 r4 black; circle 300,40 r4 red; circle 300,40 r1 red; "
            "circle 340,60 r3.2 grey");
        row("after the last hole: all black, last red", three, "P", 4, false, false,
            "circle 160,20 r4 black; circle 260,40 r4 black; circle 300,60 r4 red; "
            "circle 300,60 r1 red");
        row("px 0 hidden, later holes drawn", {{500, 0, 45, 0}, {600, 0, 45, 0}, {2000, 0, 45, 0}},
            "P", 4, false, false, "circle 20,0 r4 black; circle 300,0 r4 red; circle 300,0 r1 red");
        row("mirror: Y-pos 0 at the bottom", {{500, 0, 45, 0}}, "P", 1, true, false,
            "circle 400,240 r3.2 grey");
        row("a hole at the width stops", {{500, 0, 45, 0}, {1500, 0, 45, 0}, {600, 0, 45, 0}}, "P",
            1, false, false, "circle 400,0 r3.2 grey");
        row("holes left of the picture do not stop the walk", {{-90000, 0, 45, 0}, {600, 0, 45, 0}},
            "P", 1, false, false, "circle 420,0 r3.2 grey");
        row("negative radius is a point", {{500, 0, 3, 0}, {1000, 0, 3, 0}}, "P", 2, false, false,
            "circle 300,0 r0 red; circle 300,0 r1 red; circle 400,0 r0 grey");
        row("slots", three, "S", 3, false, false,
            "rect 200,18 240,22 black; fill 300,38 320,42 red; rect 340,58.4 360,61.6 grey");
        row("slots with right still extend right", three, "S", 3, false, true,
            "rect 400,18 440,22 black; fill 300,38 320,42 red; rect 260,58.4 280,61.6 grey");
        row("next note 0 with holes", three, "P", 0, false, false, "");
        row("next note past the end", three, "P", 5, false, false, "");
        row("paper width 0", three, "P", 1, false, false, "", 0.0f);
    }

    void shapes()
    {
        QFETCH(Preview, preview);
        HoleList list;
        list.paperWidth = preview.paperWidth;
        list.nType = QString::fromLatin1(preview.nType);
        for (const auto &h : preview.holes)
            list.append(Hole{h[0], 0, h[3], h[1], h[2]});
        const QString expected = QLatin1String(preview.expected);
        const QString drawn =
            u"line 301,0 301,240 red"_s + (expected.isEmpty() ? u""_s : u"; "_s + expected);
        // The binary search of an ascending roll draws what the walk does.
        for (const bool ascending : {false, holesAscending(list)}) {
            preview.request.ascending = ascending;
            QCOMPARE(describe(drawRollShapes(list, preview.request)), drawn);
        }
    }

    void emptyPreview()
    {
        QCOMPARE(describe(emptyRollShapes(601, 240)), u"line 300.5,0 300.5,240 red"_s);
        QCOMPARE(describe(drawRollShapes(HoleList(), {0, 601, 240, false, false, true})),
                 u"line 301.5,0 301.5,240 red"_s);
    }

    void binarySearchMatchesWalk()
    {
        // Ascending rolls with repeated X-begin values and long gaps, on views of
        // odd and even sizes, at every kind of next note.
        QRandomGenerator random(20240611);
        for (const QString &nType : {u"P"_s, u"S"_s}) {
            HoleList list;
            list.nType = nType;
            list.paperWidth = 2500.0f;
            for (qint32 i = 0, x = -200; i < 3000; ++i) {
                x += i % 500 == 499 ? 20000 : random.bounded(0, 61);
                // Braced initialisers are evaluated in order.
                list.append(Hole{x, 0, x + random.bounded(10, 300), random.bounded(0, 2500),
                                 random.bounded(0, 60)});
            }
            QVERIFY(holesAscending(list));
            for (const QSize view : {QSize(1000, 300), QSize(601, 257), QSize(33, 999)}) {
                for (const int nextNote : {1, 2, 250, 499, 500, 501, 1777, 2999, 3000, 3001}) {
                    RollRequest request{nextNote, view.width(), view.height(), false, false, false};
                    const std::vector<RollShape> walked = drawRollShapes(list, request);
                    request.ascending = true;
                    QVERIFY2(walked.size() > 1 && drawRollShapes(list, request) == walked,
                             qPrintable(u"%1 %2 %3"_s.arg(nType).arg(view.width()).arg(nextNote)));
                }
            }
        }
    }

    void paintsShapes_data()
    {
        QTest::addColumn<QPoint>("pixel"); // in the inner area
        QTest::addColumn<quint32>("rgb");

        QTest::newRow("line") << QPoint(50, 20) << RollRed;
        QTest::newRow("filled far corner included") << QPoint(20, 15) << RollRed;
        QTest::newRow("past filled") << QPoint(21, 15) << RollView::PaperColour;
        QTest::newRow("outline far edge") << QPoint(40, 15) << RollBlack;
        QTest::newRow("outline inside empty") << QPoint(35, 15) << RollView::PaperColour;
        QTest::newRow("point") << QPoint(60, 30) << RollGrey;
        QTest::newRow("circle top") << QPoint(80, 20) << RollBlack;
    }

    void paintsShapes()
    {
        QFETCH(QPoint, pixel);
        QFETCH(quint32, rgb);

        RollView view;
        view.setContentsMargins(2, 3, 0, 0);
        view.resize(102, 53);
        view.setShapes({
            RollShape{RollShape::Kind::Line, 50, 0, 50, 50, 0, RollRed},
            RollShape{RollShape::Kind::FilledRect, 20, 15, 10, 10, 0, RollRed},
            RollShape{RollShape::Kind::Rect, 30, 10, 40, 20, 0, RollBlack},
            RollShape{RollShape::Kind::Circle, 60, 30, 0, 0, 0, RollGrey},
            RollShape{RollShape::Kind::Circle, 80, 25, 0, 0, 5, RollBlack},
        });
        const QImage image = view.grab().toImage();
        QCOMPARE(image.pixel(pixel + QPoint(2, 3)) & 0xFFFFFF, rgb);
    }

    void reportsInnerSize()
    {
        RollView view;
        view.setContentsMargins(1, 1, 1, 1);
        QSignalSpy spy(&view, &RollView::resized);
        view.resize(300, 120);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.innerSize(), QSize(298, 118));
        QCOMPARE(spy.isEmpty() ? QSize() : spy.last().at(0).toSize(), QSize(298, 118));
    }
};

QTEST_MAIN(TestRoll)
#include "tst_roll.moc"
