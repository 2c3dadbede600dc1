#include "convert/image_adjustment.h"
#include "convert/image_conversion.h"
#include "rules/clash_sweep.h"

#include "../tools/conversion_quality/synthetic_images.h"

#include <benchmark/benchmark.h>

namespace {

// The conversion dialog re-runs this on every curve drag, so one screen has to fit well
// inside the dialog's 33 ms redraw window.
ImageConversionSettings benchSettings(CanvasMode mode, DitherMethod dither)
{
    ImageConversionSettings settings;
    settings.mode = mode;
    settings.dither = dither;
    settings.distance = ColorDistanceMetric::Weighted;
    settings.slots[HistoryColorSlot::Background] = 6;
    settings.slots[HistoryColorSlot::Border] = 14;
    return settings;
}

// A curve on the master channel, as an artist would have it while dragging.
ImageAdjustment benchCurves()
{
    ImageAdjustment curves;
    curves.addKnot(AdjustmentChannel::Rgb, 80, 110, 7);
    return curves;
}

void convertScreens(benchmark::State& state, CanvasMode mode, DitherMethod dither, int screens,
    ConversionMethod method = ConversionMethod::Classic, bool automaticBackground = false,
    ColorDistanceMetric distance = ColorDistanceMetric::Weighted)
{
    const QSize canvasSize(canvasModeScreenWidth(mode) * screens, 200);
    const QImage image = detailedSceneImage(imageConversionRequiredSize(mode, canvasSize));
    const ImageAdjustment curves = benchCurves();
    ImageConversionSettings settings = benchSettings(mode, dither);
    settings.method = method;
    settings.automaticBackground = automaticBackground;
    settings.distance = distance;
    for (auto _ : state)
        benchmark::DoNotOptimize(convertImage(image, canvasSize, curves, settings));
    state.SetItemsProcessed(state.iterations() * canvasSize.width() * canvasSize.height());
}

// The sweep alone, on what the matching hands it: its share of a conversion.
void sweepConverted(benchmark::State& state, CanvasMode mode, DitherMethod dither)
{
    const QSize canvasSize(canvasModeScreenWidth(mode), 200);
    const ImageConversionSettings settings = benchSettings(mode, dither);
    const Colormap matched
        = convertImageUnswept(detailedSceneImage(imageConversionRequiredSize(mode, canvasSize)), canvasSize,
            benchCurves(), settings);
    ClashContext context;
    context.mode = mode;
    context.slots = settings.slots;
    Colormap canvas;
    for (auto _ : state) {
        canvas = matched;
        benchmark::DoNotOptimize(resolveExistingClashes(context, canvas, canvas.rect()));
    }
}

} // namespace

BENCHMARK_CAPTURE(convertScreens, Hires_None, CanvasMode::Hires, DitherMethod::None, 1)
    ->Name("BM_ConvertImage_Hires_None")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Hires_Ordered, CanvasMode::Hires, DitherMethod::Ordered, 1)
    ->Name("BM_ConvertImage_Hires_Ordered")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Hires_Diffusion, CanvasMode::Hires, DitherMethod::ErrorDiffusion, 1)
    ->Name("BM_ConvertImage_Hires_Diffusion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Multicolor_None, CanvasMode::Multicolor, DitherMethod::None, 1)
    ->Name("BM_ConvertImage_Multicolor_None")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Multicolor_Ordered, CanvasMode::Multicolor, DitherMethod::Ordered, 1)
    ->Name("BM_ConvertImage_Multicolor_Ordered")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    convertScreens, Multicolor_Diffusion, CanvasMode::Multicolor, DitherMethod::ErrorDiffusion, 1)
    ->Name("BM_ConvertImage_Multicolor_Diffusion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    convertScreens, Multicolor_Diffusion_4Screens, CanvasMode::Multicolor, DitherMethod::ErrorDiffusion, 4)
    ->Name("BM_ConvertImage_Multicolor_Diffusion_4Screens")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweepConverted, Hires_Diffusion, CanvasMode::Hires, DitherMethod::ErrorDiffusion)
    ->Name("BM_ConvertImageSweep_Hires_Diffusion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sweepConverted, Multicolor_Diffusion, CanvasMode::Multicolor, DitherMethod::ErrorDiffusion)
    ->Name("BM_ConvertImageSweep_Multicolor_Diffusion")
    ->Unit(benchmark::kMillisecond);

// The cell-aware method: every cell's best colours searched, then the dither within them.
BENCHMARK_CAPTURE(convertScreens, Cells_Hires_Diffusion, CanvasMode::Hires, DitherMethod::ErrorDiffusion, 1,
    ConversionMethod::CellAware)
    ->Name("BM_ConvertImage_Cells_Hires_Diffusion")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Cells_Multicolor_Diffusion, CanvasMode::Multicolor,
    DitherMethod::ErrorDiffusion, 1, ConversionMethod::CellAware)
    ->Name("BM_ConvertImage_Cells_Multicolor_Diffusion")
    ->Unit(benchmark::kMillisecond);
// The background searched as well: every cell measured with every possible background.
BENCHMARK_CAPTURE(convertScreens, Cells_Multicolor_Diffusion_AutoBackground, CanvasMode::Multicolor,
    DitherMethod::ErrorDiffusion, 1, ConversionMethod::CellAware, true)
    ->Name("BM_ConvertImage_Cells_Multicolor_Diffusion_AutoBackground")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Cells_Multicolor_Diffusion_Perceptual, CanvasMode::Multicolor,
    DitherMethod::ErrorDiffusion, 1, ConversionMethod::CellAware, false, ColorDistanceMetric::Perceptual)
    ->Name("BM_ConvertImage_Cells_Multicolor_Diffusion_Perceptual")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(convertScreens, Hires_Diffusion_Perceptual, CanvasMode::Hires, DitherMethod::ErrorDiffusion,
    1, ConversionMethod::Classic, false, ColorDistanceMetric::Perceptual)
    ->Name("BM_ConvertImage_Hires_Diffusion_Perceptual")
    ->Unit(benchmark::kMillisecond);
