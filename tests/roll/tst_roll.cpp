#include "prt/holelist.h"
#include "roll/nextnote.h"
#include "roll/rollgeometry.h"
#include "roll/rollview.h"

#include <QImage>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <vector>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr int Enter = 13;    // the next note's action column: Enter, or the bar's value
constexpr int NoChange = -1; // the next note's expected column

// xBegin, yPos, keywidth, xEnd
using HoleRow = std::vector<std::array<qint32, 4>>;

// The shapes in a short readable form, numbers to six significant digits.
QString describe(const std::vector<RollShape> &shapes)
{
    const auto n = [](double v) { return QString::number(v, 'g', 6); };
    const char *kinds[] = {"line", "circle", "rect", "fill"};
    QStringList out;
    for (const RollShape &s : shapes) {
        const QString end =
            s.kind == RollShape::Kind::Circle ? u'r' + n(s.radius) : n(s.x2) + u',' + n(s.y2);
        const QString colour = s.rgb == RollRed     ? u"red"_s
                               : s.rgb == RollBlack ? u"black"_s
                               : s.rgb == RollGrey  ? u"grey"_s
                                                    : u"other"_s;
        out << u"%1 %2,%3 %4 %5"_s.arg(QLatin1String(kinds[int(s.kind)]), n(s.x1), n(s.y1), end,
                                       colour);
    }
    return out.join(u"; "_s);
}

} // namespace

Q_DECLARE_METATYPE(HoleRow)

// The roll preview: the shapes drawn for a roll, the widget painting them,
// and the next note chosen on it.
class TestRoll : public QObject
{
    Q_OBJECT
private slots:
    void choose_data()
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

    void choose()
    {
        QFETCH(QString, text);
        QFETCH(int, action);
        QFETCH(int, holeCount);
        QFETCH(int, expected);
        const std::optional<NextNoteChoice> choice = action == Enter
                                                         ? enterNextNote(text, holeCount)
                                                         : stepNextNote(text, action, holeCount);
        QCOMPARE(choice.has_value(), expected != NoChange);
        if (choice) {
            QCOMPARE(choice->nextNote, expected);
            QCOMPARE(choice->text, QLatin1Char(' ') + QString::number(expected));
        }
    }

    // Paper 1200 on a 600 x 240 view: scale 0.2, the view is 3000 units long,
    // the origin lands on pixel 300 and the drawn centre line is at 301. The
    // expected shapes follow that line.
    void shapes_data()
    {
        QTest::addColumn<HoleRow>("holes");
        QTest::addColumn<QString>("nType");
        QTest::addColumn<float>("paperWidth");
        QTest::addColumn<int>("nextNote");
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const HoleRow &holes, const char *nType, int nextNote,
                            bool mirror, bool right, const char *expected) {
            QTest::newRow(name) << holes << QString::fromLatin1(nType) << 1200.0f << nextNote
                                << mirror << right << QString::fromLatin1(expected);
        };
        const HoleRow three = {{500, 100, 45, 700}, {1000, 200, 45, 1100}, {1200, 300, 45, 1300}};

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
        row("stop at the right edge, exactly at the width",
            {{500, 0, 45, 0}, {1500, 0, 45, 0}, {600, 0, 45, 0}}, "P", 1, false, false,
            "circle 400,0 r3.2 grey");
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
        QTest::newRow("paper width 0")
            << three << u"P"_s << 0.0f << 1 << false << false << QString();
    }

    void shapes()
    {
        QFETCH(HoleRow, holes);
        QFETCH(QString, nType);
        QFETCH(float, paperWidth);
        QFETCH(int, nextNote);
        QFETCH(bool, mirror);
        QFETCH(bool, right);
        QFETCH(QString, expected);

        HoleList list;
        list.paperWidth = paperWidth;
        list.nType = nType;
        for (const auto &h : holes)
            list.append(Hole{h[0], 0, h[3], h[1], h[2]});
        const QString drawn =
            (QStringList{u"line 301,0 301,240 red"_s} + expected.split(u"; "_s, Qt::SkipEmptyParts))
                .join(u"; "_s);
        RollRequest request{nextNote, 600, 240, mirror, right, false};
        QCOMPARE(describe(drawRollShapes(list, request)), drawn);
        if (holesAscending(list)) {
            request.ascending = true;
            QCOMPARE(describe(drawRollShapes(list, request)), drawn);
        }
    }

    void emptyPreview()
    {
        QCOMPARE(describe(emptyRollShapes(601, 240)), u"line 300.5,0 300.5,240 red"_s);
        HoleList list;
        QCOMPARE(describe(drawRollShapes(list, RollRequest{0, 601, 240, false, false, true})),
                 u"line 301.5,0 301.5,240 red"_s);
    }

    void binarySearchMatchesWalk()
    {
        // Ascending rolls with repeated X-begin values and long gaps, on views of
        // odd and even sizes, at every kind of next note.
        QRandomGenerator random(20240611);
        HoleList list;
        for (const QString &nType : {u"P"_s, u"S"_s}) {
            list.clear();
            list.nType = nType;
            list.paperWidth = 2500.0f;
            qint32 x = -200;
            for (int i = 0; i < 3000; ++i) {
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
                    QVERIFY(walked.size() > 1);
                    QVERIFY2(drawRollShapes(list, request) == walked,
                             qPrintable(nType + QString::number(view.width()) +
                                        QString::number(nextNote)));
                }
            }
        }
    }

    void paintsShapes_data()
    {
        QTest::addColumn<QPoint>("pixel"); // in the inner area
        QTest::addColumn<quint32>("rgb");

        const quint32 paper = RollView::PaperColour;
        QTest::newRow("line") << QPoint(50, 20) << RollRed;
        QTest::newRow("beside the line") << QPoint(51, 20) << paper;
        QTest::newRow("filled far corner included") << QPoint(20, 15) << RollRed;
        QTest::newRow("past filled") << QPoint(21, 15) << paper;
        QTest::newRow("outline far edge") << QPoint(40, 15) << RollBlack;
        QTest::newRow("outline inside empty") << QPoint(35, 15) << paper;
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
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toSize(), QSize(298, 118));
    }
};

QTEST_MAIN(TestRoll)
#include "tst_roll.moc"
