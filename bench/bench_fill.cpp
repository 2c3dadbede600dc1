#include "document/project.h"
#include "paint/edit_recording.h"
#include "paint/fill_paint.h"
#include "paint/footprint_mask.h"
#include "paint/shape_footprint.h"

#include <benchmark/benchmark.h>

namespace {

// A hires canvas wall of colour 1 on 0, a corridor one pixel wide winding through it.
Colormap mazeCanvas(int size)
{
    Colormap map(size, size);
    map.fillRect(map.rect(), 1);
    for (int y = 1; y < size; y += 2) {
        uchar* row = map.scanLine(y);
        for (int x = 1; x < size - 1; ++x)
            row[x] = 0;
        // The rows join at alternate ends.
        const int link = (y / 2) % 2 == 0 ? size - 2 : 1;
        if (y + 1 < size)
            map.scanLine(y + 1)[link] = 0;
    }
    return map;
}

// One recorded fill: before-image capture, flood, colour rules and the history entry, with
// the colour alternating so every iteration repaints the whole area.
void recordedFill(benchmark::State& state, Project& project, QPoint seed)
{
    FootprintMask mask(project.size(), 1);
    EditRecording recording;
    CoveredPaint paint;
    uchar colour = project.colormap().pixel(seed.x(), seed.y());
    for (auto _ : state) {
        colour = colour == 0 ? 2 : 0;
        paint.colour = colour;
        recording.begin(project.size());
        const QRect changed = floodFillPaint(project.colormap(), mask, seed, paint, paintRulesFor(project),
            [&](const QRect& rect, bool twice) { recording.captureBeforeArea(project, rect, twice); });
        recording.growDirtyRect(changed);
        project.history().push(recording.finish(project, HistoryEntryKind::Fill, std::nullopt));
        state.PauseTiming();
        project.history().clear();
        state.ResumeTiming();
    }
}

} // namespace

void BM_ColormapScan_4096(benchmark::State& state)
{
    Colormap map(4096, 4096);
    for (auto _ : state) {
        unsigned sum = 0;
        for (int y = 0; y < map.height(); ++y) {
            const uchar* row = map.scanLine(y);
            for (int x = 0; x < map.width(); ++x)
                sum += row[x];
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ColormapScan_4096)->Unit(benchmark::kMillisecond);

void BM_FloodFill_Open_4096(benchmark::State& state)
{
    Project project(CanvasMode::Hires, 4096, 4096, CanvasLayoutSpec {}, 1);
    recordedFill(state, project, QPoint(2048, 2048));
}
BENCHMARK(BM_FloodFill_Open_4096)->Unit(benchmark::kMillisecond);

void BM_FloodFill_Maze_1024(benchmark::State& state)
{
    Project project(CanvasMode::Hires, 1024, 1024, CanvasLayoutSpec {}, 1);
    project.colormap() = mazeCanvas(1024);
    recordedFill(state, project, QPoint(1, 1));
}
BENCHMARK(BM_FloodFill_Maze_1024)->Unit(benchmark::kMillisecond);

void BM_ContourFill_W4_1024(benchmark::State& state)
{
    Project project(CanvasMode::Multicolor, 1024, 1024, CanvasLayoutSpec {}, 1);
    project.colormap().fillRect(QRect(256, 256, 512, 512), 2);
    FootprintMask region(project.size(), 2);
    FootprintMask band(project.size(), 2);
    const Brush brush(4);
    CoveredPaint paint;
    paint.colour = 5;
    for (auto _ : state) {
        Colormap copy = project.colormap();
        benchmark::DoNotOptimize(contourPaint(copy, region, band, QPoint(512, 512), brush,
            ContourPlacement::Inside, 1.0, paint, paintRulesFor(project), {}));
    }
}
BENCHMARK(BM_ContourFill_W4_1024)->Unit(benchmark::kMillisecond);

// What one refresh of the stage preview costs: a fresh copy of the canvas, the circle's
// outline and its paint through the colour rules.
void BM_ShapePreview_Circle_512(benchmark::State& state)
{
    Project project(CanvasMode::Hires, 1024, 1024, CanvasLayoutSpec {}, 1);
    FootprintMask mask(project.size(), 1);
    StagedShape circle = makeBoxShape(ShapeKind::Circle, QPointF(256, 256), QPointF(768, 768), 0.0, false);
    circle.penIndex = 5;
    Colormap simulation;
    for (auto _ : state) {
        simulation = project.colormap();
        benchmark::DoNotOptimize(
            paintShape(simulation, mask, circle, 1.0, CoveredPaint {}, paintRulesFor(project), {}));
    }
}
BENCHMARK(BM_ShapePreview_Circle_512)->Unit(benchmark::kMillisecond);
