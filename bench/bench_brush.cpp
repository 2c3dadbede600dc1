#include "paint/brush.h"
#include "paint/footprint_mask.h"

#include <benchmark/benchmark.h>

namespace {

// One freehand segment: a mouse event 40 canvas pixels (24 across, 32 down) on from the
// previous one. The mask is as large as the canvas and reused, so the cost of a segment
// must not grow with the canvas.
void strokeSegments(benchmark::State& state, QSize canvas, int width)
{
    FootprintMask mask(canvas, 1);
    const Brush brush(width);
    const QPoint from(canvas.width() / 2 - 12, canvas.height() / 2 - 16);
    const QPoint to = from + QPoint(24, 32);
    for (auto _ : state) {
        const QRect area = brush.strokeFootprint(mask, from, to, 1, 1.0, canvas, BrushAlignment::Screen, 0.0);
        benchmark::DoNotOptimize(area);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Footprint_Round32_Small(benchmark::State& state)
{
    strokeSegments(state, QSize(320, 200), 32);
}
BENCHMARK(BM_Footprint_Round32_Small)->Unit(benchmark::kNanosecond);

void BM_Footprint_Round32_Large(benchmark::State& state)
{
    strokeSegments(state, QSize(4096, 4096), 32);
}
BENCHMARK(BM_Footprint_Round32_Large)->Unit(benchmark::kNanosecond);

void BM_Footprint_Width1_Small(benchmark::State& state)
{
    strokeSegments(state, QSize(320, 200), 1);
}
BENCHMARK(BM_Footprint_Width1_Small)->Unit(benchmark::kNanosecond);

} // namespace
