#include "model/canvas_region.h"
#include "model/colormap.h"
#include "rules/clash_sweep.h"
#include "rules/paint_veto.h"

#include "bench_canvas.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int sweepSide = 4096;
constexpr std::int64_t sweepPixels = std::int64_t(sweepSide) * sweepSide;

ClashContext benchContext(CanvasMode mode, CanvasLayout layout)
{
    ClashContext ctx;
    ctx.mode = mode;
    ctx.layout.layout = layout;
    ctx.slots[HistoryColorSlot::Border] = 14;
    ctx.slots[HistoryColorSlot::SpriteMc0] = 11;
    ctx.slots[HistoryColorSlot::SpriteMc1] = 12;
    return ctx;
}

void setPixelRate(benchmark::State& state, std::int64_t pixelsPerIteration)
{
    state.SetItemsProcessed(state.iterations() * pixelsPerIteration);
    state.counters["time_per_pixel"] = benchmark::Counter(double(pixelsPerIteration),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The worst case for the sweep: every cell of a very large canvas holds all 16 colours.
void sweepRandom(benchmark::State& state, CanvasMode mode)
{
    const Colormap noise = noiseCanvas(sweepSide, sweepSide, 3);
    const ClashContext ctx = benchContext(mode, CanvasLayout::BitmapOnly);
    Colormap canvas;
    for (auto _ : state) {
        state.PauseTiming();
        canvas = noise;
        state.ResumeTiming();
        benchmark::DoNotOptimize(resolveExistingClashes(ctx, canvas, canvas.rect()));
        benchmark::ClobberMemory();
    }
    setPixelRate(state, sweepPixels);
}

void BM_SweepRandom_Hires(benchmark::State& state)
{
    sweepRandom(state, CanvasMode::Hires);
}
BENCHMARK(BM_SweepRandom_Hires)->Unit(benchmark::kMillisecond);

void BM_SweepRandom_Multicolor(benchmark::State& state)
{
    sweepRandom(state, CanvasMode::Multicolor);
}
BENCHMARK(BM_SweepRandom_Multicolor)->Unit(benchmark::kMillisecond);

// The floor under the sweep: one 16-bin colour histogram per cell and nothing else.
void cellHistogramFloor(benchmark::State& state, CanvasMode mode)
{
    const Colormap canvas = noiseCanvas(sweepSide, sweepSide, 3);
    const int cellWidth = canvasModeCellSize(mode).width();
    for (auto _ : state) {
        int distinct = 0;
        for (int top = 0; top < sweepSide; top += 8) {
            for (int left = 0; left < sweepSide; left += cellWidth) {
                quint32 bins[16] = {};
                for (int y = top; y < top + 8; ++y) {
                    const uchar* row = canvas.scanLine(y) + left;
                    for (int x = 0; x < cellWidth; ++x)
                        ++bins[row[x] & 15];
                }
                for (quint32 bin : bins)
                    distinct += bin != 0;
            }
        }
        benchmark::DoNotOptimize(distinct);
    }
    setPixelRate(state, sweepPixels);
}

void BM_CellHistogramFloor_Hires(benchmark::State& state)
{
    cellHistogramFloor(state, CanvasMode::Hires);
}
BENCHMARK(BM_CellHistogramFloor_Hires)->Unit(benchmark::kMillisecond);

void BM_CellHistogramFloor_Multicolor(benchmark::State& state)
{
    cellHistogramFloor(state, CanvasMode::Multicolor);
}
BENCHMARK(BM_CellHistogramFloor_Multicolor)->Unit(benchmark::kMillisecond);

// The veto runs before every pixel of a one-pixel stroke; points wander over a legal
// multicolor side-border screen, strips and bitmap alike.
void BM_VetoSinglePixel(benchmark::State& state)
{
    ClashContext ctx = benchContext(CanvasMode::Multicolor, CanvasLayout::SideBorders);
    const QSize size = canvasModeDefaultCanvasSize(ctx.mode, ctx.layout, 1);
    Colormap canvas = noiseCanvas(size.width(), size.height(), 5);
    resolveExistingClashes(ctx, canvas, canvas.rect());
    unsigned step = 0;
    for (auto _ : state) {
        ++step;
        const QPoint point(
            int((step * 7919u) % unsigned(size.width())), int((step * 104729u) % unsigned(size.height())));
        ctx.paintIndex = uchar(step & 15);
        benchmark::DoNotOptimize(vetoSinglePixelPaint(ctx, canvas, point));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VetoSinglePixel);

} // namespace
