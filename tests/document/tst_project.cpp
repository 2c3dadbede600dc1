// What each edit does to the document, and when it records an entry. That undo and redo
// give back every byte, so that each entry holds every change its edit made, is the
// random-edit property of tst_history_round_trip.
#include "document/project.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/document_state.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

constexpr auto H = CanvasMode::Hires;
constexpr auto M = CanvasMode::Multicolor;
const CanvasLayoutSpec bitmapOnly {CanvasLayout::BitmapOnly};
const CanvasLayoutSpec sideBorders {CanvasLayout::SideBorders};
const CanvasLayoutSpec topBottom {CanvasLayout::TopBottomBorders};

ColorSlots slotsWith(std::initializer_list<std::pair<HistoryColorSlot, uchar>> values)
{
    ColorSlots slots = Project().colorSlots();
    for (const auto& [slot, index] : values)
        slots[slot] = index;
    return slots;
}

const HistoryEntry& lastEntry(const Project& project)
{
    return project.history().entries().at(project.history().index() - 1);
}

int countOf(const Colormap& map, const QRect& rect, uchar index)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += map.pixel(x, y) == index ? 1 : 0;
    }
    return count;
}

bool rectHolds(const Colormap& map, const QRect& rect, uchar index)
{
    return countOf(map, rect, index) == rect.width() * rect.height();
}

} // namespace

class TestProject : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colorReplaceTakesTheSlotAlong()
    {
        Project project(M, 0, 0, bitmapOnly, 1);
        project.setColorSlots(slotsWith({{HistoryColorSlot::Background, 2}}));
        drawRows(project.colormap(), QPoint(8, 8), {"2255", "2255"});

        QCOMPARE(project.replaceColor(5, 2, true), QRect(8, 8, 2, 2));
        QCOMPARE(project.slotIndex(HistoryColorSlot::Background), uchar(5));
        QCOMPARE(lastEntry(project).kind, HistoryEntryKind::ColorReplace);
    }

    void editsThatChangeNothingRecordNothing()
    {
        Project project(M, 0, 0, sideBorders, 1);
        QCOMPARE(project.swapColors(7, 8, true), QRect());
        QCOMPARE(project.replaceColor(3, 3, true), QRect());
        QCOMPARE(project.swapColorsInRegion(0, 1, QRegion(-50, -50, 10, 10), true), QRect());
        QCOMPARE(project.replaceColorInRegion(4, 4, QRegion(project.rect()), true), QRect());
        QCOMPARE(project.assignSpriteMc0Index(4), QRect());
        QCOMPARE(project.assignBackgroundIndex(0), QRect());
        QCOMPARE(project.assignBottomBorderMc1Index(10), QRect());
        QCOMPARE(project.history().count(), 0);
        QVERIFY(!project.isModified());
    }

    void borderOfHiresSideBordersRecoloursSpritesAndLockedPixels()
    {
        Project project(H, 0, 0, sideBorders, 1);
        drawRows(project.colormap(), QPoint(0, 20), {"77"});
        QCOMPARE(project.assignBorderIndex(14), QRect(0, 0, 416, 200));
        QCOMPARE(countOf(project.colormap(), project.rect(), 14), 2 * 48 * 200 + 8 * 200 - 2);
    }

    void verticalFlipTradesTheBorders()
    {
        Project project(M, 0, 0, topBottom, 1);
        ColorSlots slots = project.colorSlots();
        slots.values = {0, 0, 4, 10, 0, 4, 10, 6, 2, 14};
        project.setColorSlots(slots);
        project.applyImageConversion(
            project.colormap(), {slots, SpriteAlignment::Right, SpriteAlignment::Left});
        drawRows(project.colormap(), QPoint(0, 0), {"6"});
        const DocumentState before = stateOf(project);

        project.flipCanvas(Qt::Vertical, true);
        QCOMPARE(project.colorSlots().values, (std::array<uchar, 10> {0, 0, 4, 10, 6, 2, 14, 0, 4, 10}));
        QCOMPARE(project.colormap().pixel(0, 283), uchar(6));

        project.flipCanvas(Qt::Vertical, true);
        QVERIFY(stateOf(project) == before);
    }

    void borderAlignmentMergesUnitsThatNowClash()
    {
        // Left-aligned, columns 0-23 and 24-47 are two sprites; right-aligned, 8-31 is one
        // sprite holding both free colours, and the less used one gives way.
        Project project(H, 0, 0, topBottom, 1);
        drawRows(project.colormap(), QPoint(18, 10), {"555555 77"});

        QCOMPARE(project.setBorderAlignment(SpriteStripSide::Top, SpriteAlignment::Left, true), QRect());
        const QRect changed = project.setBorderAlignment(SpriteStripSide::Top, SpriteAlignment::Right, true);
        QCOMPARE(changed, QRect(24, 10, 2, 1));
        QCOMPARE(countOf(project.colormap(), project.rect(), 7), 0);
    }

    void clearCanvasKeepsLockedPixels()
    {
        Project project(H, 0, 0, sideBorders, 1);
        project.setColorSlots(slotsWith({{HistoryColorSlot::Border, 14}}));
        project.fillLockedBorderRects();
        QCOMPARE(project.clearCanvas(0), QRect());
        QCOMPARE(project.history().count(), 0);
        QCOMPARE(project.clearCanvas(3), QRect(0, 0, 408, 200));
        QCOMPARE(countOf(project.colormap(), project.rect(), 14), 8 * 200 + 48);
        QCOMPARE(lastEntry(project).kind, HistoryEntryKind::ClearScreen);
    }

    void resolveAllClashesRecordsTheSweep()
    {
        Project project(H, 0, 0, bitmapOnly, 1);
        drawRows(project.colormap(), QPoint(8, 0), {"11111111", "11111111", "22222222", "77777777"});
        QCOMPARE(project.resolveAllClashes(), QRect(8, 0, 8, 8));
        QVERIFY(!canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()));
        QCOMPARE(lastEntry(project).kind, HistoryEntryKind::ResolveClashes);
        QCOMPARE(project.resolveAllClashes(), QRect());
        QCOMPARE(project.history().count(), 1);
    }

    void importIntoADualScreenCanvas()
    {
        Project project(M, 0, 0, bitmapOnly, 2);
        Colormap picture = project.colormap();
        picture.fillRect(QRect(0, 0, 160, 200), 6);
        drawRows(picture, QPoint(4, 0), {"123"});

        // Screen 1 is blank: the canvas takes the picture's colours and screen 1 turns from
        // the old background to the new.
        project.applyImageImport(picture, 6, 3, 0, true);
        QVERIFY(rectHolds(project.colormap(), QRect(160, 0, 160, 200), 6));

        // Screen 1 holds artwork now: a second picture keeps the canvas's colours and gives
        // up the colour its cell cannot show.
        drawRows(project.colormap(), QPoint(200, 50), {"5"});
        Colormap second = project.colormap();
        drawRows(second, QPoint(0, 8), {"1234", "1234", "1235"});
        project.applyImageImport(second, 0, 0, 0, true);
        QCOMPARE(project.slotIndex(HistoryColorSlot::Background), uchar(6));
        QVERIFY(!canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()));
    }

    void imageConversionAppliesSlotsAlignmentsAndPixels()
    {
        Project project(M, 0, 0, topBottom, 1);
        Colormap converted = project.colormap();
        drawRows(converted, QPoint(10, 100), {"12", "34"});
        Project::ImageConversionState state {
            project.colorSlots(), SpriteAlignment::Left, SpriteAlignment::Right};
        state.slots[HistoryColorSlot::Border] = 9;
        state.slots[HistoryColorSlot::BottomBorderMc1] = 2;

        QCOMPARE(project.applyImageConversion(converted, state), QRect(10, 100, 2, 2));
        QCOMPARE(project.colorSlots(), state.slots);
        QCOMPARE(project.layout().bottomAlignment, SpriteAlignment::Right);
        QVERIFY(project.colormap() == converted);
    }

    void overlappingRegionChangesApplyInOrder()
    {
        Project project(H, 8, 1, bitmapOnly, 1);
        HistoryEntry entry(HistoryEntryKind::Shape);
        entry.changes.append(RegionChange {QRect(0, 0, 4, 1), ColormapCrop(canvasFromRows({"1111"})),
            ColormapCrop(canvasFromRows({"2222"}))});
        entry.changes.append(RegionChange {QRect(2, 0, 4, 1), ColormapCrop(canvasFromRows({"3333"})),
            ColormapCrop(canvasFromRows({"4444"}))});
        QCOMPARE(project.applyHistoryEntry(entry, false), QRect(0, 0, 6, 1));
        QCOMPARE(canvasToRows(project.colormap()), rowsText({"22444400"}));
        QCOMPARE(project.applyHistoryEntry(entry, true), QRect(0, 0, 6, 1));
        QCOMPARE(canvasToRows(project.colormap()), rowsText({"11113300"}));
    }

    void damagedCropLeavesTheCanvasAlone()
    {
        Project project(H, 8, 8, bitmapOnly, 1);
        drawRows(project.colormap(), QPoint(0, 0), {"12345678"});
        HistoryEntry entry(HistoryEntryKind::Stroke);
        entry.changes.append(ColorIndexChange {HistoryColorSlot::Border, 0, 5});
        QByteArray damaged = qCompress(QByteArray(8, '\1'));
        damaged.chop(4);
        entry.changes.append(RegionChange {QRect(0, 0, 8, 1),
            ColormapCrop::fromCompressed(damaged, QSize(8, 1)), ColormapCrop(canvasFromRows({"12345678"}))});
        project.history().push(entry);
        project.setColorSlots(slotsWith({{HistoryColorSlot::Border, 5}}));

        QTest::ignoreMessage(QtWarningMsg, "ColormapCrop: 8 x 1 crop failed to inflate");
        QCOMPARE(project.undo(), QRect());
        QCOMPARE(canvasToRows(project.colormap(), QRect(0, 0, 8, 1)), rowsText({"12345678"}));
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(0));
        QCOMPARE(project.redo(), QRect(0, 0, 8, 1));
    }

    // Undoing the reduction is one of the round trip's random edits.
    void borderSpriteReductionIsOneEdit()
    {
        Project project(CanvasMode::Hires, 0, 0, {CanvasLayout::TopBottomBorders}, 1);
        // Ten sprites in the top border (counts 10..1 from the left), eight in the bottom.
        for (int column = 0; column < 10; ++column) {
            for (int i = 0; i < 10 - column; ++i)
                project.colormap().setPixel(column * 24 + i, 0, 1);
        }
        for (int column = 0; column < 8; ++column)
            project.colormap().setPixel(column * 24, 250, 1);

        QCOMPARE(project.reduceBorderSpritesToBudget(), QRect(QPoint(192, 0), QPoint(239, 41)));
        QCOMPARE(project.history().entries().first().kind, HistoryEntryKind::ReduceBorderSprites);
        QCOMPARE(project.colormap().pixel(8 * 24, 0), uchar(0));
        QCOMPARE(project.colormap().pixel(7 * 24, 250), uchar(1));

        // Both borders within budget now: nothing more to erase, nothing recorded.
        QVERIFY(project.reduceBorderSpritesToBudget().isNull());
        QCOMPARE(project.history().count(), 1);
    }

    void selectionConfinedRecolour_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<bool>("missOneLine");
        QTest::addColumn<QList<int>>("followingSlots");
        // The selection covers the whole canvas (or misses the last line of the canvas,
        // and with it a line of every side strip or of the bottom strip).
        QTest::newRow("multicolor side strips covered") << M << sideBorders << false << QList<int> {2};
        QTest::newRow("multicolor side strip missing a line") << M << sideBorders << true << QList<int> {};
        QTest::newRow("top and bottom covered") << M << topBottom << false << QList<int> {5, 8};
        QTest::newRow("bottom strip missing a line") << M << topBottom << true << QList<int> {5};
        QTest::newRow("hires sprites share nothing") << H << topBottom << false << QList<int> {};
        QTest::newRow("bitmap only") << M << bitmapOnly << false << QList<int> {};
    }

    void selectionConfinedRecolour()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(bool, missOneLine);
        QFETCH(QList<int>, followingSlots);
        Project project(mode, 0, 0, layout, 1);
        // Colour 4 is a sprite multicolour of every strip and also the background, which a
        // selection never moves.
        ColorSlots slots = project.colorSlots();
        slots[HistoryColorSlot::Background] = 4;
        project.setColorSlots(slots);
        project.colormap().fill(4);
        const QRect selection = project.rect().adjusted(0, 0, 0, missOneLine ? -1 : 0);

        project.replaceColorInRegion(9, 4, QRegion(selection), false);
        for (int slot = 0; slot < colorSlotCount; ++slot) {
            const uchar expected = followingSlots.contains(slot) ? 9 : slots.values[std::size_t(slot)];
            QCOMPARE(project.slotIndex(HistoryColorSlot(slot)), expected);
        }
        QVERIFY(rectHolds(project.colormap(), selection, 9));
        QCOMPARE(countOf(project.colormap(), project.rect(), 4), missOneLine ? project.size().width() : 0);
        QCOMPARE(lastEntry(project).kind, HistoryEntryKind::ColorReplace);
    }

    void selectionSweepIsRecordedBeyondTheSelection()
    {
        // A hires cell of three colours; the selection touches only its first pixel, but the
        // sweep settles the whole cell and undo must bring all of it back.
        Project project(H, 16, 8, bitmapOnly, 1);
        drawRows(
            project.colormap(), QPoint(0, 0), {"11111111", "11111111", "22222222", "22222222", "77777777"});
        const QRect changed = project.swapColorsInRegion(5, 6, QRegion(0, 0, 1, 1), true);
        QCOMPARE(changed, QRect(0, 2, 8, 3));
        QVERIFY(!canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()));
    }

    void modifiedMarkerFollowsTheSavedPosition()
    {
        Project project(M, 0, 0, bitmapOnly, 1);
        project.assignBackgroundIndex(1);
        QVERIFY(project.isModified());
        project.assignBackgroundIndex(2);
        project.markClean();
        QVERIFY(!project.isModified());
        project.undo();
        QVERIFY(project.isModified());
        project.redo();
        QVERIFY(!project.isModified());

        // Back at the saved index through a different edit is still a change.
        project.undo();
        project.assignBackgroundIndex(5);
        QCOMPARE(project.history().index(), 2);
        QVERIFY(project.isModified());

        project.markClean();
        project.history().clear();
        QVERIFY(project.isModified());
    }

    // A snapshot of the wrong area is a caller's bug; recording it quietly would become
    // undo loss, so it is loud: an assertion where asserts are on, a critical log elsewhere.
    void mismatchedSnapshotIsLoud()
    {
        Project project(H);
        const Colormap wrongSize = project.colormap().snapshotRegion(QRect(0, 0, 3, 3));
        project.colormap().setPixel(1, 1, 9);
        HistoryEntry entry(HistoryEntryKind::Stroke);
#ifdef QT_NO_DEBUG
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("does not match the recorded area"));
        QVERIFY(project.appendRegionChange(entry, QRect(0, 0, 4, 4), wrongSize).isNull());
        QVERIFY(entry.changes.isEmpty());
#else
        if (qEnvironmentVariableIsSet("KROMEL_EXPECT_ASSERT")) {
            project.appendRegionChange(entry, QRect(0, 0, 4, 4), wrongSize);
            return;
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KROMEL_EXPECT_ASSERT"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("mismatchedSnapshotIsLoud")});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
#endif
    }
};

QTEST_GUILESS_MAIN(TestProject)
#include "tst_project.moc"
