// One full repaint of the canvas view with every overlay shown, at the zoom where a
// one-screen canvas fills a 1280 x 800 view: what the user waits for on every pan step.

#include "bench_canvas.h"
#include "document/project.h"
#include "view/canvas_area.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "kromel-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_CanvasPaintEvent_Overlays_1280x800(benchmark::State& state)
{
    application();
    auto project = std::make_shared<Project>(
        CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {CanvasLayout::TopBottomBorders}, 1);
    project->colormap() = noiseCanvas(project->size().width(), project->size().height(), 11);
    CanvasArea view(project);
    view.resize(1280, 800);
    view.refreshCanvasImage();
    QImage target(view.size(), QImage::Format_RGB32);
    // The first render delivers the pending resize, which would best-fit over the zoom.
    view.render(&target);
    view.zoomActualSize();
    // 320 x 200 screen pixels at zoom 4 fill the view; multicolor pixels are two wide.
    project->transform().setZoom(4.0);
    project->transform().setPan(QPointF(0, 0));
    view.setPixelGridVisible(true);
    view.setGridVisible(true);
    view.setSafeFramesVisible(true);
    for (auto _ : state) {
        // A fresh flag cache each round: the worst frame, right after an edit.
        view.invalidateSpriteFlagOverlay();
        view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_CanvasPaintEvent_Overlays_1280x800)->Unit(benchmark::kMillisecond);

} // namespace
