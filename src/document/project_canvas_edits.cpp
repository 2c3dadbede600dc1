// The edits that rework the canvas as a whole: clearing, the clash sweep, border
// alignment, flips, imports and the adoption of a converted image.
#include "document/project.h"

#include "rules/clash_extent.h"
#include "rules/clash_sweep.h"

#include <utility>

namespace {

SpriteAlignment otherAlignment(SpriteAlignment alignment)
{
    return alignment == SpriteAlignment::Left ? SpriteAlignment::Right : SpriteAlignment::Left;
}

} // namespace

QRect Project::clearCanvas(uchar index)
{
    HistoryEntry entry(HistoryEntryKind::ClearScreen);
    const Colormap before = m_colormap;
    m_colormap.fill(index);
    return finishWholeCanvasEdit(entry, before, false);
}

QRect Project::finishWholeCanvasEdit(HistoryEntry& entry, const Colormap& before, bool resolve)
{
    // Locked pixels follow the border colour, wherever the edit moved or recoloured them.
    fillLockedBorderRects();
    if (resolve)
        resolveExistingClashes(makeClashContext(), m_colormap, rect());
    const QRect changed = appendRegionChange(entry, rect(), before);
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::resolveAllClashes()
{
    HistoryEntry entry(HistoryEntryKind::ResolveClashes);
    const Colormap before = m_colormap;
    const QRect swept = resolveExistingClashes(makeClashContext(), m_colormap, rect());
    if (appendRegionChange(entry, rect(), before).isEmpty())
        return {};
    m_history.push(std::move(entry));
    return swept;
}

QRect Project::setBorderAlignment(SpriteStripSide side, SpriteAlignment alignment, bool resolve)
{
    const bool bottom = side != SpriteStripSide::Top;
    const SpriteAlignment current = bottom ? m_layout.bottomAlignment : m_layout.topAlignment;
    if (current == alignment)
        return {};
    HistoryEntry entry(HistoryEntryKind::BorderAlignment);
    recordAlignmentChange(entry, bottom, alignment);
    QRect changed;
    if (resolve) {
        // The sprite boundaries have moved: a unit may now straddle two old units' free
        // colours, and the sweep merges them. The context carries the new alignment.
        const SpriteStripSide stripSide = bottom ? SpriteStripSide::Bottom : SpriteStripSide::Top;
        const ClashContext ctx = makeClashContext();
        for (const CanvasRegion& region : regions()) {
            if (!region.isSpriteStrip() || region.side != stripSide)
                continue;
            const Colormap before = m_colormap.snapshotRegion(region.rect);
            resolveExistingClashes(ctx, m_colormap, region.rect);
            changed = changed.united(appendRegionChange(entry, region.rect, before));
        }
    }
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::flipCanvas(Qt::Orientation orientation, bool resolve)
{
    QRect flipRect;
    for (const CanvasRegion& region : regions())
        flipRect = flipRect.united(region.rect);
    flipRect = flipRect.intersected(rect());
    if (flipRect.isEmpty())
        return {};
    HistoryEntry entry(HistoryEntryKind::Flip);
    const Colormap before = m_colormap;
    m_colormap.mirror(flipRect, orientation);

    // The border sprite grids travel with the artwork: mirrored left to right a grid hugs
    // the other bitmap edge; upside down the top and bottom borders trade their colours
    // and their grids.
    if (m_layout.layout == CanvasLayout::TopBottomBorders) {
        SpriteAlignment top = m_layout.topAlignment;
        SpriteAlignment bottom = m_layout.bottomAlignment;
        if (orientation == Qt::Horizontal) {
            top = otherAlignment(top);
            bottom = otherAlignment(bottom);
        } else {
            const ColorSlots old = m_slots;
            for (int offset = 0; offset < 3; ++offset) {
                const auto topSlot = HistoryColorSlot(int(HistoryColorSlot::TopBorderBackground) + offset);
                const auto bottomSlot
                    = HistoryColorSlot(int(HistoryColorSlot::BottomBorderBackground) + offset);
                m_slots[topSlot] = old[bottomSlot];
                m_slots[bottomSlot] = old[topSlot];
            }
            // Recorded in slot order, each slot only when it changed.
            for (int slot = int(HistoryColorSlot::TopBorderBackground); slot < colorSlotCount; ++slot) {
                const auto s = HistoryColorSlot(slot);
                if (old[s] != m_slots[s])
                    entry.changes.append(ColorIndexChange {s, old[s], m_slots[s]});
            }
            std::swap(top, bottom);
        }
        recordAlignmentChange(entry, false, top);
        recordAlignmentChange(entry, true, bottom);
    }
    // Side strips' rows sit asymmetrically, so a vertical flip can carry colours across
    // unit boundaries; the sweep settles them.
    return finishWholeCanvasEdit(entry, before, resolve);
}

QRect Project::applyImageImport(
    const Colormap& image, uchar background, uchar border, int targetScreen, bool resolve)
{
    if (image.isEmpty() || image.size() != size())
        return {};
    HistoryEntry entry(HistoryEntryKind::ImageImport);
    const uchar oldBackground = m_slots[HistoryColorSlot::Background];
    // With artwork on another screen the picture joins a canvas whose shared colours are
    // in use: it takes the canvas's colours and gives up what does not fit. Otherwise the
    // canvas takes the picture's colours.
    const bool keepColors = m_screensAcross > 1 && otherScreensHoldArtwork(targetScreen);
    const bool sweep = keepColors && resolve;
    if (!keepColors) {
        recordSlotChange(entry, HistoryColorSlot::Background, background);
        recordSlotChange(entry, HistoryColorSlot::Border, border);
    }

    QRect changed;
    const QRect diff = m_colormap.diffBoundingRect(image);
    if (!diff.isEmpty()) {
        const QRect recorded = sweep ? potentialClashExtent(m_mode, diff, size(), m_layout) : diff;
        const Colormap before = m_colormap.snapshotRegion(recorded);
        m_colormap.restoreRegion(diff, image.snapshotRegion(diff));
        fillLockedBorderRectsWithin(recorded);
        if (sweep)
            resolveExistingClashes(makeClashContext(), m_colormap, diff);
        changed = appendRegionChange(entry, recorded, before);
    }

    const uchar newBackground = m_slots[HistoryColorSlot::Background];
    if (newBackground != oldBackground) {
        // Untouched screens were blank in the old background and stay blank in the new.
        for (int screen = 0; screen < m_screensAcross; ++screen) {
            if (screen != targetScreen)
                changed
                    = changed.united(recolorRect(entry, screenRect(screen), oldBackground, newBackground));
        }
        if (m_layout.layout == CanvasLayout::SideBorders)
            changed = changed.united(recolorSpriteStrips(entry, oldBackground, newBackground));
    }
    // The locked pixels show the border colour the picture brought.
    for (const QRect& locked : canvasLockedBorderRects(m_mode, size(), m_layout)) {
        const Colormap before = m_colormap.snapshotRegion(locked);
        fillLockedBorderRectsWithin(locked);
        changed = changed.united(appendRegionChange(entry, locked, before));
    }
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::applySpriteImport(const Colormap& image)
{
    if (image.isEmpty() || image.size() != size())
        return {};
    HistoryEntry entry(HistoryEntryKind::SpriteImport);
    QRect changed;
    for (const CanvasRegion& region : regions()) {
        if (!region.isSpriteStrip())
            continue;
        const Colormap before = m_colormap.snapshotRegion(region.rect);
        m_colormap.restoreRegion(region.rect, image.snapshotRegion(region.rect));
        fillLockedBorderRectsWithin(region.rect);
        changed = changed.united(appendRegionChange(entry, region.rect, before));
    }
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::applyImageConversion(const Colormap& converted, const ImageConversionState& state)
{
    if (converted.isEmpty() || converted.size() != size())
        return {};
    HistoryEntry entry(HistoryEntryKind::ImageConversion);
    for (int slot = 0; slot < colorSlotCount; ++slot)
        recordSlotChange(entry, HistoryColorSlot(slot), state.slots[HistoryColorSlot(slot)]);
    recordAlignmentChange(entry, false, state.topAlignment);
    recordAlignmentChange(entry, true, state.bottomAlignment);
    QRect changed;
    const QRect diff = m_colormap.diffBoundingRect(converted);
    if (!diff.isEmpty()) {
        const Colormap before = m_colormap.snapshotRegion(diff);
        m_colormap.restoreRegion(diff, converted.snapshotRegion(diff));
        changed = appendRegionChange(entry, diff, before);
    }
    m_history.push(std::move(entry));
    return changed;
}
