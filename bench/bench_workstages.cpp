#include "bench_canvas.h"
#include "convert/crt_filter.h"
#include "document/project.h"
#include "formats/image/canvas_export_image.h"
#include "formats/image/workstage_frames.h"
#include "model/workstage_replayer.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A framed multicolor screen at the preview's double size: the picture the CRT filter
// works on when the preview window is shown large.
QImage framedMulticolorScreen()
{
    Project project(CanvasMode::Multicolor);
    project.colormap() = noiseCanvas(project.size().width(), project.size().height(), 64);
    const QImage framed = canvasExportImage(project, project.palette(), true);
    return framed.scaled(768, 544).convertToFormat(QImage::Format_RGB32);
}

void BM_CrtFilter_Full_768x544(benchmark::State& state)
{
    const QImage source = framedMulticolorScreen();
    for (auto _ : state)
        benchmark::DoNotOptimize(CrtFilter::apply(source));
}
BENCHMARK(BM_CrtFilter_Full_768x544)->Unit(benchmark::kMillisecond);

// What one pixel of a stroke costs the preview with the filter on.
void BM_CrtFilter_Region_7x7(benchmark::State& state)
{
    const QImage source = framedMulticolorScreen();
    QImage target = CrtFilter::apply(source);
    for (auto _ : state) {
        CrtFilter::apply(source, target, QRect(380, 270, 7, 7));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CrtFilter_Region_7x7)->Unit(benchmark::kMicrosecond);

// Brush dabs of a few pixels scattered over a hires screen, with an occasional border
// change, as a long drawing session records them.
Project projectWithHistory(int entries)
{
    Project project(CanvasMode::Hires);
    const QSize size = project.size();
    for (int i = 0; i < entries; ++i) {
        if (i % 500 == 499) {
            project.assignBorderIndex(uchar(i / 500 % 16));
            continue;
        }
        const QRect rect((i * 7919) % (size.width() - 4), (i * 104729) % (size.height() - 4), 4, 4);
        const Colormap before = project.colormap().snapshotRegion(rect);
        project.colormap().fillRect(rect, uchar(i % 16));
        HistoryEntry entry(HistoryEntryKind::Stroke);
        project.appendRegionChange(entry, rect, before);
        project.history().push(std::move(entry));
    }
    return project;
}

// What saving every workstage asks of the replayer, without drawing and writing the
// images: the whole history taken back once, then each stage's pixels and colours in
// turn, so every entry's crop is written twice.
void BM_WorkstageReplay_10k(benchmark::State& state)
{
    const Project project = projectWithHistory(10000);
    for (auto _ : state) {
        WorkstageReplayer replayer(project.colormap(), project.history(), workstageColorsOf(project));
        for (int stage = 0; stage < replayer.stageCount(); ++stage) {
            benchmark::DoNotOptimize(replayer.colormapAt(stage).constData());
            benchmark::DoNotOptimize(replayer.colorsAt(stage));
        }
    }
}
BENCHMARK(BM_WorkstageReplay_10k)->Unit(benchmark::kMillisecond);

// The yardstick for the replay: taking the same entries back on the document, once.
void BM_WorkstageUndo_10k(benchmark::State& state)
{
    Project project = projectWithHistory(10000);
    for (auto _ : state) {
        while (project.history().canUndo())
            project.undo();
        state.PauseTiming();
        while (project.history().canRedo())
            project.redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WorkstageUndo_10k)->Unit(benchmark::kMillisecond);

// The like-for-like yardstick: the document walking the same entries the replay walks,
// every one taken back and then applied again.
void BM_WorkstageUndoRedo_10k(benchmark::State& state)
{
    Project project = projectWithHistory(10000);
    for (auto _ : state) {
        while (project.history().canUndo())
            project.undo();
        while (project.history().canRedo())
            project.redo();
    }
}
BENCHMARK(BM_WorkstageUndoRedo_10k)->Unit(benchmark::kMillisecond);

void BM_WorkstageFrames_100(benchmark::State& state)
{
    const Project project = projectWithHistory(99);
    QTemporaryDir folder;
    const WorkstageFrameJob job
        = workstageFrameJob(project, 100, WorkstageReduction::Uniform, false, folder.path(), "bench");
    for (auto _ : state) {
        WorkstageReplayer replayer(project.colormap(), project.history(), workstageColorsOf(project));
        benchmark::DoNotOptimize(writeWorkstageFrames(replayer, job, {}).written);
    }
}
BENCHMARK(BM_WorkstageFrames_100)->Unit(benchmark::kMillisecond);

} // namespace
