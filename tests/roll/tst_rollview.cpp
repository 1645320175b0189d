#include "roll/rollview.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

class TestRollView : public QObject
{
    Q_OBJECT
private slots:
    void paintsShapes_data();
    void paintsShapes();
    void reportsInnerSize();
};

void TestRollView::paintsShapes_data()
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

void TestRollView::paintsShapes()
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

void TestRollView::reportsInnerSize()
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

QTEST_MAIN(TestRollView)
#include "tst_rollview.moc"
