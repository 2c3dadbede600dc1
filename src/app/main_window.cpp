#include "app/main_window.h"

#include "document/project.h"
#include "view/canvas_area.h"
#include "view/preview_window.h"

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_project(std::make_shared<Project>(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {}, 1))
{
    m_canvas = new CanvasArea(m_project, this);
    m_preview = new PreviewWindow(m_canvas, this);
    // The floating dashboards are still to come; until then the bars sit below the canvas.
    createColorBars();
    setCentralWidget(m_canvas);
    createActions();
    createMenus();
    createStatusBar();
    connect(m_canvas, &CanvasArea::historyChanged, this, &MainWindow::refreshUndoActions);
    connect(m_canvas, &CanvasArea::selectionChanged, this, &MainWindow::refreshSelectionActions);
    setAcceptDrops(true);
    updateWindowTitle();
    resize(500, 500);
    readSettings();
    updateStatusBar();
}
