#include "rules/cell_color_limit.h"

#include "model/colormap.h"
#include "model/rect_clip.h"

#include <cstdint>
#include <cstring>

namespace {

bool isUniform(const uchar* pixels, int count, uchar color)
{
    const std::uint64_t run = 0x0101010101010101ULL * color;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, pixels + i, 8);
        if (word != run)
            return false;
    }
    for (; i < count; ++i) {
        if (pixels[i] != color)
            return false;
    }
    return true;
}

} // namespace

void collectDistinctColors(const Colormap& canvas, const QRect& rect, int limit, ColorList& out)
{
    limit = std::min(limit, ColorList::capacity);
    const QRect clip = clipRect(rect, canvas.rect());
    if (clip.isEmpty() || out.size() >= limit)
        return;
    ColorSet seen;
    for (uchar color : out)
        seen.insert(color);
    // Cells are mostly runs of one colour; comparing with the previous pixel first keeps
    // a sweep over a large uniform area close to a plain read.
    int previous = canvas.scanLine(clip.top())[clip.left()];
    if (!seen.contains(uchar(previous))) {
        seen.insert(uchar(previous));
        out.append(uchar(previous));
        if (out.size() >= limit)
            return;
    }
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y);
        if (isUniform(row + clip.left(), clip.width(), uchar(previous)))
            continue;
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const uchar color = row[x];
            if (color == previous)
                continue;
            previous = color;
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
