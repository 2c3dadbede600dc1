// The undo history: the redo tail and the stroke anchor of the history itself; its
// changes and change lists, whose small crops kept inside the change must behave exactly
// like crops held on the heap, through copies, moves, undo and redo; and compressed crops
// from a file, damaged ones included.
#include "model/history.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <QtEndian>

namespace {

Colormap randomCrop(QRandomGenerator& random, const QSize& size)
{
    Colormap crop(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            crop.setPixel(x, y, uchar(random.bounded(256)));
    }
    return crop;
}

// What a change of `rect` with these crops must leave on a canvas: the plain pixel copy
// that every form of change has to match.
Colormap expectedAfterRestore(Colormap canvas, const QRect& rect, const Colormap& crop)
{
    canvas.restoreRegion(rect, crop);
    return canvas;
}

// A length prefix as qCompress writes it.
QByteArray bigEndianLength(quint32 length)
{
    const quint32 stored = qToBigEndian(length);
    return QByteArray(reinterpret_cast<const char*>(&stored), 4);
}

uchar markerOf(const HistoryChange& change)
{
    return change.colorIndexChange() ? change.colorIndexChange()->afterIndex : uchar(0xff);
}

// An entry whose one change is recognisable by its slot value.
HistoryEntry entryMarked(uchar marker, HistoryEntryKind kind = HistoryEntryKind::Stroke,
    std::optional<QPoint> anchor = std::nullopt)
{
    HistoryEntry entry(kind);
    entry.changes.append(ColorIndexChange {HistoryColorSlot::Border, 0, marker});
    entry.strokeAnchor = anchor;
    return entry;
}

uchar markerOf(const HistoryEntry* entry)
{
    return entry ? markerOf(entry->changes.first()) : uchar(0xff);
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void newEditDropsTheRedoTail()
    {
        History history;
        for (uchar marker : {1, 2, 3})
            history.push(entryMarked(marker));
        history.undo();
        history.undo();
        // An entry without changes is no edit: the redo tail stays.
        history.push(HistoryEntry(HistoryEntryKind::Fill));
        QCOMPARE(history.count(), 3);
        history.push(entryMarked(4));
        QCOMPARE(history.count(), 2);
        QVERIFY(!history.redo());
        QCOMPARE(markerOf(history.undo()), uchar(4));
        QCOMPARE(markerOf(history.undo()), uchar(1));
    }

    void strokeAnchorFollowsTheCursor_data()
    {
        QTest::addColumn<HistoryEntryKind>("kind");
        QTest::addColumn<bool>("endsChain");
        QTest::newRow("stroke") << HistoryEntryKind::Stroke << false;
        QTest::newRow("fill") << HistoryEntryKind::Fill << false;
        QTest::newRow("clear screen") << HistoryEntryKind::ClearScreen << true;
        QTest::newRow("flip") << HistoryEntryKind::Flip << true;
    }

    void strokeAnchorFollowsTheCursor()
    {
        QFETCH(HistoryEntryKind, kind);
        QFETCH(bool, endsChain);
        const QPoint a(3, 4);
        const QPoint b(10, 20);
        History history;
        history.push(entryMarked(1, HistoryEntryKind::Stroke, a));
        history.push(entryMarked(2, HistoryEntryKind::Fill));
        history.push(entryMarked(3, HistoryEntryKind::Stroke, b));
        QCOMPARE(history.strokeAnchor(), b);
        history.undo();
        QCOMPARE(history.strokeAnchor(), a);
        history.redo();

        history.push(entryMarked(4, kind));
        QCOMPARE(history.strokeAnchor(), endsChain ? std::nullopt : std::optional<QPoint>(b));
        history.undo();
        QCOMPARE(history.strokeAnchor(), b);
    }

    void everyFormRestoresItsCrops_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<bool>("inlined");
        QTest::newRow("1 x 1") << QRect(5, 3, 1, 1) << true;
        QTest::newRow("2 x 2") << QRect(0, 0, 2, 2) << true;
        QTest::newRow("4 x 1 at the right edge") << QRect(12, 7, 4, 1) << true;
        QTest::newRow("1 x 4 at the bottom edge") << QRect(15, 4, 1, 4) << true;
        QTest::newRow("5 x 1") << QRect(3, 3, 5, 1) << false;
        QTest::newRow("3 x 2") << QRect(3, 3, 3, 2) << false;
        // Reaching past the canvas: only what lies on it is written, in either form.
        QTest::newRow("1 x 2 half outside") << QRect(15, 7, 1, 2) << true;
        QTest::newRow("3 x 3 half outside") << QRect(14, 6, 3, 3) << false;
    }

    void everyFormRestoresItsCrops()
    {
        QFETCH(QRect, rect);
        QFETCH(bool, inlined);
        QRandomGenerator random(7);
        const Colormap canvas = randomCrop(random, QSize(16, 8));
        const Colormap before = randomCrop(random, rect.size());
        const Colormap after = randomCrop(random, rect.size());
        const HistoryChange change(RegionChange {rect, ColormapCrop(before), ColormapCrop(after)});

        QCOMPARE(!change.inlineCrop(false).empty(), inlined);
        QCOMPARE(change.heldCrop(true) == nullptr, inlined);
        QVERIFY(change.regionCrop(false).pixels() == before);
        QVERIFY(change.regionCrop(true).pixels() == after);

        // A copy is a change of its own: the original is unaffected when the copy goes,
        // and what moves out of a change leaves an empty one behind.
        std::optional<HistoryChange> copy(change);
        const HistoryChange moved = std::move(*copy);
        copy.reset();
        for (const HistoryChange* each : {&change, &moved}) {
            Colormap target = canvas;
            QVERIFY(each->restoreRegion(target, false));
            QVERIFY(target == expectedAfterRestore(canvas, rect, before));
            QVERIFY(each->restoreRegion(target, true));
            QVERIFY(target == expectedAfterRestore(canvas, rect, after));
        }
    }

    // Crops a file gave compressed keep their bytes, however small, so that saving them
    // again writes the same bytes.
    void compressedCropsStayHeld()
    {
        const QByteArray packed = qCompress(QByteArray(1, '\7'));
        const HistoryChange change(
            RegionChange {QRect(2, 1, 1, 1), ColormapCrop::fromCompressed(packed, QSize(1, 1)),
                ColormapCrop::fromCompressed(packed, QSize(1, 1))});
        QVERIFY(change.inlineCrop(true).empty());
        QCOMPARE(change.heldCrop(true)->compressedBytes(), packed);
        Colormap canvas(4, 4);
        QVERIFY(change.restoreRegion(canvas, true));
        QCOMPARE(canvas.pixel(2, 1), uchar(7));
    }

    // A crop whose bytes do not inflate, as in a damaged file.
    void damagedCropFailsSafely_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // The pixels of a 4 x 3 crop, one byte each.
        const QByteArray raw = QByteArray::fromHex("000102030405060708090a0b");
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
        QVERIFY(crop.pixels() == Colormap(4, 3));
        // The damage is reported once and the bytes stay, so saving again does not turn
        // the stand-in zeros into artwork.
        QVERIFY(!crop.inflate());
        QCOMPARE(crop.compressedBytes(), bytes);
    }

    void listsKeepTheirOrderThroughCopies()
    {
        HistoryChangeList list;
        QVERIFY(list.isEmpty() && list.begin() == list.end());
        for (uchar marker = 1; marker <= 5; ++marker) {
            HistoryChangeList copy = list;
            if (marker % 2 == 0)
                list.append(ColorIndexChange {HistoryColorSlot::Border, 0, marker});
            else
                list.append(RegionChange {
                    QRect(marker, 0, 1, 1), ColormapCrop(Colormap(1, 1)), ColormapCrop(Colormap(1, 1))});
            QCOMPARE(list.size(), qsizetype(marker));
            // The copy taken before is untouched by the append.
            QCOMPARE(copy.size(), qsizetype(marker - 1));
        }
        QList<int> forward;
        for (const HistoryChange& change : list)
            forward.append(change.isRegionChange() ? change.regionRect().left() : markerOf(change));
        QCOMPARE(forward, (QList<int> {1, 2, 3, 4, 5}));
        QList<int> backward;
        for (auto it = list.crbegin(); it != list.crend(); ++it)
            backward.append(it->isRegionChange() ? it->regionRect().left() : markerOf(*it));
        QCOMPARE(backward, (QList<int> {5, 4, 3, 2, 1}));
        QCOMPARE(markerOf(list.at(3)), uchar(4));
        QCOMPARE(list.last().regionRect(), QRect(5, 0, 1, 1));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
