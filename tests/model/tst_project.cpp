// What each edit does to the document and records in its entry. That undo and redo give
// back every byte is the random-edit property of tst_history_round_trip.
#include "model/project.h"
#include "rules/unresolved_clashes.h"
#include "support/canvas_picture.h"
#include "support/document_state.h"

#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)

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

using Kinds = QList<HistoryChangeKind>;
constexpr auto slotChange = HistoryChangeKind::ColorIndexChange;
constexpr auto regionChange = HistoryChangeKind::RegionChange;
constexpr auto alignmentChange = HistoryChangeKind::BorderAlignmentChange;

Kinds changeKinds(const HistoryEntry& entry)
{
    Kinds kinds;
    for (const HistoryChange& change : entry.changes)
        kinds.append(change.kind());
    return kinds;
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

QRect stripRect(const Project& project, SpriteStripSide side)
{
    for (const CanvasRegion& region : canvasRegions(project.mode(), project.size(), project.layout())) {
        if (region.side == side)
            return region.rect;
    }
    return {};
}

} // namespace

class TestProject : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void constructionFollowsTheLayout_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<int>("screens");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("screensAcross");
        QTest::newRow("dual multicolor") << M << bitmapOnly << QSize(0, 0) << 2 << QSize(320, 200) << 2;
        QTest::newRow("sprite layouts have one screen")
            << H << sideBorders << QSize(0, 0) << 3 << QSize(416, 200) << 1;
        QTest::newRow("free size") << H << bitmapOnly << QSize(300, 180) << 1 << QSize(300, 180) << 1;
        QTest::newRow("free width, default height")
            << M << bitmapOnly << QSize(100, -4) << 0 << QSize(100, 200) << 1;
        QTest::newRow("at most eight screens")
            << H << bitmapOnly << QSize(0, 0) << 12 << QSize(2560, 200) << 8;
    }

    void constructionFollowsTheLayout()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QSize, requested);
        QFETCH(int, screens);
        QFETCH(QSize, size);
        QFETCH(int, screensAcross);
        const Project project(mode, requested.width(), requested.height(), layout, screens);
        QCOMPARE(project.size(), size);
        QCOMPARE(project.screensAcross(), screensAcross);
        QCOMPARE(project.transform().pixelAspect(), canvasModePixelAspect(mode));
        QVERIFY(!project.isModified());
        QCOMPARE(project.colorSlots().values, (std::array<uchar, 10> {0, 0, 4, 10, 0, 4, 10, 0, 4, 10}));
    }

    void otherScreensHoldArtwork()
    {
        Project project(H, 0, 0, bitmapOnly, 2);
        project.colormap().fill(5);
        QVERIFY(!project.otherScreensHoldArtwork(0));
        project.colormap().setPixel(639, 199, 6);
        QVERIFY(project.otherScreensHoldArtwork(0));
        QVERIFY(!project.otherScreensHoldArtwork(1));
    }

    void colorReplaceTakesTheSlotAlong()
    {
        Project project(M, 0, 0, bitmapOnly, 1);
        project.setColorSlots(slotsWith({{HistoryColorSlot::Background, 2}}));
        drawRows(project.colormap(), QPoint(8, 8), {"2255", "2255"});

        const QRect changed = project.replaceColor(5, 2, true);
        QCOMPARE(project.slotIndex(HistoryColorSlot::Background), uchar(5));
        QCOMPARE(countOf(project.colormap(), project.rect(), 2), 0);
        QCOMPARE(changed, QRect(8, 8, 2, 2));
        QCOMPARE(project.history().count(), 1);
        const HistoryEntry& entry = lastEntry(project);
        QCOMPARE(entry.kind, HistoryEntryKind::ColorReplace);
        QCOMPARE(changeKinds(entry), (Kinds {slotChange, regionChange}));
        const ColorIndexChange* slot = entry.changes.first().colorIndexChange();
        QCOMPARE(slot->slot, HistoryColorSlot::Background);
        QCOMPARE(slot->beforeIndex, uchar(2));
        QCOMPARE(slot->afterIndex, uchar(5));
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

    void swappingTheBorderKeepsLockedPixelsInTheBorderColour()
    {
        Project project(H, 0, 0, sideBorders, 1);
        project.setColorSlots(slotsWith({{HistoryColorSlot::Border, 14}}));
        project.fillLockedBorderRects();
        drawRows(project.colormap(), QPoint(100, 8), {"33"});

        project.swapColors(3, 14, true);
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(3));
        for (const QRect& locked : canvasLockedBorderRects(H, project.size(), sideBorders))
            QVERIFY(rectHolds(project.colormap(), locked, 3));
        QCOMPARE(project.colormap().pixel(100, 8), uchar(14));
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
        const HistoryEntry& entry = lastEntry(project);
        QCOMPARE(entry.kind, HistoryEntryKind::ColorReplace);
        QCOMPARE(entry.changes.last().kind(), regionChange);
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

    void borderOfABitmapCanvasIsAColourOnly()
    {
        Project project(H, 0, 0, bitmapOnly, 1);
        QCOMPARE(project.assignBorderIndex(5), QRect());
        QCOMPARE(project.history().count(), 1);
        QCOMPARE(changeKinds(lastEntry(project)), Kinds {slotChange});
        QCOMPARE(project.undo(), QRect());
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(0));
    }

    void borderOfHiresSideBordersRecoloursSpritesAndLockedPixels()
    {
        Project project(H, 0, 0, sideBorders, 1);
        drawRows(project.colormap(), QPoint(0, 20), {"77"});
        const QRect changed = project.assignBorderIndex(14);
        QCOMPARE(changed, QRect(0, 0, 416, 200));
        const QRect left = stripRect(project, SpriteStripSide::Left);
        const QRect right = stripRect(project, SpriteStripSide::Right);
        QCOMPARE(countOf(project.colormap(), left, 14), left.width() * left.height() - 2);
        QVERIFY(rectHolds(project.colormap(), right, 14));
        QVERIFY(rectHolds(project.colormap(), QRect(408, 0, 8, 200), 14));
        QVERIFY(rectHolds(project.colormap(), canvasBitmapRect(H, project.size(), sideBorders), 0));
        QCOMPARE(
            changeKinds(lastEntry(project)), (Kinds {slotChange, regionChange, regionChange, regionChange}));
    }

    void backgroundAssignment_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<bool>("bitmapFollows");
        QTest::addColumn<bool>("stripsFollow");
        QTest::newRow("multicolor bitmap") << M << bitmapOnly << true << false;
        QTest::newRow("multicolor side sprites show the background") << M << sideBorders << true << true;
        QTest::newRow("top and bottom strips have their own") << M << topBottom << true << false;
        QTest::newRow("hires has no background register") << H << bitmapOnly << false << false;
    }

    void backgroundAssignment()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(bool, bitmapFollows);
        QFETCH(bool, stripsFollow);
        Project project(mode, 0, 0, layout, 1);
        const QRect changed = project.assignBackgroundIndex(6);
        const QRect bitmap = canvasBitmapRect(mode, project.size(), layout);
        QVERIFY(rectHolds(project.colormap(), bitmap, bitmapFollows ? 6 : 0));
        for (const CanvasRegion& region : canvasRegions(mode, project.size(), layout)) {
            if (region.isSpriteStrip())
                QVERIFY(rectHolds(project.colormap(), region.rect, stripsFollow ? 6 : 0));
        }
        QCOMPARE(changed, stripsFollow ? project.rect() : bitmapFollows ? bitmap : QRect());
        QCOMPARE(project.slotIndex(HistoryColorSlot::Background), uchar(6));
    }

    void spriteColourAssignments()
    {
        // Side sprite multicolours colour only multicolor side strips.
        Project side(M, 0, 0, sideBorders, 1);
        side.colormap().fill(4);
        QCOMPARE(side.assignSpriteMc0Index(7),
            stripRect(side, SpriteStripSide::Left).united(stripRect(side, SpriteStripSide::Right)));
        QCOMPARE(countOf(side.colormap(), side.rect(), 7), 2 * 24 * 200);

        // A border's colours stay in their own strip.
        Project borders(M, 0, 0, topBottom, 1);
        borders.colormap().fill(4);
        QCOMPARE(borders.assignTopBorderMc0Index(7), stripRect(borders, SpriteStripSide::Top));
        QVERIFY(rectHolds(borders.colormap(), stripRect(borders, SpriteStripSide::Top), 7));
        QCOMPARE(countOf(borders.colormap(), borders.rect(), 7), 160 * 42);
        QCOMPARE(borders.assignSpriteMc1Index(3), QRect());

        // In hires a border sprite shares only the border's background.
        Project hires(H, 0, 0, topBottom, 1);
        hires.colormap().fill(4);
        QCOMPARE(hires.assignBottomBorderMc0Index(7), QRect());
        QCOMPARE(countOf(hires.colormap(), hires.rect(), 7), 0);
        hires.colormap().fill(0);
        QCOMPARE(hires.assignBottomBorderBackgroundIndex(2), stripRect(hires, SpriteStripSide::Bottom));
        QCOMPARE(countOf(hires.colormap(), hires.rect(), 2), 320 * 42);
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
        QCOMPARE(project.layout().topAlignment, SpriteAlignment::Left);
        QCOMPARE(project.layout().bottomAlignment, SpriteAlignment::Right);
        QCOMPARE(project.colormap().pixel(0, 283), uchar(6));
        QCOMPARE(changeKinds(lastEntry(project)),
            (Kinds {slotChange, slotChange, slotChange, slotChange, slotChange, slotChange, alignmentChange,
                alignmentChange, regionChange}));

        project.flipCanvas(Qt::Vertical, true);
        QVERIFY(stateOf(project) == before);
    }

    void horizontalFlip()
    {
        // The locked border column stays where it is while the 408 editable columns turn.
        Project hires(H, 0, 0, sideBorders, 1);
        hires.setColorSlots(slotsWith({{HistoryColorSlot::Border, 14}}));
        hires.fillLockedBorderRects();
        drawRows(hires.colormap(), QPoint(0, 5), {"12"});
        hires.flipCanvas(Qt::Horizontal, false);
        QCOMPARE(hires.colormap().pixel(407, 5), uchar(1));
        QCOMPARE(hires.colormap().pixel(406, 5), uchar(2));
        QVERIFY(rectHolds(hires.colormap(), QRect(408, 0, 8, 200), 14));
        QVERIFY(rectHolds(hires.colormap(), QRect(0, 0, 48, 1), 14));

        // Mirrored, a border sprite grid hugs the other edge.
        Project borders(H, 0, 0, topBottom, 1);
        borders.flipCanvas(Qt::Horizontal, true);
        QCOMPARE(borders.layout().topAlignment, SpriteAlignment::Right);
        QCOMPARE(borders.layout().bottomAlignment, SpriteAlignment::Right);
        QCOMPARE(changeKinds(lastEntry(borders)), (Kinds {alignmentChange, alignmentChange}));
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
        QCOMPARE(project.layout().topAlignment, SpriteAlignment::Right);
        QCOMPARE(project.layout().bottomAlignment, SpriteAlignment::Left);
        QCOMPARE(changeKinds(lastEntry(project)), (Kinds {alignmentChange, regionChange}));

        // The converter's working copy moves the grid without touching pixels.
        Project copy(H, 0, 0, topBottom, 1);
        drawRows(copy.colormap(), QPoint(18, 10), {"555555 77"});
        QCOMPARE(copy.setBorderAlignment(SpriteStripSide::Bottom, SpriteAlignment::Right, false), QRect());
        QCOMPARE(copy.layout().bottomAlignment, SpriteAlignment::Right);
        QCOMPARE(copy.history().count(), 1);
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
        QCOMPARE(lastEntry(project).changes.size(), 1);
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
        QCOMPARE(project.slotIndex(HistoryColorSlot::Background), uchar(6));
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(3));
        QVERIFY(rectHolds(project.colormap(), QRect(160, 0, 160, 200), 6));
        QCOMPARE(
            changeKinds(lastEntry(project)), (Kinds {slotChange, slotChange, regionChange, regionChange}));

        // Screen 1 holds artwork now: a second picture keeps the canvas's colours and gives
        // up the colour its cell cannot show.
        drawRows(project.colormap(), QPoint(200, 50), {"5"});
        Colormap second = project.colormap();
        drawRows(second, QPoint(0, 8), {"1234", "1234", "1235"});
        project.applyImageImport(second, 0, 0, 0, true);
        QCOMPARE(project.slotIndex(HistoryColorSlot::Background), uchar(6));
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(3));
        QVERIFY(!canvasHasUnresolvedClashes(project.makeClashContext(), project.colormap()));
        QCOMPARE(changeKinds(lastEntry(project)), Kinds {regionChange});
    }

    void importsRefuseAnotherSize()
    {
        Project project(H, 0, 0, sideBorders, 1);
        const Colormap small(10, 10);
        QCOMPARE(project.applyImageImport(small, 1, 1, 0, true), QRect());
        QCOMPARE(project.applyImageImport(Colormap(), 1, 1, 0, true), QRect());
        QCOMPARE(project.applySpriteImport(small), QRect());
        QCOMPARE(project.applyImageConversion(small, {}), QRect());
        QCOMPARE(project.history().count(), 0);
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(0));
    }

    void spriteImportTouchesOnlyTheStrips()
    {
        Project project(H, 0, 0, sideBorders, 1);
        project.setColorSlots(slotsWith({{HistoryColorSlot::Border, 14}}));
        project.fillLockedBorderRects();
        Colormap sprites(project.size().width(), project.size().height());
        sprites.fill(7);
        const QRect changed = project.applySpriteImport(sprites);
        QCOMPARE(changed, QRect(0, 0, 408, 200));
        QVERIFY(rectHolds(project.colormap(), canvasBitmapRect(H, project.size(), sideBorders), 0));
        QVERIFY(rectHolds(project.colormap(), QRect(0, 0, 48, 1), 14));
        QCOMPARE(countOf(project.colormap(), project.rect(), 7), 2 * 48 * 200 - 48);
        QCOMPARE(lastEntry(project).kind, HistoryEntryKind::SpriteImport);
    }

    void imageConversionRecordsSlotsAlignmentsThenPixels()
    {
        Project project(M, 0, 0, topBottom, 1);
        Colormap converted = project.colormap();
        drawRows(converted, QPoint(10, 100), {"12", "34"});
        Project::ImageConversionState state {
            project.colorSlots(), SpriteAlignment::Left, SpriteAlignment::Right};
        state.slots[HistoryColorSlot::Border] = 9;
        state.slots[HistoryColorSlot::BottomBorderMc1] = 2;

        QCOMPARE(project.applyImageConversion(converted, state), QRect(10, 100, 2, 2));
        QCOMPARE(project.colormap(), converted);
        QCOMPARE(project.colorSlots(), state.slots);
        QCOMPARE(project.layout().bottomAlignment, SpriteAlignment::Right);
        const HistoryEntry& entry = lastEntry(project);
        QCOMPARE(changeKinds(entry), (Kinds {slotChange, slotChange, alignmentChange, regionChange}));
        QCOMPARE(entry.changes.at(0).colorIndexChange()->slot, HistoryColorSlot::Border);
        QCOMPARE(entry.changes.at(1).colorIndexChange()->slot, HistoryColorSlot::BottomBorderMc1);
        QVERIFY(entry.changes.at(2).borderAlignmentChange()->bottomBorder);
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

    void recordingKeepsOnlyTheDifferingPixels()
    {
        Project project(H, 0, 0, bitmapOnly, 1);
        const QRect stroke(100, 50, 20, 10);
        const Colormap before = project.colormap().snapshotRegion(stroke);
        project.colormap().setPixel(105, 52, 3);
        project.colormap().setPixel(107, 55, 4);
        HistoryEntry entry(HistoryEntryKind::Stroke);
        QCOMPARE(project.appendRegionChange(entry, stroke, before), QRect(105, 52, 3, 4));
        const RegionChange* region = entry.changes.first().regionChange();
        QCOMPARE(canvasToRows(region->before.pixels()), rowsText({"000", "000", "000", "000"}));
        QCOMPARE(canvasToRows(region->after.pixels()), rowsText({"300", "000", "000", "004"}));
        QCOMPARE(
            project.appendRegionChange(entry, stroke, project.colormap().snapshotRegion(stroke)), QRect());
        QCOMPARE(entry.changes.size(), 1);
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
        QCOMPARE(project.history().index(), 0);
        QCOMPARE(project.redo(), QRect(0, 0, 8, 1));
        QCOMPARE(project.slotIndex(HistoryColorSlot::Border), uchar(5));
    }

    void borderSpriteReductionIsOneUndoableEdit()
    {
        Project project(CanvasMode::Hires, 0, 0, {CanvasLayout::TopBottomBorders}, 1);
        // Ten sprites in the top border (counts 10..1 from the left), eight in the bottom.
        for (int column = 0; column < 10; ++column) {
            for (int i = 0; i < 10 - column; ++i)
                project.colormap().setPixel(column * 24 + i, 0, 1);
        }
        for (int column = 0; column < 8; ++column)
            project.colormap().setPixel(column * 24, 250, 1);
        const Colormap before = project.colormap();

        QCOMPARE(project.reduceBorderSpritesToBudget(), QRect(QPoint(192, 0), QPoint(239, 41)));
        QCOMPARE(project.history().count(), 1);
        QCOMPARE(project.history().entries().first().kind, HistoryEntryKind::ReduceBorderSprites);
        QCOMPARE(project.colormap().pixel(8 * 24, 0), uchar(0));
        QCOMPARE(project.colormap().pixel(7 * 24, 0), uchar(1));
        QCOMPARE(project.colormap().pixel(7 * 24, 250), uchar(1));

        // Both borders within budget now: nothing more to erase, nothing recorded.
        QVERIFY(project.reduceBorderSpritesToBudget().isNull());
        QCOMPARE(project.history().count(), 1);
        project.undo();
        QCOMPARE(project.colormap(), before);
    }
};

QTEST_GUILESS_MAIN(TestProject)
#include "tst_project.moc"
