#include "model/palette.h"
#include "paint/selection_pixels.h"
#include "support/canvas_picture.h"

#include <QTest>

class TestSelectionPixels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Content moves by the offset and is clipped to the canvas; a transparent paste leaves
    // the canvas where the content holds the blank index, and locked pixels stay.
    void pasteMovesClipsAndSkipsBlank()
    {
        const Colormap source = canvasFromRows({"1203", "0450"});
        const QRegion region(QRect(0, 0, 4, 2));
        const SelectionClipboard copied = copySelectionPixels(source, region);

        Colormap opaque = canvasFromRows({"77777", "77777", "77777"});
        QCOMPARE(pasteSelectionPixels(opaque, copied.region, copied.pixels, QPoint(2, 1), false, 0, {}),
            QRect(2, 1, 3, 2));
        QCOMPARE(canvasToRows(opaque), rowsText({"77777", "77120", "77045"}));

        Colormap transparent = canvasFromRows({"77777", "77777", "77777"});
        pasteSelectionPixels(
            transparent, copied.region, copied.pixels, QPoint(1, 0), true, 0, {QRect(4, 0, 1, 1)});
        QCOMPARE(canvasToRows(transparent), rowsText({"71277", "77457", "77777"}));

        // A snapshot that does not fit the region is refused whole.
        QVERIFY(
            pasteSelectionPixels(transparent, QRegion(0, 0, 3, 3), copied.pixels, {}, false, 0, {}).isNull());
    }

    // The system clipboard gets the C64's picture: multicolor pixels twice as wide, and
    // nothing but transparency outside a lasso's outline.
    void clipboardImageKeepsTheShape()
    {
        const Colormap canvas = canvasFromRows({"1111", "1111", "1111"});
        const QRegion diagonal = QRegion(0, 0, 1, 1) + QRegion(1, 1, 1, 1) + QRegion(2, 2, 1, 1);
        const SelectionClipboard copied = copySelectionPixels(canvas, diagonal);
        const Palette palette;
        const QImage wide = selectionClipboardToImage(copied, palette, CanvasMode::Multicolor);
        QCOMPARE(wide.size(), QSize(6, 3));
        const QRgb white = palette.colorAt(1) | 0xff000000u;
        QCOMPARE(wide.pixel(2, 1), white);
        QCOMPARE(wide.pixel(3, 1), white);
        QCOMPARE(qAlpha(wide.pixel(0, 1)), 0);
        QCOMPARE(qAlpha(wide.pixel(4, 1)), 0);
        QCOMPARE(selectionClipboardToImage(copied, palette, CanvasMode::Hires).size(), QSize(3, 3));
        QVERIFY(selectionClipboardToImage(SelectionClipboard(), palette, CanvasMode::Hires).isNull());
    }
};

QTEST_APPLESS_MAIN(TestSelectionPixels)
#include "tst_selection_pixels.moc"
