#include "bench_canvas.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_colormap.h"
#include "formats/native/native_image_encoder.h"
#include "formats/prg_export_colors.h"

#include <benchmark/benchmark.h>

namespace {

// Noise is the encoder's worst case: every cell counts sixteen colours.
QByteArray noiseKoalaFile()
{
    return encodeNativeImage(noiseCanvas(160, 200, 64), CanvasMode::Multicolor, {}, 0);
}

// Reading a picture as Import Image does: recognition, decoding and the colour indices.
void BM_NativeDecode_Koala(benchmark::State& state)
{
    const QByteArray file = noiseKoalaFile();
    for (auto _ : state) {
        NativeImage image;
        decodeNativeImage(file, NativeImageFormat::Unknown, &image, nullptr);
        const Colormap map = nativeImageToColormap(image);
        benchmark::DoNotOptimize(map.constData());
    }
}
BENCHMARK(BM_NativeDecode_Koala)->Unit(benchmark::kMicrosecond);

void BM_NativeEncode_Koala(benchmark::State& state)
{
    const Colormap canvas = noiseCanvas(160, 200, 64);
    PrgExportColors colors;
    colors.indices[0] = 6;
    for (auto _ : state) {
        const QByteArray file = encodeNativeImage(canvas, CanvasMode::Multicolor, colors, 0);
        benchmark::DoNotOptimize(file.constData());
    }
}
BENCHMARK(BM_NativeEncode_Koala)->Unit(benchmark::kMicrosecond);

} // namespace
