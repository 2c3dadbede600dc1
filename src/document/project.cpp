#include "document/project.h"
#include "model/rect_clip.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int maxScreensAcross = 8;

ColorSlots defaultColorSlots()
{
    // Purple and light red are the sprite multicolours a new canvas starts with: two
    // colours that read clearly against the black background and border.
    ColorSlots slots;
    slots[HistoryColorSlot::SpriteMc0] = 4;
    slots[HistoryColorSlot::SpriteMc1] = 10;
    slots[HistoryColorSlot::TopBorderMc0] = 4;
    slots[HistoryColorSlot::TopBorderMc1] = 10;
    slots[HistoryColorSlot::BottomBorderMc0] = 4;
    slots[HistoryColorSlot::BottomBorderMc1] = 10;
    return slots;
}

bool isValidSlot(HistoryColorSlot slot)
{
    return quint8(slot) < colorSlotCount;
}

bool rectIsFlat(const Colormap& colormap, const QRect& rect)
{
    const uchar first = colormap.pixel(rect.left(), rect.top());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const uchar* row = colormap.scanLine(y);
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (row[x] != first)
                return false;
        }
    }
    return true;
}

} // namespace

Project::Project(CanvasMode mode, int width, int height, const CanvasLayoutSpec& layout, int screensAcross)
    : m_mode(mode)
    , m_layout(layout)
    , m_slots(defaultColorSlots())
{
    if (layout.layout != CanvasLayout::BitmapOnly || screensAcross < 2)
        screensAcross = 1;
    m_screensAcross = std::min(screensAcross, maxScreensAcross);
    if (height < 1)
        height = canvasModeDefaultCanvasSize(mode, layout, 1).height();
    if (width < 1)
        width = canvasModeDefaultCanvasSize(mode, layout, m_screensAcross).width();
    m_colormap = Colormap(width, height);
    m_transform.setPixelAspect(canvasModePixelAspect(mode));
    fillLockedBorderRects();
}

bool Project::isModified() const
{
    return m_history.revision() != m_cleanPoint.revision || m_history.index() != m_cleanPoint.index;
}

void Project::markClean()
{
    m_cleanPoint = {m_history.revision(), m_history.index()};
}

void Project::markModified()
{
    // No history ever applies a negative number of entries.
    m_cleanPoint = {m_history.revision(), -1};
}

uchar Project::mappedIndex(bool swap, uchar primary, uchar secondary, uchar index)
{
    if (index == secondary)
        return primary;
    if (swap && index == primary)
        return secondary;
    return index;
}

QRect Project::screenRect(int screen) const
{
    return canvasScreenRect(m_mode, size(), m_layout, screen);
}

bool Project::otherScreensHoldArtwork(int screen) const
{
    for (int other = 0; other < m_screensAcross; ++other) {
        if (other == screen)
            continue;
        const QRect rect = screenRect(other);
        if (!rect.isEmpty() && !rectIsFlat(m_colormap, rect))
            return true;
    }
    return false;
}

void Project::fillLockedBorderRects()
{
    fillLockedBorderRectsWithin(rect());
}

void Project::fillLockedBorderRectsWithin(const QRect& area)
{
    for (const QRect& locked : canvasLockedBorderRects(m_mode, size(), m_layout))
        m_colormap.fillRect(clipRect(area, locked), m_slots[HistoryColorSlot::Border]);
}

QList<CanvasRegion> Project::regions() const
{
    return canvasRegions(m_mode, size(), m_layout);
}

ClashContext Project::makeClashContext() const
{
    ClashContext ctx;
    ctx.mode = m_mode;
    ctx.paintIndex = 0;
    ctx.slots = m_slots;
    ctx.singlePixel = false;
    ctx.layout = m_layout;
    ctx.hiresClashResolution = HiresClashResolution::ReplaceOverwritten;
    ctx.paletteVariant = m_palette.variant();
    return ctx;
}

QRect Project::undo()
{
    const HistoryEntry* entry = m_history.undo();
    return entry ? applyHistoryEntry(*entry, true) : QRect();
}

QRect Project::redo()
{
    const HistoryEntry* entry = m_history.redo();
    return entry ? applyHistoryEntry(*entry, false) : QRect();
}

QRect Project::applyHistoryEntry(const HistoryEntry& entry, bool undo)
{
    QRect changed;
    const auto apply = [&](const HistoryChange& change) {
        if (const ColorIndexChange* slot = change.colorIndexChange()) {
            if (isValidSlot(slot->slot))
                m_slots[slot->slot] = undo ? slot->beforeIndex : slot->afterIndex;
        } else if (const BorderAlignmentChange* alignment = change.borderAlignmentChange()) {
            SpriteAlignment& target
                = alignment->bottomBorder ? m_layout.bottomAlignment : m_layout.topAlignment;
            target = undo ? alignment->beforeAlignment : alignment->afterAlignment;
        } else if (change.isRegionChange()) {
            // A crop from a damaged file has no trustworthy pixels; writing its stand-in
            // zeros would wipe real artwork, so the pixels stay as they are.
            if (change.restoreRegion(m_colormap, !undo))
                changed = changed.united(change.regionRect());
        }
    };
    if (undo)
        std::for_each(entry.changes.crbegin(), entry.changes.crend(), apply);
    else
        std::for_each(entry.changes.cbegin(), entry.changes.cend(), apply);
    return changed;
}

QRect Project::appendRegionChange(HistoryEntry& entry, const QRect& rect, const Colormap& before) const
{
    const QRect clip = clipRect(rect, m_colormap.rect());
    if (clip.isEmpty())
        return {};
    if (before.size() != clip.size()) {
        // A caller took its snapshot of another area: recording it would pair the wrong
        // pixels, and dropping it quietly would lose the edit from the history.
        qCritical("Project: the before snapshot (%dx%d) does not match the recorded area (%dx%d); "
                  "the change is not recorded",
            before.width(), before.height(), clip.width(), clip.height());
        Q_ASSERT_X(false, "Project::appendRegionChange", "before snapshot does not match the area");
        return {};
    }
    return appendChange(entry, clip, before, QPoint(0, 0));
}

QRect Project::appendCanvasChange(HistoryEntry& entry, const QRect& rect, const Colormap& beforeCanvas) const
{
    const QRect clip = clipRect(rect, m_colormap.rect());
    if (clip.isEmpty())
        return {};
    if (beforeCanvas.size() != m_colormap.size()) {
        qCritical(
            "Project: the before canvas (%dx%d) is not the canvas's size (%dx%d); the change is not recorded",
            beforeCanvas.width(), beforeCanvas.height(), m_colormap.width(), m_colormap.height());
        Q_ASSERT_X(false, "Project::appendCanvasChange", "before canvas does not match the canvas");
        return {};
    }
    return appendChange(entry, clip, beforeCanvas, clip.topLeft());
}

// `before` holds the area `clip` of the canvas at `beforeOrigin`.
QRect Project::appendChange(
    HistoryEntry& entry, const QRect& clip, const Colormap& before, const QPoint& beforeOrigin) const
{
    const QRect changed = m_colormap.diffBoundingRect(clip, before, beforeOrigin);
    if (changed.isEmpty())
        return {};
    const QRect beforeArea = changed.translated(beforeOrigin - clip.topLeft());
    entry.changes.append(RegionChange {changed, ColormapCrop(before.snapshotRegion(beforeArea)),
        ColormapCrop(m_colormap.snapshotRegion(changed))});
    return changed;
}

void Project::recordSlotChange(HistoryEntry& entry, HistoryColorSlot slot, uchar index)
{
    const uchar old = m_slots[slot];
    if (old == index)
        return;
    entry.changes.append(ColorIndexChange {slot, old, index});
    m_slots[slot] = index;
}

void Project::recordAlignmentChange(HistoryEntry& entry, bool bottomBorder, SpriteAlignment alignment)
{
    SpriteAlignment& target = bottomBorder ? m_layout.bottomAlignment : m_layout.topAlignment;
    if (target == alignment)
        return;
    entry.changes.append(BorderAlignmentChange {bottomBorder, target, alignment});
    target = alignment;
}

void Project::adoptSlotUnderMapping(
    HistoryEntry& entry, HistoryColorSlot slot, bool swap, uchar primary, uchar secondary)
{
    recordSlotChange(entry, slot, mappedIndex(swap, primary, secondary, m_slots[slot]));
}

QRect Project::recolorRect(HistoryEntry& entry, const QRect& rect, uchar from, uchar to)
{
    const Colormap before = m_colormap.snapshotRegion(rect);
    if (m_colormap.replaceIndex(rect, from, to) == 0)
        return {};
    appendRegionChange(entry, rect, before);
    return clipRect(rect, m_colormap.rect());
}

QRect Project::recolorSpriteStrips(
    HistoryEntry& entry, uchar from, uchar to, std::optional<SpriteStripSide> side)
{
    QRect changed;
    for (const CanvasRegion& region : regions()) {
        if (!region.isSpriteStrip() || (side && region.side != *side))
            continue;
        changed = changed.united(recolorRect(entry, region.rect, from, to));
    }
    return changed;
}

QRectF canvasContentRect(const Project& project)
{
    return canvasContentRect(project.mode(), project.size(), project.layout());
}

QRect historyEntryRegionBounds(const HistoryEntry& entry)
{
    QRect bounds;
    for (const HistoryChange& change : entry.changes)
        bounds = bounds.united(change.regionRect());
    return bounds;
}
