#include "formats/image/canvas_border_frame.h"
#include "model/colormap.h"
#include "model/palette.h"

#include <QTest>

class TestCanvasBorderFrame : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void frameColourFollowsTheLayout()
    {
        ColorSlots slots;
        slots[HistoryColorSlot::Background] = 6;
        slots[HistoryColorSlot::Border] = 14;
        const CanvasLayoutSpec side {CanvasLayout::SideBorders};
        QCOMPARE(canvasFrameColorIndex({CanvasMode::Multicolor, QSize(208, 200), side}, slots), uchar(6));
        QCOMPARE(canvasFrameColorIndex({CanvasMode::Hires, QSize(416, 200), side}, slots), uchar(14));
        QCOMPARE(canvasFrameColorIndex({CanvasMode::Multicolor, QSize(160, 200), {}}, slots), uchar(14));
    }

    void topBottomFrameIsBlackBeyondTheSpriteLines()
    {
        const Palette palette;
        const BorderFrameSource source {CanvasMode::Hires, QSize(320, 284), {CanvasLayout::TopBottomBorders}};
        Colormap canvas(320, 284);
        canvas.fill(1);
        const QImage framed = canvasImageWithBorderFrame(source, palette, 14, canvas.toImage(palette));
        QCOMPARE(framed.size(), QSize(416, 301));
        // Frame left -48, top -9: canvas (0, 0) sits at (48, 9).
        QCOMPARE(framed.pixel(48, 9), palette.colorAt(1));
        QCOMPARE(framed.pixel(48, 8), palette.colorAt(0));
        QCOMPARE(framed.pixel(0, 0), palette.colorAt(0));
        QCOMPARE(framed.pixel(0, 9), palette.colorAt(14));
        QCOMPARE(framed.pixel(415, 9 + 283), palette.colorAt(14));
        QCOMPARE(framed.pixel(415, 9 + 284), palette.colorAt(0));
        QCOMPARE(framed.pixel(200, 300), palette.colorAt(0));
    }
};

QTEST_APPLESS_MAIN(TestCanvasBorderFrame)
#include "tst_canvas_border_frame.moc"
