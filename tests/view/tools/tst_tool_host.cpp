#include "support/fake_tool_host.h"
#include "view/tools/canvas_tool.h"
#include "view/tools/eyedropper_tool.h"
#include "view/tools/pan_tool.h"

#include <QMouseEvent>
#include <QTest>

namespace {

QMouseEvent mouse(QEvent::Type type, QPointF view, Qt::MouseButton button, Qt::MouseButtons held)
{
    return QMouseEvent(type, view, view, button, held, Qt::NoModifier);
}

// A view position inside the canvas pixel `pixel` of the fake host.
QPointF at(QPoint pixel)
{
    return QPointF(pixel) * FakeToolHost::zoom + QPointF(1.5, 1.5);
}

// Records which gesture hook ran, for the left button only.
class GestureLog final : public CanvasTool {
public:
    using CanvasTool::CanvasTool;

    QStringList calls;

    bool acceptsGesture(const Gesture& gesture) const override { return gesture.button == Qt::LeftButton; }
    void onGestureBegin(const Gesture& gesture) override { log("begin", gesture); }
    void onGestureUpdate(const Gesture& gesture) override { log("update", gesture); }
    void onGestureEnd(const Gesture& gesture) override { log("end", gesture); }
    void onClick(const Gesture& gesture) override { log("click", gesture); }

private:
    void log(const char* hook, const Gesture& gesture)
    {
        calls.append(QStringLiteral("%1 %2,%3%4")
                         .arg(QLatin1String(hook))
                         .arg(gesture.pixel.x())
                         .arg(gesture.pixel.y())
                         .arg(gesture.moved ? QStringLiteral(" moved") : QString()));
    }
};

struct Step {
    QEvent::Type type;
    QPoint pixel;
    Qt::MouseButton button;
    Qt::MouseButtons held;
};

} // namespace

class TestToolHost : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gesturesCloseAsClickOrEnd_data();
    void gesturesCloseAsClickOrEnd();
    void eyedropperAndPanActThroughTheHost();
};

void TestToolHost::gesturesCloseAsClickOrEnd_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("calls");
    const auto press = QEvent::MouseButtonPress;
    const auto move = QEvent::MouseMove;
    const auto release = QEvent::MouseButtonRelease;
    const auto left = Qt::LeftButton;

    QTest::newRow("click") << QList<Step> {{press, {2, 3}, left, left}, {release, {2, 3}, left, Qt::NoButton}}
                           << QStringList {"begin 2,3", "click 2,3"};
    QTest::newRow("wiggle inside the pixel is still a click") << QList<Step> {{press, {2, 3}, left, left},
        {move, {2, 3}, Qt::NoButton, left},
        {release, {2, 3}, left, Qt::NoButton}} << QStringList {"begin 2,3", "update 2,3", "click 2,3"};
    QTest::newRow("a drag back to the start ends as a drag")
        << QList<Step> {{press, {2, 3}, left, left}, {move, {5, 3}, Qt::NoButton, left},
               {move, {2, 3}, Qt::NoButton, left}, {release, {2, 3}, left, Qt::NoButton}}
        << QStringList {"begin 2,3", "update 5,3 moved", "update 2,3 moved", "end 2,3 moved"};
    QTest::newRow("another button neither opens nor closes")
        << QList<Step> {{press, {1, 1}, Qt::RightButton, Qt::RightButton}, {press, {2, 2}, left, left},
               {release, {2, 2}, Qt::RightButton, left}, {release, {4, 2}, left, Qt::NoButton}}
        << QStringList {"begin 2,2", "end 4,2 moved"};
    QTest::newRow("a lost release ends the drag where the pointer is")
        << QList<Step> {{press, {2, 3}, left, left}, {move, {6, 6}, Qt::NoButton, Qt::NoButton}}
        << QStringList {"begin 2,3", "end 6,6 moved"};
}

void TestToolHost::gesturesCloseAsClickOrEnd()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, calls);
    FakeToolHost host;
    GestureLog tool(host);
    for (const Step& step : steps) {
        QMouseEvent event = mouse(step.type, at(step.pixel), step.button, step.held);
        if (step.type == QEvent::MouseButtonPress)
            tool.mousePress(&event);
        else if (step.type == QEvent::MouseMove)
            tool.mouseMove(&event);
        else
            tool.mouseRelease(&event);
    }
    QCOMPARE(tool.calls, calls);
    QVERIFY(!tool.gestureOpen());
}

// The eyedropper samples and the pan tool pans through the host alone; while a pen stroke
// runs neither takes a press, so the stroke keeps its colours and its place.
void TestToolHost::eyedropperAndPanActThroughTheHost()
{
    FakeToolHost host;
    EyedropperTool eyedropper(host);
    QMouseEvent press = mouse(QEvent::MouseButtonPress, at({4, 5}), Qt::RightButton, Qt::RightButton);
    QVERIFY(eyedropper.mousePress(&press));
    QMouseEvent move = mouse(QEvent::MouseMove, at({6, 5}), Qt::NoButton, Qt::RightButton);
    QVERIFY(eyedropper.mouseMove(&move));
    QMouseEvent release = mouse(QEvent::MouseButtonRelease, at({6, 5}), Qt::RightButton, Qt::NoButton);
    QVERIFY(eyedropper.mouseRelease(&release));
    QCOMPARE(host.samples.size(), 2);
    QCOMPARE(host.samples[0].pixel, QPoint(4, 5));
    QCOMPARE(host.samples[1].pixel, QPoint(6, 5));
    QVERIFY(host.samples[0].secondary && host.samples[1].secondary);

    PanTool pan(host);
    QMouseEvent right = mouse(QEvent::MouseButtonPress, at({1, 1}), Qt::RightButton, Qt::RightButton);
    QVERIFY(!pan.mousePress(&right));
    host.stroking = true;
    QMouseEvent during = mouse(QEvent::MouseButtonPress, at({1, 1}), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(!eyedropper.mousePress(&during));
    QVERIFY(!pan.mousePress(&during));
    QCOMPARE(host.samples.size(), 2);
    QVERIFY(host.panStarts.isEmpty());
    host.stroking = false;
    QMouseEvent left = mouse(QEvent::MouseButtonPress, QPointF(40, 30), Qt::LeftButton, Qt::LeftButton);
    QVERIFY(pan.mousePress(&left));
    QCOMPARE(host.panStarts, QList<QPointF> {QPointF(40, 30)});
}

QTEST_MAIN(TestToolHost)
#include "tst_tool_host.moc"
