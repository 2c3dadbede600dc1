// The canvas as an ordinary image: the C64's pixel shape and the border frame.
#include "document/project.h"
#include "formats/image/canvas_border_frame.h"
#include "formats/image/canvas_export_image.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

class TestCanvasExportImage : public QObject {
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

    void sizesFollowModeLayoutAndFrame_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("screens");
        QTest::addColumn<bool>("frame");
        QTest::addColumn<QSize>("size");
        const int hires = int(CanvasMode::Hires);
        const int multicolor = int(CanvasMode::Multicolor);
        const int plain = int(CanvasLayout::BitmapOnly);
        const int side = int(CanvasLayout::SideBorders);
        // The frame of every shape is pinned in tst_canvas_geometry; these rows are the
        // paths of this image: framed or not, multicolor pixels doubled after framing, and
        // no frame where the canvas shows none.
        QTest::newRow("hires") << hires << plain << 1 << false << QSize(320, 200);
        QTest::newRow("multicolor framed") << multicolor << plain << 1 << true << QSize(416, 301);
        QTest::newRow("dual multicolor, no frame to show")
            << multicolor << plain << 2 << true << QSize(640, 200);
        QTest::newRow("multicolor side borders") << multicolor << side << 1 << false << QSize(416, 200);
        QTest::newRow("multicolor side borders framed") << multicolor << side << 1 << true << QSize(416, 301);
    }

    void sizesFollowModeLayoutAndFrame()
    {
        QFETCH(int, mode);
        QFETCH(int, layout);
        QFETCH(int, screens);
        QFETCH(bool, frame);
        QFETCH(QSize, size);
        const Project project(CanvasMode(mode), 0, 0, {CanvasLayout(layout)}, screens);
        QCOMPARE(canvasExportImage(project, Palette(), frame).size(), size);
    }

    void imageFilesAreWrittenWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const QImage image = canvasExportImage(Project(), Palette(), false);
        const QString path = dir.filePath("canvas.bmp");
        QString error;
        QVERIFY2(writeImageFile(image, path, "bmp", &error), qPrintable(error));

        // A format nobody writes fails before the old file is touched.
        QVERIFY(!writeImageFile(image, path, "no-such-format", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QImageReader(path).format(), QByteArray("bmp"));
    }
};

QTEST_GUILESS_MAIN(TestCanvasExportImage)
#include "tst_canvas_export_image.moc"
