#include "app/main_window.h"

#include <QDir>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr int statusMessageTimeoutMs = 5000;

} // namespace

void MainWindow::openProjectFromDesktop(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    m_pendingProjectPath = path;
    QTimer::singleShot(0, this, &MainWindow::openPendingProject);
}

// Project files cannot be read yet; the request is kept and said so, rather than
void MainWindow::openPendingProject()
{
    statusBar()->showMessage(tr("Opening project files is not available in this build: %1")
                                 .arg(QDir::toNativeSeparators(m_pendingProjectPath)),
        statusMessageTimeoutMs);
}
