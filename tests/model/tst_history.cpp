#include "model/history.h"

#include <QTest>

namespace {

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
    return entry ? entry->changes.first().colorIndexChange()->afterIndex : uchar(0xff);
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cursorWalksTheList()
    {
        History history;
        QVERIFY(!history.undo());
        QVERIFY(!history.redo());
        for (uchar marker : {1, 2, 3})
            history.push(entryMarked(marker));
        QCOMPARE(history.index(), 3);
        QCOMPARE(history.revision(), 3);

        QCOMPARE(markerOf(history.undo()), uchar(3));
        QCOMPARE(markerOf(history.undo()), uchar(2));
        QCOMPARE(markerOf(history.redo()), uchar(2));
        QCOMPARE(markerOf(history.redo()), uchar(3));
        QVERIFY(!history.redo());
        QCOMPARE(history.revision(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(history.undo());
        QVERIFY(!history.undo());
        QCOMPARE(history.index(), 0);
        QCOMPARE(history.count(), 3);
    }

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
        QCOMPARE(history.revision(), 3);
        history.push(entryMarked(4));
        QCOMPARE(history.count(), 2);
        QCOMPARE(history.index(), 2);
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
        QTest::newRow("colour assignment") << HistoryEntryKind::ColorAssignment << false;
        QTest::newRow("colour swap") << HistoryEntryKind::ColorSwap << false;
        QTest::newRow("clear screen") << HistoryEntryKind::ClearScreen << true;
        QTest::newRow("image conversion") << HistoryEntryKind::ImageConversion << true;
        QTest::newRow("image import") << HistoryEntryKind::ImageImport << true;
        QTest::newRow("sprite import") << HistoryEntryKind::SpriteImport << true;
        QTest::newRow("flip") << HistoryEntryKind::Flip << true;
    }

    void strokeAnchorFollowsTheCursor()
    {
        QFETCH(HistoryEntryKind, kind);
        QFETCH(bool, endsChain);
        const QPoint a(3, 4);
        const QPoint b(10, 20);
        History history;
        QCOMPARE(history.strokeAnchor(), std::nullopt);
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

    void clearAndRestore()
    {
        History history;
        history.clear();
        QCOMPARE(history.revision(), 0);

        history.push(entryMarked(1, HistoryEntryKind::Stroke, QPoint(1, 1)));
        history.clear();
        QCOMPARE(history.count(), 0);
        QCOMPARE(history.index(), 0);
        QCOMPARE(history.revision(), 2);
        QCOMPARE(history.strokeAnchor(), std::nullopt);

        const QList<HistoryEntry> loaded {
            entryMarked(1), HistoryEntry(HistoryEntryKind::Fill), entryMarked(2)};
        history.restore(loaded, 5);
        // A stored entry without changes is dropped; the index clamps to what is left.
        QCOMPARE(history.count(), 2);
        QCOMPARE(history.index(), 2);
        QCOMPARE(history.revision(), 3);
        history.restore(loaded, -1);
        QCOMPARE(history.index(), 0);
        QCOMPARE(history.revision(), 4);
        QCOMPARE(markerOf(history.redo()), uchar(1));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
