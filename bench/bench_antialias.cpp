#include "model/colormap.h"
#include "paint/antialias_lut.h"
#include "paint/antialias_stroke_state.h"

#include <benchmark/benchmark.h>

namespace {

// The table is rebuilt whenever the palette, the metric or the overrides change; this is
// what one such change costs. Alternating palettes defeats the same-key shortcut.
void BM_AntialiasLutBuild(benchmark::State& state)
{
    AntialiasLut lut;
    bool colodore = false;
    for (auto _ : state) {
        colodore = !colodore;
        const bool rebuilt = lut.ensure(colodore ? PaletteVariant::Colodore : PaletteVariant::Pepto,
            ColorDistanceMetric::Weighted, defaultAntialiasBlendOverrides());
        benchmark::DoNotOptimize(rebuilt);
        benchmark::DoNotOptimize(lut.constData());
    }
    state.SetBytesProcessed(state.iterations() * AntialiasLut::entryCount);
}
BENCHMARK(BM_AntialiasLutBuild)->Unit(benchmark::kMillisecond);

// One anti-aliased pixel of the paint path: read the canvas, blend through the stroke state
// and the table, write the result. The walk goes over a whole canvas row by row, with
// coverage varying as along a brush edge.
void BM_AntialiasBlend(benchmark::State& state)
{
    constexpr int width = 320;
    constexpr int height = 200;
    Colormap canvas(width, height);
    for (int y = 0; y < height; ++y) {
        uchar* row = canvas.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = uchar((x / 4 + y / 8) % 16);
    }
    AntialiasLut lut;
    lut.ensure(PaletteVariant::Pixcen, ColorDistanceMetric::Weighted, defaultAntialiasBlendOverrides());
    AntialiasStrokeState stroke;
    stroke.ensureSize(canvas.size());

    int x = 0;
    int y = 0;
    uchar coverage = 1;
    for (auto _ : state) {
        canvas.setPixel(x, y, stroke.blend(lut, x, y, 1, canvas.pixel(x, y), coverage));
        coverage = uchar(coverage * 5 + 3);
        if (++x == width) {
            x = 0;
            if (++y == height) {
                y = 0;
                stroke.reset();
            }
        }
    }
    benchmark::DoNotOptimize(canvas.constData());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AntialiasBlend);

} // namespace
