// The edits that recolour: Color Swap and Color Replace, over the canvas or a selection,
// and the assignments of the shared colour slots.
#include "document/project.h"

#include "rules/clash_extent.h"
#include "rules/clash_sweep.h"

#include <algorithm>

namespace {

void mapIndices(Colormap& colormap, const QRect& rect, HistoryEntryKind kind, uchar primary, uchar secondary)
{
    if (kind == HistoryEntryKind::ColorSwap)
        colormap.swapIndices(rect, primary, secondary);
    else
        colormap.replaceIndex(rect, secondary, primary);
}

} // namespace

QRect Project::swapColors(uchar primary, uchar secondary, bool resolve)
{
    return recolorCanvasIndices(HistoryEntryKind::ColorSwap, primary, secondary, resolve);
}

QRect Project::replaceColor(uchar primary, uchar secondary, bool resolve)
{
    return recolorCanvasIndices(HistoryEntryKind::ColorReplace, primary, secondary, resolve);
}

QRect Project::swapColorsInRegion(uchar primary, uchar secondary, const QRegion& region, bool resolve)
{
    return recolorRegionIndices(HistoryEntryKind::ColorSwap, primary, secondary, region, resolve);
}

QRect Project::replaceColorInRegion(uchar primary, uchar secondary, const QRegion& region, bool resolve)
{
    return recolorRegionIndices(HistoryEntryKind::ColorReplace, primary, secondary, region, resolve);
}

QRect Project::recolorCanvasIndices(HistoryEntryKind kind, uchar primary, uchar secondary, bool resolve)
{
    if (primary == secondary)
        return {};
    HistoryEntry entry(kind);
    const Colormap before = m_colormap;
    mapIndices(m_colormap, rect(), kind, primary, secondary);
    // The shared colours follow the pixels, so the picture keeps its look on the C64.
    for (int slot = 0; slot < colorSlotCount; ++slot) {
        adoptSlotUnderMapping(
            entry, HistoryColorSlot(slot), kind == HistoryEntryKind::ColorSwap, primary, secondary);
    }
    // A recolour alone cannot create a clash; the sweep settles those the canvas held.
    return finishWholeCanvasEdit(entry, before, resolve);
}

QRect Project::recolorRegionIndices(
    HistoryEntryKind kind, uchar primary, uchar secondary, const QRegion& region, bool resolve)
{
    if (primary == secondary)
        return {};
    const QRegion selection = region.intersected(rect());
    if (selection.isEmpty())
        return {};
    const QRect bounds = selection.boundingRect();
    // The sweep settles whole cells and sprite units, which may reach past the selection.
    const QRect recorded = resolve ? potentialClashExtent(m_mode, bounds, size(), m_layout) : bounds;
    const Colormap before = m_colormap.snapshotRegion(recorded);
    for (const QRect& part : selection)
        mapIndices(m_colormap, part, kind, primary, secondary);

    HistoryEntry entry(kind);
    const bool swap = kind == HistoryEntryKind::ColorSwap;
    // Only a strip the selection covers entirely may take other shared colours: a strip
    // partly outside still shows the old colour there. Hires sprites share nothing the
    // selection could move.
    if (isMulticolor(m_mode) && m_layout.layout != CanvasLayout::BitmapOnly) {
        QList<CanvasRegion> strips;
        for (const CanvasRegion& candidate : regions()) {
            if (candidate.isSpriteStrip())
                strips.append(candidate);
        }
        const auto covered
            = [&](const CanvasRegion& strip) { return QRegion(strip.rect).subtracted(selection).isEmpty(); };
        if (m_layout.layout == CanvasLayout::SideBorders) {
            if (!strips.isEmpty() && std::all_of(strips.cbegin(), strips.cend(), covered)) {
                adoptSlotUnderMapping(entry, HistoryColorSlot::SpriteMc0, swap, primary, secondary);
                adoptSlotUnderMapping(entry, HistoryColorSlot::SpriteMc1, swap, primary, secondary);
            }
        } else {
            for (const CanvasRegion& strip : strips) {
                if (!covered(strip))
                    continue;
                const int first = strip.side == SpriteStripSide::Top
                    ? int(HistoryColorSlot::TopBorderBackground)
                    : int(HistoryColorSlot::BottomBorderBackground);
                for (int slot = first; slot < first + 3; ++slot)
                    adoptSlotUnderMapping(entry, HistoryColorSlot(slot), swap, primary, secondary);
            }
        }
    }
    fillLockedBorderRectsWithin(bounds);
    if (resolve)
        resolveExistingClashes(makeClashContext(), m_colormap, bounds);
    const QRect changed = appendRegionChange(entry, recorded, before);
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::assignBackgroundIndex(uchar index)
{
    const uchar old = m_slots[HistoryColorSlot::Background];
    if (old == index)
        return {};
    HistoryEntry entry(HistoryEntryKind::ColorAssignment);
    recordSlotChange(entry, HistoryColorSlot::Background, index);
    QRect changed;
    // Only a multicolor bitmap has a background register; a hires cell has two colours of
    // its own and no pixel there means "background".
    if (isMulticolor(m_mode)) {
        // Multicolor side sprites are transparent where the background shows through.
        const QRect target = m_layout.layout == CanvasLayout::SideBorders
            ? rect()
            : canvasBitmapRect(m_mode, size(), m_layout);
        changed = recolorRect(entry, target, old, index);
    }
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::assignBorderIndex(uchar index)
{
    const uchar old = m_slots[HistoryColorSlot::Border];
    if (old == index)
        return {};
    HistoryEntry entry(HistoryEntryKind::ColorAssignment);
    recordSlotChange(entry, HistoryColorSlot::Border, index);
    QRect changed;
    // Hires side sprites are transparent where the border shows through, and the locked
    // pixels are the border itself.
    if (!isMulticolor(m_mode) && m_layout.layout == CanvasLayout::SideBorders) {
        changed = recolorSpriteStrips(entry, old, index);
        for (const QRect& locked : canvasLockedBorderRects(m_mode, size(), m_layout)) {
            const Colormap before = m_colormap.snapshotRegion(locked);
            m_colormap.fillRect(locked, index);
            changed = changed.united(appendRegionChange(entry, locked, before));
        }
    }
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::assignSpriteMc0Index(uchar index)
{
    return assignSpriteCommon(HistoryColorSlot::SpriteMc0, index);
}

QRect Project::assignSpriteMc1Index(uchar index)
{
    return assignSpriteCommon(HistoryColorSlot::SpriteMc1, index);
}

QRect Project::assignTopBorderBackgroundIndex(uchar index)
{
    return assignBorderSpriteColor(HistoryColorSlot::TopBorderBackground, SpriteStripSide::Top, index);
}

QRect Project::assignTopBorderMc0Index(uchar index)
{
    return assignBorderSpriteColor(HistoryColorSlot::TopBorderMc0, SpriteStripSide::Top, index);
}

QRect Project::assignTopBorderMc1Index(uchar index)
{
    return assignBorderSpriteColor(HistoryColorSlot::TopBorderMc1, SpriteStripSide::Top, index);
}

QRect Project::assignBottomBorderBackgroundIndex(uchar index)
{
    return assignBorderSpriteColor(HistoryColorSlot::BottomBorderBackground, SpriteStripSide::Bottom, index);
}

QRect Project::assignBottomBorderMc0Index(uchar index)
{
    return assignBorderSpriteColor(HistoryColorSlot::BottomBorderMc0, SpriteStripSide::Bottom, index);
}

QRect Project::assignBottomBorderMc1Index(uchar index)
{
    return assignBorderSpriteColor(HistoryColorSlot::BottomBorderMc1, SpriteStripSide::Bottom, index);
}

QRect Project::assignSpriteCommon(HistoryColorSlot slot, uchar index)
{
    const uchar old = m_slots[slot];
    if (old == index)
        return {};
    HistoryEntry entry(HistoryEntryKind::ColorAssignment);
    recordSlotChange(entry, slot, index);
    QRect changed;
    // The two sprite multicolour registers only colour multicolor side sprites; anywhere
    // else a pixel of the old colour is a free colour of its own and must stay.
    if (isMulticolor(m_mode) && m_layout.layout == CanvasLayout::SideBorders)
        changed = recolorSpriteStrips(entry, old, index);
    m_history.push(std::move(entry));
    return changed;
}

QRect Project::assignBorderSpriteColor(HistoryColorSlot slot, SpriteStripSide side, uchar index)
{
    const uchar old = m_slots[slot];
    if (old == index)
        return {};
    HistoryEntry entry(HistoryEntryKind::ColorAssignment);
    recordSlotChange(entry, slot, index);
    // A hires border sprite shares only the border's background; its other pixels are the
    // sprite's own colour.
    const bool governsPixels = slot == HistoryColorSlot::TopBorderBackground
        || slot == HistoryColorSlot::BottomBorderBackground || isMulticolor(m_mode);
    const QRect changed = governsPixels ? recolorSpriteStrips(entry, old, index, side) : QRect();
    m_history.push(std::move(entry));
    return changed;
}
