#include "document/project.h"

#include "rules/sprite_budget.h"

QRect Project::reduceBorderSpritesToBudget()
{
    const ClashContext ctx = makeClashContext();
    HistoryEntry entry(HistoryEntryKind::ReduceBorderSprites);
    QRect erased;
    for (const CanvasRegion& region : regions()) {
        if (!region.isHorizontalStrip())
            continue;
        const QList<QRect> overBudget = spriteBudgetReductionRects(ctx, m_colormap, region);
        if (overBudget.isEmpty())
            continue;
        const Colormap before = m_colormap.snapshotRegion(region.rect);
        const uchar background = borderSpriteBackground(ctx, region.side);
        for (const QRect& unit : overBudget) {
            m_colormap.fillRect(unit, background);
            erased |= unit;
        }
        appendRegionChange(entry, region.rect, before);
    }
    if (erased.isEmpty())
        return {};
    m_history.push(std::move(entry));
    return erased;
}
