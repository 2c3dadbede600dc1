#include "bench_canvas.h"
#include "formats/prg/live_memory_image.h"
#include "formats/prg/memory_runs.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_layout.h"

#include <benchmark/benchmark.h>

namespace {

// The editor never holds a clash, so the link only ever encodes legal canvases: two
// colours in every 8 x 8 cell, scattered at random, sprites in two colours too.
Colormap legalCanvas(int width, int height)
{
    Colormap map(width, height);
    std::mt19937 random(29);
    std::vector<uchar> pair(std::size_t((width / 8 + 1) * 2));
    for (int y = 0; y < height; ++y) {
        if (y % 8 == 0) {
            for (uchar& color : pair)
                color = uchar(random() & 15);
        }
        uchar* row = map.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = pair[std::size_t(x / 8 * 2 + (random() & 1))];
    }
    return map;
}

// What the link does after each edit: encode the whole canvas as the program lays it out
// and find the runs that changed. The side-border program is the largest image. Each iteration repaints one
// 8 x 8 cell, alternating between two colours, so every diff finds real changes.
void BM_LiveLinkDiff_OneCell(benchmark::State& state)
{
    const CanvasLayoutSpec layout {CanvasLayout::SideBorders};
    const QSize size = canvasModeDefaultCanvasSize(CanvasMode::Hires, layout, 1);
    Colormap canvas = legalCanvas(size.width(), size.height());
    PrgExportColors colors;
    colors.indices = {0, 14, 1, 2, 0, 3, 4, 0, 5, 6};
    LiveMemoryImage shown = encodeLiveMemoryImage(canvas, CanvasMode::Hires, layout, colors, nullptr);
    const QRect cell(160, 96, 8, 8);
    uchar color = 1;
    qsizetype bytes = 0;
    for (auto _ : state) {
        canvas.fillRect(cell, color);
        color = color == 1 ? 2 : 1;
        LiveMemoryImage next = encodeLiveMemoryImage(canvas, CanvasMode::Hires, layout, colors, nullptr);
        const MemorySpans runs = changedMemoryRuns(shown.spans, next.spans, 16);
        bytes += memoryRunBytes(runs);
        shown = std::move(next);
    }
    state.counters["bytes/edit"] = benchmark::Counter(double(bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LiveLinkDiff_OneCell)->Unit(benchmark::kMicrosecond);

} // namespace
