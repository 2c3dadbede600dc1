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
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
