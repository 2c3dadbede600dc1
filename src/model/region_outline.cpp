#include "model/region_outline.h"

#include <QRect>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Half-open column spans [first, second) of one band of the region.
using Spans = std::vector<std::pair<int, int>>;

struct Band {
    int top = 0;
    int bottom = 0; // exclusive
    Spans spans;
};

std::vector<Band> bandsOf(const QRegion& region)
{
    std::vector<Band> bands;
    for (const QRect& rect : region) {
        const int bottom = rect.bottom() + 1;
        if (bands.empty() || bands.back().top != rect.top() || bands.back().bottom != bottom)
            bands.push_back({rect.top(), bottom, {}});
        Spans& spans = bands.back().spans;
        // Touching rectangles of a band are one run of pixels with no edge between them.
        if (!spans.empty() && spans.back().second == rect.left())
            spans.back().second = rect.right() + 1;
        else
            spans.emplace_back(rect.left(), rect.right() + 1);
    }
    return bands;
}

// Columns covered by exactly one of the two rows: where an edge runs between them.
Spans exclusiveSpans(const Spans& above, const Spans& below)
{
    std::vector<int> ends;
    for (const Spans* spans : {&above, &below}) {
        for (const auto& [first, last] : *spans) {
            ends.push_back(first);
            ends.push_back(last);
        }
    }
    std::sort(ends.begin(), ends.end());
    Spans result;
    bool inside = false;
    int start = 0;
    for (std::size_t i = 0; i < ends.size();) {
        const int x = ends[i];
        int toggles = 0;
        for (; i < ends.size() && ends[i] == x; ++i)
            ++toggles;
        if (toggles % 2 == 0)
            continue;
        if (!inside)
            start = x;
        else if (x > start)
            result.emplace_back(start, x);
        inside = !inside;
    }
    return result;
}

void addHorizontal(QList<QLine>& lines, const Spans& spans, int y)
{
    for (const auto& [first, last] : spans)
        lines.append(QLine(first, y, last, y));
}

} // namespace

QList<QLine> selectionBoundarySegments(const QRegion& region)
{
    QList<QLine> lines;
    const std::vector<Band> bands = bandsOf(region);
    const Spans none;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const Band& band = bands[i];
        for (const auto& [first, last] : band.spans) {
            lines.append(QLine(first, band.top, first, band.bottom));
            lines.append(QLine(last, band.top, last, band.bottom));
        }
        const bool joinsAbove = i > 0 && bands[i - 1].bottom == band.top;
        addHorizontal(lines, exclusiveSpans(joinsAbove ? bands[i - 1].spans : none, band.spans), band.top);
        const bool joinsBelow = i + 1 < bands.size() && bands[i + 1].top == band.bottom;
        if (!joinsBelow)
            addHorizontal(lines, band.spans, band.bottom);
    }
    return lines;
}
