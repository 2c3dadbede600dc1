#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

class CanvasArea;
class Project;
class QAction;
class QMenu;
class QMenuBar;

// The one window of the program. Its work is spread over files by concern:
// main_window.cpp builds the window; main_window_commands.cpp holds the actions, menus
// and shortcuts; main_window_status.cpp the status bar and settings;
// main_window_document.cpp the document lifecycle (new, open, save, close).
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    CanvasArea* canvasArea() const { return m_canvas; }
    Project& project() const { return *m_project; }

    // Commands, menus and shortcuts.
    void populateMenuBar(QMenuBar* menuBar);

    // Document lifecycle.
    // Opens a project handed over from outside (the command line) once the event loop
    // runs, so the window is on screen before anything about the file is shown.
    void openProjectFromDesktop(const QString& path);
    QString pendingProjectPath() const { return m_pendingProjectPath; }

public Q_SLOTS:
    // Commands, menus and shortcuts.
    void undo();
    void redo();
    void refreshUndoActions();
    void about();

    // Status bar and settings.

    // Document lifecycle.

private:
    // Commands, menus and shortcuts.
    void createActions();
    void createMenus();

    // Status bar and settings.

    // Document lifecycle.
    void openPendingProject();

    // The document and its view.
    std::shared_ptr<Project> m_project;
    CanvasArea* m_canvas = nullptr;

    // Commands, menus and shortcuts.
    QAction* m_exitAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_aboutQtAction = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_helpMenu = nullptr;

    // Status bar and settings.

    // Document lifecycle.
    QString m_pendingProjectPath;
};
