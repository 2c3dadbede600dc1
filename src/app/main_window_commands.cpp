#include "app/main_window.h"

#include "app/about_dialog.h"
#include "model/project.h"
#include "view/canvas_area.h"
#include "view/tools/canvas_tool.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

void MainWindow::createActions()
{
    m_exitAction = new QAction(tr("Exit"), this);
    m_exitAction->setShortcuts(QKeySequence::Quit);
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);

    m_undoAction = new QAction(tr("Undo"), this);
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_undoAction->setEnabled(false);
    connect(m_undoAction, &QAction::triggered, this, &MainWindow::undo);

    m_redoAction = new QAction(tr("Redo"), this);
    // Ctrl+Y as well where the platform's standard binding is only Ctrl+Shift+Z: artists
    // coming from other painting programs reach for it.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    m_redoAction->setShortcuts(redoKeys);
    m_redoAction->setEnabled(false);
    connect(m_redoAction, &QAction::triggered, this, &MainWindow::redo);

    m_aboutAction = new QAction(tr("About"), this);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::about);

    m_aboutQtAction = new QAction(tr("About Qt"), this);
    connect(m_aboutQtAction, &QAction::triggered, qApp, &QApplication::aboutQt);
}

void MainWindow::createMenus()
{
    m_fileMenu = new QMenu(tr("File"), this);
    m_fileMenu->addAction(m_exitAction);

    m_editMenu = new QMenu(tr("Edit"), this);
    m_editMenu->addAction(m_undoAction);
    m_editMenu->addAction(m_redoAction);

    m_helpMenu = new QMenu(tr("Help"), this);
    m_helpMenu->addAction(m_aboutAction);
    m_helpMenu->addAction(m_aboutQtAction);

    populateMenuBar(menuBar());
}

void MainWindow::populateMenuBar(QMenuBar* menuBar)
{
    menuBar->addMenu(m_fileMenu);
    menuBar->addMenu(m_editMenu);
    menuBar->addMenu(m_helpMenu);
}

// A tool holding steps of its own (staged shapes, a selection) takes them back first.
void MainWindow::undo()
{
    if (m_canvas->activeTool()->handleUndo()) {
        refreshUndoActions();
        return;
    }
    m_canvas->undo();
    refreshUndoActions();
}

void MainWindow::redo()
{
    m_canvas->redo();
    refreshUndoActions();
}

void MainWindow::refreshUndoActions()
{
    const History& history = m_canvas->project().history();
    m_undoAction->setEnabled(history.canUndo() || m_canvas->activeTool()->canUndoStage());
    m_redoAction->setEnabled(history.canRedo());
}

void MainWindow::about()
{
    AboutDialog dialog(this);
    dialog.exec();
}

// pretending to open the file.