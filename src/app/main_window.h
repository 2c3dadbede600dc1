#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

class CanvasArea;
class Project;
class QAction;
class QMenu;
class QMenuBar;

// The one window of the program.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Opens a project handed over from outside (the command line) once the event loop
    // runs, so the window is on screen before anything about the file is shown.
    void openProjectFromDesktop(const QString& path);
    QString pendingProjectPath() const { return m_pendingProjectPath; }

    CanvasArea* canvasArea() const { return m_canvas; }
    Project& project() const { return *m_project; }

    void populateMenuBar(QMenuBar* menuBar);

public Q_SLOTS:
    void undo();
    void redo();
    void refreshUndoActions();
    void about();

private:
    void createActions();
    void createMenus();
    void openPendingProject();

    std::shared_ptr<Project> m_project;
    CanvasArea* m_canvas = nullptr;

    QAction* m_exitAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_aboutQtAction = nullptr;

    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_helpMenu = nullptr;

    QString m_pendingProjectPath;
};
