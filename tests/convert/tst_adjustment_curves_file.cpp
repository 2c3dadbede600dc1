// The tone curves file as the reader sees it on disk: how much of a file it is willing to
// read.
#include "convert/adjustment_curves_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAdjustmentCurvesFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestAdjustmentCurvesFile)
#include "tst_adjustment_curves_file.moc"
