// The View menu's zoom commands: they act on whichever of the two windows is active.
#include "app/main_window.h"

#include "view/canvas_area.h"
#include "view/preview_area.h"
#include "view/preview_window.h"

#include <QAction>
#include <QApplication>

bool MainWindow::zoomPreviewIfActive(void (CanvasArea::*step)())
{
    if (!m_preview->isActiveWindow())
        return false;
    const QList<std::pair<void (CanvasArea::*)(), void (PreviewWindow::*)()>> steps {
        {&CanvasArea::zoomIn, &PreviewWindow::zoomIn},
        {&CanvasArea::zoomOut, &PreviewWindow::zoomOut},
        {&CanvasArea::zoomActualSize, &PreviewWindow::zoomActualSize},
        {&CanvasArea::zoomBestFit, &PreviewWindow::zoomBestFit},
    };
    for (const auto& [canvasStep, previewStep] : steps) {
        if (canvasStep == step) {
            (m_preview->*previewStep)();
            return true;
        }
    }
    return false;
}

void MainWindow::zoomCommand(void (CanvasArea::*step)())
{
    if (zoomPreviewIfActive(step))
        return;
    if (isActiveWindow() || !QApplication::activeWindow())
        (m_canvas->*step)();
}
