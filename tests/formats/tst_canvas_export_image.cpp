// The canvas as an ordinary image: the C64's pixel shape and the border frame.
#include "document/project.h"
#include "formats/image/canvas_export_image.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

class TestCanvasExportImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        const int topBottom = int(CanvasLayout::TopBottomBorders);
        // Every framed single screen is the 416 x 301 the C64 shows with its borders.
        QTest::newRow("hires") << hires << plain << 1 << false << QSize(320, 200);
        QTest::newRow("hires framed") << hires << plain << 1 << true << QSize(416, 301);
        QTest::newRow("multicolor") << multicolor << plain << 1 << false << QSize(320, 200);
        QTest::newRow("multicolor framed") << multicolor << plain << 1 << true << QSize(416, 301);
        QTest::newRow("dual hires, no frame to show") << hires << plain << 2 << true << QSize(640, 200);
        QTest::newRow("dual multicolor") << multicolor << plain << 2 << false << QSize(640, 200);
        QTest::newRow("dual multicolor, no frame to show")
            << multicolor << plain << 2 << true << QSize(640, 200);
        QTest::newRow("hires side borders") << hires << side << 1 << false << QSize(416, 200);
        QTest::newRow("hires side borders framed") << hires << side << 1 << true << QSize(416, 301);
        QTest::newRow("multicolor side borders") << multicolor << side << 1 << false << QSize(416, 200);
        QTest::newRow("multicolor side borders framed") << multicolor << side << 1 << true << QSize(416, 301);
        QTest::newRow("hires top and bottom") << hires << topBottom << 1 << false << QSize(320, 284);
        QTest::newRow("hires top and bottom framed") << hires << topBottom << 1 << true << QSize(416, 301);
        QTest::newRow("multicolor top and bottom")
            << multicolor << topBottom << 1 << false << QSize(320, 284);
        QTest::newRow("multicolor top and bottom framed")
            << multicolor << topBottom << 1 << true << QSize(416, 301);
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
        QCOMPARE(QImageReader(path).size(), QSize(320, 200));

        // A format nobody writes fails before the old file is touched.
        QVERIFY(!writeImageFile(image, path, "no-such-format", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QImageReader(path).format(), QByteArray("bmp"));
        QVERIFY(!writeImageFile(image, dir.filePath("missing/canvas.png"), "png", &error));
    }
};

QTEST_GUILESS_MAIN(TestCanvasExportImage)
#include "tst_canvas_export_image.moc"
