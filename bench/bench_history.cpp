#include "document/project.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

constexpr int entriesPerCycle = 100000;

// Where the i-th one-pixel stroke lands: short runs scattered over the whole canvas, the
// same pattern on every canvas size.
QPoint strokePoint(int i, const QSize& size)
{
    const int run = i / 16;
    const int x = (run * 7919 + (i % 16)) % size.width();
    const int y = (run * 104729) % size.height();
    return {x, y};
}

void pushOnePixelEntries(Project& project)
{
    const QSize size = project.size();
    for (int i = 0; i < entriesPerCycle; ++i) {
        const QRect rect(strokePoint(i, size), QSize(1, 1));
        const Colormap before = project.colormap().snapshotRegion(rect);
        project.colormap().setPixel(rect.left(), rect.top(), uchar((before.pixel(0, 0) + 1) & 15));
        HistoryEntry entry(HistoryEntryKind::Stroke);
        project.appendRegionChange(entry, rect, before);
        project.history().push(std::move(entry));
    }
}

std::size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What one one-pixel entry costs in memory: the heap the history grows by per entry,
// allocator overhead included, measured once outside the timed loop.
double heapBytesPerEntry(Project& project)
{
    malloc_trim(0);
    const std::size_t before = heapInUse();
    pushOnePixelEntries(project);
    const std::size_t after = heapInUse();
    while (project.history().canUndo())
        project.undo();
    project.history().clear();
    return double(after - before) / entriesPerCycle;
}

// A one-pixel stroke pushed, undone and redone. The cost has to follow the changed
// area, so a huge canvas must cost about what a single screen does.
void runOnePixelHistory(benchmark::State& state, int width, int height)
{
    Project project(CanvasMode::Hires, width, height, CanvasLayoutSpec {}, 1);
    const double bytesPerEntry = heapBytesPerEntry(project);
    for (auto _ : state) {
        pushOnePixelEntries(project);
        while (project.history().canUndo())
            project.undo();
        while (project.history().canRedo())
            project.redo();
        state.PauseTiming();
        project.history().clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * entriesPerCycle);
    state.counters["heap_bytes_per_entry"] = bytesPerEntry;
    state.counters["sizeof_entry"] = double(sizeof(HistoryEntry));
    state.counters["sizeof_change"] = double(sizeof(HistoryChange));
}

void BM_HistoryOnePixel_Small(benchmark::State& state)
{
    runOnePixelHistory(state, 320, 200);
}
BENCHMARK(BM_HistoryOnePixel_Small)->Unit(benchmark::kMillisecond);

void BM_HistoryOnePixel_Large(benchmark::State& state)
{
    runOnePixelHistory(state, 4096, 4096);
}
BENCHMARK(BM_HistoryOnePixel_Large)->Unit(benchmark::kMillisecond);

} // namespace
