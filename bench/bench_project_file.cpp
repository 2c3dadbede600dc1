#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "formats/project/project_preview.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <map>
#include <memory>

namespace {

constexpr int longHistory = 100000;

// A project whose history is `entries` one-pixel strokes scattered over the canvas, the
// commonest entry of a long painting session.
Project onePixelHistoryProject(int entries)
{
    Project project;
    const QSize size = project.size();
    QList<HistoryEntry> list;
    list.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        const QPoint point((i * 7919) % size.width(), (i / 16 * 104729) % size.height());
        Colormap after(1, 1);
        after.fill(uchar(1 + i % 15));
        RegionChange change {QRect(point, QSize(1, 1)), ColormapCrop(Colormap(1, 1)), ColormapCrop(after)};
        HistoryEntry entry(HistoryEntryKind::Stroke);
        entry.strokeAnchor = point;
        entry.changes.append(HistoryChange(std::move(change)));
        list.append(std::move(entry));
    }
    project.history().restore(std::move(list), entries);
    return project;
}

const Project& benchProject(int entries)
{
    static std::map<int, std::unique_ptr<Project>> projects;
    std::unique_ptr<Project>& project = projects[entries];
    if (!project)
        project = std::make_unique<Project>(onePixelHistoryProject(entries));
    return *project;
}

// The file of such a project, written once per run.
QString benchFile(int entries)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history-%1.krm").arg(entries));
    if (!QFileInfo::exists(path))
        saveProjectFile(onePixelHistoryProject(entries), path, {});
    return path;
}

double heapInUseMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

double peakResidentMiB()
{
    struct rusage usage { };
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_ProjectSave100k(benchmark::State& state)
{
    const Project& project = benchProject(longHistory);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("save.krm"));
    for (auto _ : state) {
        const ProjectFileResult result = saveProjectFile(project, path, {});
        benchmark::DoNotOptimize(result.ok);
    }
    state.counters["file_MiB"] = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ProjectSave100k)->Unit(benchmark::kMillisecond);

// The heap the loaded project holds, besides the time.
void BM_ProjectLoad100k(benchmark::State& state)
{
    const QString path = benchFile(longHistory);
    double loadedHeap = 0;
    for (auto _ : state) {
        const double before = heapInUseMiB();
        Project project;
        const ProjectFileResult result = loadProjectFile(path, &project, {});
        benchmark::DoNotOptimize(result.ok);
        loadedHeap = heapInUseMiB() - before;
    }
    state.counters["loaded_heap_MiB"] = loadedHeap;
    state.counters["peak_rss_MiB"] = peakResidentMiB();
}
BENCHMARK(BM_ProjectLoad100k)->Unit(benchmark::kMillisecond);

void previewBenchmark(benchmark::State& state, int entries)
{
    const QString path = benchFile(entries);
    for (auto _ : state) {
        ProjectFilePreview preview;
        QString error;
        benchmark::DoNotOptimize(readProjectFilePreview(path, &preview, &error));
    }
}

// Only the first record is read, so a long history must not slow the preview down.
void BM_ProjectPreview100k(benchmark::State& state)
{
    previewBenchmark(state, longHistory);
}
BENCHMARK(BM_ProjectPreview100k)->Unit(benchmark::kMicrosecond);

void BM_ProjectPreview1(benchmark::State& state)
{
    previewBenchmark(state, 1);
}
BENCHMARK(BM_ProjectPreview1)->Unit(benchmark::kMicrosecond);

} // namespace
