#include "bench_canvas.h"
#include "formats/prg/executable_prg.h"
#include "formats/prg_export_colors.h"
#include "model/canvas_layout.h"

#include <benchmark/benchmark.h>

namespace {

// Noise is the worst case for the bitmap cells; the sprite layouts get sprites in
// every unit, which in top/bottom borders means clearing all but 8 columns per border.
void encode(benchmark::State& state, CanvasMode mode, const CanvasLayoutSpec& layout)
{
    const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
    Colormap canvas = noiseCanvas(size.width(), size.height(), 7);
    if (layout.layout == CanvasLayout::TopBottomBorders) {
        canvas.fillRect(QRect(8 * 24, 0, size.width(), 42), 0);
        canvas.fillRect(QRect(8 * 24, size.height() - 42, size.width(), 42), 0);
    }
    PrgExportColors colors;
    colors.indices = {0, 14, 1, 2, 0, 3, 4, 0, 5, 6};
    for (auto _ : state) {
        const QByteArray prg = encodeExecutablePrg(canvas, mode, layout, colors, nullptr);
        benchmark::DoNotOptimize(prg.constData());
    }
}

void BM_EncodeExecutablePrg_Bitmap(benchmark::State& state)
{
    encode(state, CanvasMode::Multicolor, CanvasLayoutSpec {});
}
BENCHMARK(BM_EncodeExecutablePrg_Bitmap)->Unit(benchmark::kMicrosecond);

void BM_EncodeExecutablePrg_SideBorders(benchmark::State& state)
{
    encode(state, CanvasMode::Hires, CanvasLayoutSpec {CanvasLayout::SideBorders});
}
BENCHMARK(BM_EncodeExecutablePrg_SideBorders)->Unit(benchmark::kMicrosecond);

void BM_EncodeExecutablePrg_TopBottom(benchmark::State& state)
{
    encode(state, CanvasMode::Hires, CanvasLayoutSpec {CanvasLayout::TopBottomBorders});
}
BENCHMARK(BM_EncodeExecutablePrg_TopBottom)->Unit(benchmark::kMicrosecond);

} // namespace
