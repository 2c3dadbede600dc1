#include "document/project.h"
#include "model/region_outline.h"
#include "paint/floating_selection.h"
#include "paint/simulated_diff.h"

#include <benchmark/benchmark.h>

namespace {

// A legal hires picture with two colours in every cell, varying from cell to cell, so
// content moved off the cell grid clashes in every cell it lands on.
Colormap twoColourCells(int width, int height)
{
    Colormap map(width, height);
    for (int y = 0; y < height; ++y) {
        uchar* row = map.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int cx = x / 8;
            const int cy = y / 8;
            const uchar a = uchar((cx + cy) & 15);
            const uchar b = uchar((cx * 3 + cy * 5 + 1) & 15);
            row[x] = ((x ^ y) & 1) ? a : b;
        }
    }
    return map;
}

} // namespace

// One step of dragging a lifted 512 x 512 float across a 4096 x 4096 canvas: the float's
// new outline, its simulation through the colour rules (source vacated, content pasted off
// the cell grid, clashes swept) and the preview image of the pixels that differ.
void BM_FloatingSelectionMove_512_On4096(benchmark::State& state)
{
    Project project(CanvasMode::Hires, 4096, 4096, CanvasLayoutSpec {}, 1);
    project.colormap() = twoColourCells(4096, 4096);
    FloatingSelection floating;
    floating.region = QRegion(1024, 1024, 512, 512);
    floating.pixels = project.colormap().snapshotRegion(floating.region.boundingRect());
    floating.vacated = floating.region;
    floating.blank = 0;
    Colormap simulation;
    simulateFloatingSelection(project, simulation, floating);
    int step = 0;
    for (auto _ : state) {
        step = step % 64 + 1;
        floating.offset = QPoint(step, step / 2);
        const QList<QLine> outline = selectionBoundarySegments(floating.placedRegion(project.rect()));
        const QRect changed = simulateFloatingSelection(project, simulation, floating);
        const QImage preview = simulatedDiffImage(project.colormap(), simulation, changed, project.palette());
        benchmark::DoNotOptimize(outline.size());
        benchmark::DoNotOptimize(preview.constBits());
    }
}
BENCHMARK(BM_FloatingSelectionMove_512_On4096)->Unit(benchmark::kMillisecond);
