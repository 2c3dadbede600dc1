#include "rules/sprite_count_tracker.h"

#include "model/colormap.h"
#include "rules/sprite_budget.h"

#include <algorithm>

namespace {

bool unitHoldsOtherThan(const Colormap& canvas, const QRect& unit, uchar background)
{
    const QRect clip = unit & canvas.rect();
    if (clip.isEmpty())
        return false;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* line = canvas.scanLine(y);
        const uchar* end = line + clip.right() + 1;
        if (std::find_if(line + clip.left(), end, [=](uchar index) { return index != background; }) != end)
            return true;
    }
    return false;
}

} // namespace

SpriteCountTracker::SpriteCountTracker(const ClashContext& ctx, const Colormap& colormap)
    : m_colormap(colormap)
{
    if (ctx.layout.layout != CanvasLayout::TopBottomBorders)
        return;
    for (const CanvasRegion& region : canvasRegions(ctx.mode, colormap.size(), ctx.layout)) {
        if (!region.isHorizontalStrip())
            continue;
        StripState strip;
        strip.region = region;
        strip.grid = spriteStripGrid(region, ctx.mode, ctx.layout);
        strip.background = borderSpriteBackground(ctx, region.side);
        strip.occupied = QBitArray(std::max(0, strip.grid.columns));
        m_strips.append(strip);
    }
}

bool SpriteCountTracker::locate(const QPoint& point, int* strip, int* column) const
{
    for (int i = 0; i < m_strips.size(); ++i) {
        const StripState& state = m_strips[i];
        if (!state.region.rect.contains(point) || state.grid.columns <= 0)
            continue;
        if (strip)
            *strip = i;
        if (column)
            *column = state.grid.columnAt(point.x());
        return true;
    }
    return false;
}

void SpriteCountTracker::seed(StripState& strip)
{
    if (strip.seeded)
        return;
    strip.seeded = true;
    strip.occupied.fill(false);
    strip.occupiedCount = 0;
    for (int column = 0; column < strip.grid.columns; ++column) {
        if (unitHoldsOtherThan(m_colormap, strip.grid.unitRect(column, 0), strip.background)) {
            strip.occupied.setBit(column);
            ++strip.occupiedCount;
        }
    }
}

bool SpriteCountTracker::vetoPaint(const QPoint& point, uchar index)
{
    int stripIndex = 0;
    int column = 0;
    if (!locate(point, &stripIndex, &column))
        return false;
    StripState& strip = m_strips[stripIndex];
    if (index == strip.background)
        return false;
    seed(strip);
    if (strip.occupied.testBit(column))
        return false;
    return strip.occupiedCount >= borderSpriteBudget;
}

void SpriteCountTracker::notePainted(const QPoint& point, uchar index)
{
    int stripIndex = 0;
    int column = 0;
    if (!locate(point, &stripIndex, &column))
        return;
    StripState& strip = m_strips[stripIndex];
    if (index == strip.background)
        return;
    seed(strip);
    if (!strip.occupied.testBit(column)) {
        strip.occupied.setBit(column);
        ++strip.occupiedCount;
    }
}
