#include "app/main_window.h"

#include "model/project.h"
#include "view/canvas_area.h"

#include <QStatusBar>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_project(std::make_shared<Project>(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {}, 1))
{
    m_canvas = new CanvasArea(m_project, this);
    setCentralWidget(m_canvas);
    createActions();
    createMenus();
    statusBar();
    connect(m_canvas, &CanvasArea::historyChanged, this, &MainWindow::refreshUndoActions);
    setWindowTitle(QStringLiteral("KROMEL"));
    resize(500, 500);
}
