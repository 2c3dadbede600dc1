#include "bench_canvas.h"
#include "formats/prg/live_memory_image.h"
#include "formats/prg/memory_runs.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_layout.h"

#include <benchmark/benchmark.h>

namespace {

// What the link does after each edit: encode the whole canvas as the program lays it out
// and find the runs that changed. The side-border program is the largest image; a
// noisy canvas is the worst case for the bitmap encoder. Each iteration repaints one
// 8 x 8 cell, alternating between two colours, so every diff finds real changes.
void BM_LiveLinkDiff_OneCell(benchmark::State& state)
{
    const CanvasLayoutSpec layout {CanvasLayout::SideBorders};
    const QSize size = canvasModeDefaultCanvasSize(CanvasMode::Hires, layout, 1);
    Colormap canvas = noiseCanvas(size.width(), size.height(), 7);
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
