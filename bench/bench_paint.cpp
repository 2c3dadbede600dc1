#include "document/project.h"
#include "paint/edit_recording.h"
#include "paint/footprint_mask.h"
#include "paint/paint_application.h"
#include "paint/symmetric_stroke.h"

#include <benchmark/benchmark.h>

namespace {

// History entries pile up over millions of iterations; they are dropped untimed every so
// many.
constexpr std::int64_t historyFlushInterval = 4096;

const QPoint segmentFrom(150, 90);
const QPoint segmentTo(162, 98);

// Runs one recorded edit per iteration on a hires canvas: `paintOnce(project, mask,
// recording, colour)` paints between the recording's begin and finish. The colour
// alternates so every edit changes pixels and pushes a hires cell to a third colour.
template <typename PaintOnce> void recordedEdits(benchmark::State& state, QSize canvas, PaintOnce paintOnce)
{
    Project project(CanvasMode::Hires, canvas.width(), canvas.height(), CanvasLayoutSpec {}, 1);
    FootprintMask mask(project.size(), 1);
    EditRecording recording;
    std::int64_t iteration = 0;
    for (auto _ : state) {
        recording.begin(project.size());
        const QRect changed = paintOnce(project, mask, recording, uchar(1 + (iteration & 1)));
        recording.growDirtyRect(changed);
        project.history().push(recording.finish(project, HistoryEntryKind::Stroke, segmentTo));
        if (++iteration % historyFlushInterval == 0) {
            state.PauseTiming();
            project.history().clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// One recorded freehand segment, as the pen paints it on a mouse move: capture of the
// before-image, footprint, colour rules with clash recolouring, and the history entry
// at the end. The segment lies at the same place on both canvases: its cost must follow
// the footprint, not the canvas.
void paintSegment(benchmark::State& state, int width, QSize canvas)
{
    const Brush brush(width);
    recordedEdits(
        state, canvas, [&](Project& project, FootprintMask& mask, EditRecording& recording, uchar colour) {
            CoveredPaint paint;
            paint.colour = colour;
            recording.captureBeforeArea(
                project, brush.segmentBoundingRect(segmentFrom, segmentTo, project.size()), false);
            return applyStrokeSegment(project.colormap(), mask, brush, segmentFrom, segmentTo,
                StrokeGeometry {}, 0.0, false, paint, paintRulesFor(project));
        });
}

const QSize smallCanvas(320, 200);
const QSize largeCanvas(4096, 4096);

} // namespace

#define KROMEL_PAINT_SEGMENT_BENCH(width, size, canvas)                                                      \
    void BM_PaintSegment_W##width##_##size(benchmark::State& state)                                          \
    {                                                                                                        \
        paintSegment(state, width, canvas);                                                                  \
    }                                                                                                        \
    BENCHMARK(BM_PaintSegment_W##width##_##size)->Unit(benchmark::kMicrosecond);

KROMEL_PAINT_SEGMENT_BENCH(1, Small, smallCanvas)
KROMEL_PAINT_SEGMENT_BENCH(8, Small, smallCanvas)
KROMEL_PAINT_SEGMENT_BENCH(32, Small, smallCanvas)
KROMEL_PAINT_SEGMENT_BENCH(1, Large, largeCanvas)
KROMEL_PAINT_SEGMENT_BENCH(8, Large, largeCanvas)
KROMEL_PAINT_SEGMENT_BENCH(32, Large, largeCanvas)

namespace {

// The same recorded segment with Kaleidoscope symmetry: eight copies, each through the
// whole paint path, in one entry. Its cost should stay near eight plain segments.
void BM_PaintSegment_W32_Symmetry8(benchmark::State& state)
{
    const Brush brush(32);
    const QList<SymmetryTransform> copies
        = symmetryTransforms(SymmetryMode::Kaleidoscope, SymmetryAxes::centered(smallCanvas), 1, 1.0);
    recordedEdits(state, smallCanvas,
        [&](Project& project, FootprintMask& mask, EditRecording& recording, uchar colour) {
            CoveredPaint paint;
            paint.colour = colour;
            const BeforeFillPaint capture
                = [&](const QRect& rect, bool twice) { recording.captureBeforeArea(project, rect, twice); };
            return applySymmetricStrokeSegment(project.colormap(), mask, brush, segmentFrom, segmentTo,
                StrokeGeometry {}, copies, paint, paintRulesFor(project), capture);
        });
}
BENCHMARK(BM_PaintSegment_W32_Symmetry8)->Unit(benchmark::kMicrosecond);

} // namespace
