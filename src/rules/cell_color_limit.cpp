#include "rules/cell_color_limit.h"

#include "model/colormap.h"

void collectDistinctColors(const Colormap& canvas, const QRect& rect, int limit, ColorList& out)
{
    limit = std::min(limit, ColorList::capacity);
    if (rect.isEmpty())
        return;
    const QRect clip = rect & canvas.rect();
    if (clip.isEmpty() || out.size() >= limit)
        return;
    ColorSet seen;
    for (uchar color : out)
        seen.insert(color);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y);
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const uchar color = row[x];
            if (!seen.contains(color)) {
                seen.insert(color);
                out.append(color);
                if (out.size() >= limit)
                    return;
            }
        }
    }
}

bool cellExceedsColorLimit(CanvasMode mode, const Colormap& canvas, const QRect& cell, uchar background)
{
    ColorList colors;
    if (!isMulticolor(mode)) {
        collectDistinctColors(canvas, cell, 3, colors);
        return colors.size() > 2;
    }
    // The background comes from a register shared by the whole screen, so it costs the
    // cell nothing.
    collectDistinctColors(canvas, cell, 5, colors);
    const int own = colors.contains(background) ? colors.size() - 1 : colors.size();
    return own > 3;
}
