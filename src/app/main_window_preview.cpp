// The preview window's View commands.
#include "app/main_window.h"

#include "view/canvas_area.h"
#include "view/preview_area.h"
#include "view/preview_window.h"

#include <QAction>

void MainWindow::connectPreviewActions()
{
    connect(m_showPreviewAction, &QAction::toggled, m_preview, &QWidget::setVisible);
    connect(m_preview, &PreviewWindow::closedByUser, m_showPreviewAction,
        [this] { m_showPreviewAction->setChecked(false); });
    connect(m_previewOnTopAction, &QAction::toggled, m_preview, &PreviewWindow::setStayOnTop);
    connect(m_mirrorPreviewAction, &QAction::toggled, m_preview, &PreviewWindow::setMirrorHorizontally);
    connect(m_crtFilterAction, &QAction::toggled, m_preview, &PreviewWindow::setCrtEmulation);
    connect(m_bilinearAction, &QAction::toggled, m_preview->area(), &PreviewArea::setBilinearFiltering);
}

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
