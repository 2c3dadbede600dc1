#include "model/colormap.h"
#include "model/palette.h"

#include <QImage>

#include "bench_canvas.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int largeSide = 4096;

// The colour-limit checks ask every touched cell for its distinct colours; this is the
// cost of asking every cell of a very large canvas once.
void BM_DistinctIndicesAllCells(benchmark::State& state)
{
    const Colormap canvas = noiseCanvas(largeSide, largeSide, 1);
    for (auto _ : state) {
        int total = 0;
        for (int y = 0; y < largeSide; y += 8) {
            for (int x = 0; x < largeSide; x += 8)
                total += int(canvas.distinctIndices(QRect(x, y, 8, 8), 3).size());
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * (largeSide / 8) * (largeSide / 8));
}
BENCHMARK(BM_DistinctIndicesAllCells)->Unit(benchmark::kMillisecond);

// A stroke segment re-renders only its rectangle into the displayed image.
void BM_PaintToImage64(benchmark::State& state)
{
    const Colormap canvas = noiseCanvas(largeSide, largeSide, 2);
    const Palette palette(PaletteVariant::Colodore);
    QImage image(largeSide, largeSide, QImage::Format_RGB32);
    int offset = 0;
    for (auto _ : state) {
        offset = (offset + 97) % (largeSide - 64);
        canvas.paintToImage(palette, QRect(offset, offset, 64, 64), image);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_PaintToImage64)->Unit(benchmark::kMicrosecond);

} // namespace
