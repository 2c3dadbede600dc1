#include "app/main_window.h"

#include "app/commands/file_command_steps.h"

#include "app/recent_files.h"
#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/native/native_image.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "view/canvas_area.h"
#include "view/tools/select_tool.h"
#include "widgets/new_canvas_dialog.h"
#include "widgets/open_project_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QUrl>

namespace {

constexpr std::chrono::milliseconds statusMessageTimeout {5000};
const QLatin1String projectSuffix("krm");

QString projectFileFilter()
{
    return MainWindow::tr("KROMEL Project (*.%1);;All Files (*)").arg(projectSuffix);
}

// The one local project file a drag carries, or an empty string when it carries anything
// else: several files, a folder, a remote address or another kind of file.
QString draggedProjectPath(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QFileInfo info(url.toLocalFile());
    if (info.isDir() || info.suffix().compare(projectSuffix, Qt::CaseInsensitive) != 0)
        return {};
    return info.absoluteFilePath();
}

SaveChangesAnswer askToSaveChanges(MainWindow& window)
{
    if (window.documentPrompts().askToSaveChanges)
        return window.documentPrompts().askToSaveChanges();
    QMessageBox box(QMessageBox::Warning, MainWindow::tr("KROMEL"),
        MainWindow::tr("The project has been modified.\nDo you want to save your changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window);
    // No default: a stray Enter must neither save nor throw the work away.
    for (QAbstractButton* button : box.buttons()) {
        if (auto* pushButton = qobject_cast<QPushButton*>(button))
            pushButton->setAutoDefault(false);
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Save:
        return SaveChangesAnswer::Save;
    case QMessageBox::Discard:
        return SaveChangesAnswer::Discard;
    default:
        return SaveChangesAnswer::Cancel;
    }
}

QString chooseProjectToOpen(MainWindow& window, const QString& startDir)
{
    if (window.documentPrompts().chooseProjectToOpen)
        return window.documentPrompts().chooseProjectToOpen(startDir);
    if (window.useNativeFileDialogs())
        return QFileDialog::getOpenFileName(
            &window, MainWindow::tr("Open Project"), startDir, projectFileFilter());
    OpenProjectDialog dialog(window.project().palette(), startDir, &window);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString chooseProjectSavePath(MainWindow& window, const QString& proposedPath)
{
    if (window.documentPrompts().chooseProjectSavePath)
        return window.documentPrompts().chooseProjectSavePath(proposedPath);
    return QFileDialog::getSaveFileName(
        &window, MainWindow::tr("Save Project"), proposedPath, projectFileFilter());
}

std::optional<NewCanvasChoice> chooseNewCanvas(MainWindow& window)
{
    if (window.documentPrompts().chooseNewCanvas)
        return window.documentPrompts().chooseNewCanvas();
    NewCanvasDialog dialog(&window);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return NewCanvasChoice {dialog.mode(), dialog.layout(), dialog.screensAcross(), dialog.canvasSize()};
}

} // namespace

void MainWindow::newHiresCanvas()
{
    newPresetCanvas(CanvasMode::Hires, CanvasLayout::BitmapOnly, 1);
}

void MainWindow::newHiresSpritesCanvas()
{
    newPresetCanvas(CanvasMode::Hires, CanvasLayout::SideBorders, 1);
}

void MainWindow::newHiresTopBottomSpritesCanvas()
{
    newPresetCanvas(CanvasMode::Hires, CanvasLayout::TopBottomBorders, 1);
}

void MainWindow::newMulticolorCanvas()
{
    newPresetCanvas(CanvasMode::Multicolor, CanvasLayout::BitmapOnly, 1);
}

void MainWindow::newMulticolorSpritesCanvas()
{
    newPresetCanvas(CanvasMode::Multicolor, CanvasLayout::SideBorders, 1);
}

void MainWindow::newMulticolorTopBottomSpritesCanvas()
{
    newPresetCanvas(CanvasMode::Multicolor, CanvasLayout::TopBottomBorders, 1);
}

void MainWindow::newDualHiresCanvas()
{
    newPresetCanvas(CanvasMode::Hires, CanvasLayout::BitmapOnly, 2);
}

void MainWindow::newDualMulticolorCanvas()
{
    newPresetCanvas(CanvasMode::Multicolor, CanvasLayout::BitmapOnly, 2);
}

void MainWindow::newPresetCanvas(CanvasMode mode, CanvasLayout layout, int screensAcross)
{
    newCanvas(mode, CanvasLayoutSpec {layout}, screensAcross, QSize());
}

void MainWindow::newCanvas(
    CanvasMode mode, const CanvasLayoutSpec& layout, int screensAcross, const QSize& size)
{
    if (prepareForDocumentReplacement())
        createCanvas(mode, layout, screensAcross, size);
}

void MainWindow::newCanvasFromDialog()
{
    if (!prepareForDocumentReplacement())
        return;
    const std::optional<NewCanvasChoice> choice = chooseNewCanvas(*this);
    if (!choice) {
        showStatusMessage(tr("New canvas cancelled."), statusMessageTimeout);
        return;
    }
    createCanvas(choice->mode, CanvasLayoutSpec {choice->layout}, choice->screensAcross, choice->size);
}

void MainWindow::createCanvas(
    CanvasMode mode, const CanvasLayoutSpec& layout, int screensAcross, const QSize& size)
{
    auto project = std::make_shared<Project>(mode, size.width(), size.height(), layout, screensAcross);
    // The palette, the pixel shape and the policies are the window's choices, not the old
    // document's content.
    project->setHiresClashResolution(m_project->hiresClashResolution());
    project->setSpriteCountPolicy(m_project->spriteCountPolicy());
    adoptProject(std::move(project));
    m_currentFile.clear();
    m_pendingName.clear();
    updateWindowTitle();
}

void MainWindow::adoptProject(std::shared_ptr<Project> project)
{
    project->setPaletteVariant(m_project->palette().variant());
    project->transform().setDisplayPixelAspect(m_project->transform().displayPixelAspect());
    // The window and the canvas view share the one document; both let go of the old one.
    m_project = std::move(project);
    m_canvas->setProject(m_project);
    Q_EMIT documentReplaced();
}

bool MainWindow::prepareForDocumentReplacement()
{
    if (!m_guard.mayExport())
        return false;
    // Staged shapes and a float belong to the document they were made on; they land before the
    // question about saving it.
    m_canvas->commitStagedEdits();
    return maybeSave();
}

bool MainWindow::maybeSave()
{
    if (!m_project->isModified())
        return true;
    switch (askToSaveChanges(*this)) {
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        return false;
    case SaveChangesAnswer::Save:
        break;
    }
    if (m_guard.busy())
        return false;
    return saveProject();
}

void MainWindow::openProject()
{
    if (!prepareForDocumentReplacement())
        return;
    QString startDir;
    if (!m_currentFile.isEmpty()) {
        startDir = QFileInfo(m_currentFile).absolutePath();
    } else {
        const QSettings settings;
        startDir = lastDirForKey(settings, settingsKey::lastProjectDir);
    }
    const QString path = chooseProjectToOpen(*this, startDir);
    if (path.isEmpty()) {
        showStatusMessage(tr("Open cancelled."), statusMessageTimeout);
        return;
    }
    loadProjectFromFile(path);
}

void MainWindow::openRecentProject()
{
    const auto* action = qobject_cast<const QAction*>(sender());
    const QString path = action ? action->data().toString() : QString();
    if (path.isEmpty() || m_guard.busy())
        return;
    if (!prepareForDocumentReplacement())
        return;
    if (loadProjectFromFile(path) == ProjectLoadResult::Failed)
        forgetRecentProject(path);
}

void MainWindow::openProjectFromDesktop(const QString& path)
{
    if (path.isEmpty())
        return;
    // After the turn of the event loop that brought the path: a drop is finished, and at
    // start-up the window is on screen before any question about the file is asked.
    QTimer::singleShot(0, this, [this, path] {
        // A file manager hands over C64 pictures too; anything else is taken for a
        // project, whose reader says what is wrong with it.
        NativeImage picture;
        const bool isProject = QFileInfo(path).suffix().compare(projectSuffix, Qt::CaseInsensitive) == 0;
        if (!isProject && readNativeImageFile(path, &picture, nullptr)) {
            if (prepareForDocumentReplacement())
                openNativeImage(*this, path, picture);
            return;
        }
        if (prepareForDocumentReplacement())
            loadProjectFromFile(path);
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_guard.busy() && !draggedProjectPath(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = draggedProjectPath(event->mimeData());
    if (m_guard.busy() || path.isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    openProjectFromDesktop(path);
}

ProjectLoadResult MainWindow::loadProjectFromFile(const QString& path)
{
    // Filled on the worker thread and adopted only once the task is over.
    auto loaded = std::make_shared<Project>();
    const ProjectFileResult result = runProjectFileTask(tr("Opening %1...").arg(QFileInfo(path).fileName()),
        [path, target = loaded.get()](
            const ProjectFileProgress& progress) { return loadProjectFile(path, target, progress); });
    if (result.cancelled) {
        showStatusMessage(tr("Open cancelled."), statusMessageTimeout);
        return ProjectLoadResult::Cancelled;
    }
    if (!result.ok) {
        warnUser(tr("Could not open %1: %2").arg(QDir::toNativeSeparators(path), result.error));
        return ProjectLoadResult::Failed;
    }

    adoptProject(std::move(loaded));
    m_currentFile = QFileInfo(path).absoluteFilePath();
    m_pendingName.clear();
    {
        QSettings settings;
        rememberDirForKey(settings, settingsKey::lastProjectDir, m_currentFile);
    }
    rememberRecentProject(m_currentFile);
    updateWindowTitle();
    showStatusMessage(tr("Opened %1.").arg(QFileInfo(path).fileName()), statusMessageTimeout);
    return ProjectLoadResult::Opened;
}

bool MainWindow::saveProject()
{
    if (m_guard.busy())
        return false;
    if (!m_currentFile.isEmpty())
        return saveProjectTo(m_currentFile);
    return saveProjectAs();
}

bool MainWindow::saveProjectAs()
{
    if (m_guard.busy())
        return false;
    QString proposed = m_currentFile;
    if (proposed.isEmpty()) {
        const QSettings settings;
        const QString name = m_pendingName.isEmpty() ? QStringLiteral("untitled") : m_pendingName;
        proposed = lastDirForKey(settings, settingsKey::lastProjectDir) + QLatin1Char('/') + name
            + QLatin1Char('.') + projectSuffix;
    }
    QString path = chooseProjectSavePath(*this, proposed);
    if (path.isEmpty()) {
        showStatusMessage(tr("Save cancelled."), statusMessageTimeout);
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + projectSuffix;
    return saveProjectTo(path);
}

bool MainWindow::saveProjectTo(const QString& path)
{
    if (!m_guard.mayExport())
        return false;
    // The worker writes a copy, so the document on screen is never read off this thread.
    auto copy = std::make_shared<const Project>(*m_project);
    const ProjectFileResult result = runProjectFileTask(tr("Saving %1...").arg(QFileInfo(path).fileName()),
        [path, copy](const ProjectFileProgress& progress) { return saveProjectFile(*copy, path, progress); });
    if (result.cancelled) {
        showStatusMessage(tr("Save cancelled."), statusMessageTimeout);
        return false;
    }
    if (!result.ok) {
        warnUser(tr("Could not save %1: %2").arg(QDir::toNativeSeparators(path), result.error));
        return false;
    }

    m_currentFile = QFileInfo(path).absoluteFilePath();
    m_pendingName.clear();
    {
        QSettings settings;
        rememberDirForKey(settings, settingsKey::lastProjectDir, m_currentFile);
    }
    rememberRecentProject(m_currentFile);
    m_project->markClean();
    m_crashRecovery->discardCopy();
    updateWindowTitle();
    showStatusMessage(tr("Saved %1.").arg(QFileInfo(path).fileName()), statusMessageTimeout);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A worker is still writing or reading a file the window's state depends on.
    if (m_guard.busy() || !maybeSave()) {
        event->ignore();
        return;
    }
    writeSettings();
    m_crashRecovery->discardCopy();
    event->accept();
}

ProjectFileResult MainWindow::runProjectFileTask(const QString& label, const ProjectFileTask& task)
{
    const auto busy = m_guard.busyScope();
    return runProjectFileTaskBlocking(this, label, task);
}

void MainWindow::setPendingName(const QString& name)
{
    m_pendingName = name;
    updateWindowTitle();
}

void MainWindow::updateWindowTitle()
{
    QString name = tr("Untitled");
    if (!m_currentFile.isEmpty())
        name = QFileInfo(m_currentFile).fileName();
    else if (!m_pendingName.isEmpty())
        name = m_pendingName;
    // The toolkit reads a doubled placeholder as the literal text, so a file name that
    // holds one is shown as it is.
    name.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(tr("%1[*] - KROMEL").arg(name));
    setWindowModified(m_project->isModified());
}

QStringList MainWindow::recentProjects() const
{
    const QSettings settings;
    return RecentFiles::read(settings);
}

void MainWindow::setRecentProjects(const QStringList& list)
{
    QSettings settings;
    RecentFiles::write(settings, RecentFiles::sanitize(list, RecentFiles::maxEntries));
}

void MainWindow::rememberRecentProject(const QString& path)
{
    setRecentProjects(RecentFiles::promote(recentProjects(), path, RecentFiles::maxEntries));
}

void MainWindow::forgetRecentProject(const QString& path)
{
    setRecentProjects(RecentFiles::remove(recentProjects(), path));
}

void MainWindow::clearRecentProjects()
{
    setRecentProjects({});
    if (m_recentProjectsMenu) {
        // The entry that asked for this is among the actions, still delivering its signal.
        for (QAction* action : m_recentProjectsMenu->actions()) {
            m_recentProjectsMenu->removeAction(action);
            if (action->parent() == m_recentProjectsMenu)
                action->deleteLater();
        }
        m_recentProjectsMenu->setEnabled(false);
    }
    m_recentToolTips.clear();
}

void MainWindow::updateRecentProjectsMenu(QMenu* menu)
{
    m_recentProjectsMenu = menu;
    const QStringList stored = recentProjects();
    QStringList existing;
    for (const QString& path : stored) {
        if (QFileInfo(path).isFile())
            existing.append(path);
    }
    if (existing != stored)
        setRecentProjects(existing);

    menu->clear();
    menu->setToolTipsVisible(true);
    const QStringList labels = RecentFiles::menuLabels(existing);
    for (qsizetype i = 0; i < existing.size(); ++i) {
        QString label = labels.at(i);
        label.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(label));
        const QString nativePath = QDir::toNativeSeparators(existing.at(i));
        action->setStatusTip(nativePath);
        action->setToolTip(nativePath);
        action->setData(existing.at(i));
        connect(action, &QAction::triggered, this, &MainWindow::openRecentProject);
    }
    menu->addSeparator();
    QAction* clearAction = menu->addAction(tr("Clear Recent File List"));
    clearAction->setStatusTip(tr("Forget every project in the Open Recent list"));
    connect(clearAction, &QAction::triggered, this, &MainWindow::clearRecentProjects);
    menu->setEnabled(!existing.isEmpty());
    connect(menu, &QMenu::hovered, this, &MainWindow::prepareRecentProjectToolTip, Qt::UniqueConnection);
}

void MainWindow::prepareRecentProjectToolTip(QAction* action)
{
    const QString path = action ? action->data().toString() : QString();
    // A native menu bar draws its own menus and shows no rich text.
    if (path.isEmpty() || menuBar()->isNativeMenuBar())
        return;
    action->setToolTip(m_recentToolTips.toolTip(path, m_project->palette()));
}

void MainWindow::warnUser(const QString& text, const QString& detail)
{
    if (m_prompts.warn) {
        m_prompts.warn(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, tr("KROMEL"), text, QMessageBox::Ok, this);
    box.setInformativeText(detail);
    box.exec();
}
