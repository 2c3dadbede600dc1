#include "model/colormap_crop.h"
#include "support/canvas_picture.h"

#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray rawBytes(const Colormap& map)
{
    return QByteArray(reinterpret_cast<const char*>(map.constData()), qsizetype(map.width()) * map.height());
}

QByteArray bigEndianLength(quint32 length)
{
    const quint32 stored = qToBigEndian(length);
    return QByteArray(reinterpret_cast<const char*>(&stored), 4);
}

const QStringList picture {"0123", "4567", "89ab"};

} // namespace

class TestColormapCrop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void damagedCropFailsSafely_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray raw = rawBytes(canvasFromRows(picture));
        const QByteArray packed = qCompress(raw);
        QTest::newRow("stream holds fewer bytes")
            << qCompress(raw.left(11)).mid(4).prepend(bigEndianLength(12));
        QTest::newRow("prefix claims four gigabytes")
            << QByteArray(packed).replace(0, 4, bigEndianLength(0xffffffffu));
        QTest::newRow("not a zlib stream") << bigEndianLength(12) + QByteArray("garbage bytes");
    }

    void damagedCropFailsSafely()
    {
        QFETCH(QByteArray, bytes);
        const ColormapCrop crop = ColormapCrop::fromCompressed(bytes, QSize(4, 3));
        QTest::ignoreMessage(QtWarningMsg, "ColormapCrop: 4 x 3 crop failed to inflate");
        QVERIFY(!crop.inflate());
        QVERIFY(crop.isDamaged());
        // Readers that must show something get blank pixels of the right size.
        QCOMPARE(canvasToRows(crop.pixels()), rowsText({"0000", "0000", "0000"}));
        // The damage is reported once and the bytes stay, so saving again does not turn
        // the stand-in zeros into artwork.
        QVERIFY(!crop.inflate());
        QCOMPARE(crop.compressedBytes(), bytes);
    }
};

QTEST_GUILESS_MAIN(TestColormapCrop)
#include "tst_colormap_crop.moc"
