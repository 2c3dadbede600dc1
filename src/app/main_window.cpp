#include "app/main_window.h"

#include "document/project.h"
#include "view/canvas_area.h"
#include "view/preview_window.h"
#include "widgets/dashboard_bar.h"

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_project(std::make_shared<Project>(CanvasMode::Hires, 0, 0, CanvasLayoutSpec {}, 1))
{
    m_canvas = new CanvasArea(m_project, this);
    m_guard.watch(*m_canvas);
    m_crashRecovery = new CrashRecovery(*this);
    m_dashboards = new WindowDashboards(*this);
    m_preview = new PreviewWindow(m_canvas, this);
    createColorBars();
    setCentralWidget(m_canvas);
    createActions();
    createMenus();
    createStatusBar();
    createDashboards();
    m_canvas->installEventFilter(this);
    for (QWidget* dashboard : {toolDashboard(), brushDashboard(), paletteDashboard()})
        dashboard->installEventFilter(this);
    connect(m_canvas, &CanvasArea::historyChanged, this, &MainWindow::refreshUndoActions);
    connect(m_canvas, &CanvasArea::selectionChanged, this, &MainWindow::refreshSelectionActions);
    setAcceptDrops(true);
    updateWindowTitle();
    resize(500, 500);
    readSettings();
    updateStatusBar();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    return (m_dashboards && m_dashboards->filter(watched, event)) || QMainWindow::eventFilter(watched, event);
}
