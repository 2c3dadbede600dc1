// Tone curves: the tables the spline gives for curves worked out by hand, the knot edits
// the curve editor relies on, and how much of a curves file the reader is willing to read.
#include "convert/adjustment_curves_file.h"
#include "convert/image_adjustment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Probes = QList<QPoint>;
Q_DECLARE_METATYPE(QList<QPoint>)

class TestImageAdjustment : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splineTables_data()
    {
        QTest::addColumn<QList<QPoint>>("knots");
        // (input, expected table entry)
        QTest::addColumn<Probes>("probes");
        QTest::newRow("identity") << QList<QPoint> {{0, 0}, {255, 255}}
                                  << Probes {{0, 0}, {1, 1}, {128, 128}, {254, 254}, {255, 255}};
        // 100 x / 255: 254 gives 99.6, which truncates to 99 where rounding would say 100.
        QTest::newRow("line truncates")
            << QList<QPoint> {{0, 0}, {255, 100}} << Probes {{128, 50}, {254, 99}, {255, 100}};
        QTest::newRow("collinear knots stay straight")
            << QList<QPoint> {{0, 0}, {128, 128}, {255, 255}} << Probes {{1, 1}, {127, 127}, {200, 200}};
        // Peaks at exactly 255 on its knot; 254.99 beside it truncates to 254.
        QTest::newRow("peak") << QList<QPoint> {{0, 0}, {128, 255}, {255, 0}}
                              << Probes {{64, 175}, {127, 254}, {128, 255}, {129, 254}, {200, 154}, {255, 0}};
        // Between the two high knots the spline climbs to 276 and is clamped.
        QTest::newRow("overshoot clamped") << QList<QPoint> {{0, 0}, {64, 255}, {128, 255}, {255, 255}}
                                           << Probes {{64, 255}, {65, 255}, {96, 255}, {127, 255}};
        // Before the step it dips to -179 and is clamped.
        QTest::newRow("undershoot clamped") << QList<QPoint> {{0, 0}, {128, 0}, {160, 255}, {255, 255}}
                                            << Probes {{0, 0}, {1, 0}, {64, 0}, {127, 0}, {140, 96}};
    }

    void splineTables()
    {
        QFETCH(QList<QPoint>, knots);
        QFETCH(Probes, probes);
        const AdjustmentLookup lookup = splineLookup(knots);
        for (const QPoint& probe : probes)
            QCOMPARE(int(lookup[std::size_t(probe.x())]), probe.y());
    }

    void knotEditing()
    {
        constexpr AdjustmentChannel red = AdjustmentChannel::Red;
        ImageAdjustment adjustment;

        // Adding and removing the same knot gives the identity back.
        QCOMPARE(adjustment.addKnot(red, 100, 180, 7), 1);
        QVERIFY(!adjustment.isIdentity());
        QVERIFY(adjustment.removeKnot(red, 1));
        QVERIFY(adjustment.isIdentity());
        QCOMPARE(adjustment.knotCount(red), 2);

        // Too near an end point, and onto an x that already has a knot (which would give the
        // spline a segment of zero width).
        QCOMPARE(adjustment.addKnot(red, 3, 10, 7), -1);
        QCOMPARE(adjustment.addKnot(red, 249, 10, 7), -1);
        QCOMPARE(adjustment.addKnot(red, 100, 10, 7), 1);
        QCOMPARE(adjustment.addKnot(red, 100, 90, 7), -1);
        QCOMPARE(adjustment.addKnot(red, 50, 60, 7), 1);
        QCOMPARE(adjustment.knotAt(red, 2), QPoint(100, 10));

        // End points move vertically only, and are never removed.
        QVERIFY(adjustment.moveKnot(red, 0, 40, 30, 7));
        QCOMPARE(adjustment.knotAt(red, 0), QPoint(0, 30));
        QVERIFY(!adjustment.moveKnot(red, 3, 200, 255, 7));
        QVERIFY(!adjustment.removeKnot(red, 0));
        QVERIFY(!adjustment.removeKnot(red, 3));

        // An interior knot dragged past its neighbour stops 7 before it.
        QVERIFY(adjustment.moveKnot(red, 1, 150, 300, 7));
        QCOMPARE(adjustment.knotAt(red, 1), QPoint(93, 255));

        // Knots added 2 apart leave no room for the gap; the middle one keeps its x instead
        // of crossing a neighbour.
        ImageAdjustment crowded;
        for (int x : {100, 102, 104})
            QVERIFY(crowded.addKnot(AdjustmentChannel::Blue, x, x, 7) > 0);
        QVERIFY(crowded.moveKnot(AdjustmentChannel::Blue, 2, 90, 50, 7));
        QCOMPARE(crowded.knotAt(AdjustmentChannel::Blue, 2), QPoint(102, 50));

        // A curve holds 32 knots at most.
        ImageAdjustment full;
        for (int i = 0; i < 30; ++i)
            QCOMPARE(full.addKnot(AdjustmentChannel::Green, 8 + i * 8, 128, 7), i + 1);
        QCOMPARE(full.addKnot(AdjustmentChannel::Green, 247, 128, 7), -1);
        QCOMPARE(full.knotCount(AdjustmentChannel::Green), 32);

        // The component curve first, then the master.
        ImageAdjustment inverted;
        inverted.moveKnot(AdjustmentChannel::Rgb, 0, 0, 255, 7);
        inverted.moveKnot(AdjustmentChannel::Rgb, 1, 255, 0, 7);
        inverted.addKnot(AdjustmentChannel::Green, 128, 255, 7);
        for (int v : {0, 1, 77, 254, 255})
            QCOMPARE(int(inverted.adjustComponent(red, uchar(v))), 255 - v);
        QCOMPARE(int(inverted.adjustComponent(AdjustmentChannel::Green, 128)), 0);

        inverted.reset();
        QVERIFY(inverted.isIdentity());
        QCOMPARE(inverted.knotCount(AdjustmentChannel::Green), 2);
    }

    // A path to something that is no curves file (an image, a device) must not be read
    // whole; a file at the limit still is.
    void readingStopsAtTheSizeLimit()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray curve = "b 0,30 255,255\n";
        const auto fileOf = [&](const QString& name, qsizetype size) {
            QByteArray bytes = "#" + QByteArray(size - curve.size() - 2, 'x') + "\n" + curve;
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return QString();
            return file.fileName();
        };

        const AdjustmentCurvesResult fits = readAdjustmentCurvesFile(fileOf("fits.curves", 65536));
        QVERIFY2(fits.ok, qPrintable(fits.error));
        QCOMPARE(int(fits.adjustment.adjustComponent(AdjustmentChannel::Blue, 0)), 30);

        const AdjustmentCurvesResult tooLarge = readAdjustmentCurvesFile(fileOf("large.curves", 65537));
        QVERIFY(!tooLarge.ok);
        QCOMPARE(tooLarge.error, QStringLiteral("not a curves file (larger than 65536 bytes)"));
        QCOMPARE(tooLarge.adjustment.isIdentity(), true);
    }
};

QTEST_GUILESS_MAIN(TestImageAdjustment)
#include "tst_image_adjustment.moc"
