// File > Save Workstages...: the recorded history replayed as numbered PNG frames.
#include "app/main_window.h"

#include "app/commands/file_command_steps.h"

#include "app/remembered_folders.h"
#include "app/settings_keys.h"
#include "document/project.h"
#include "formats/image/workstage_frames.h"
#include "model/canvas_region.h"
#include "view/canvas_area.h"
#include "widgets/save_workstages_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>

namespace {

constexpr std::chrono::milliseconds statusTimeout {5000};

// The worker gets entries of its own: crops from a file inflate as they are reached, and
// that must not touch the document's copies while the window may read them.
History detachedHistory(const History& history)
{
    // Entries own their changes, so copying the list copies them all.
    QList<HistoryEntry> entries = history.entries().first(history.index());
    entries.detach();
    History copy;
    copy.restore(std::move(entries), history.index());
    return copy;
}

} // namespace

void MainWindow::saveWorkstages()
{
    if (!m_guard.mayExport())
        return;
    const Project& project = *m_project;
    const int total = project.history().index() + 1;
    if (total < 2)
        return;
    const QString cancelled = tr("Saving workstages cancelled.");
    QSettings settings;
    std::optional<WorkstagesChoice> choice;
    if (m_prompts.chooseWorkstages) {
        choice = m_prompts.chooseWorkstages(total);
    } else {
        const auto remembered
            = WorkstageReduction(settings.value(settingsKey::saveWorkstagesDialogReduction, 0).toInt() == 1);
        SaveWorkstagesDialog dialog(total, remembered, this);
        dialog.restoreGeometry(settings.value(settingsKey::saveWorkstagesDialogGeometry).toByteArray());
        const bool accepted = dialog.exec() == QDialog::Accepted;
        settings.setValue(settingsKey::saveWorkstagesDialogGeometry, dialog.saveGeometry());
        if (accepted) {
            settings.setValue(settingsKey::saveWorkstagesDialogReduction, int(dialog.reduction()));
            choice = WorkstagesChoice {dialog.count(), dialog.reduction()};
        }
    }
    if (!choice) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }
    bool includeBorders = false;
    if (canvasShowsBorderFrame(project.mode(), project.size(), project.layout())) {
        const auto [answered, include] = askIncludeBorders(*this, tr("Save Workstages"), cancelled);
        if (!answered)
            return;
        includeBorders = include;
    }
    const QString startDir = lastDirForKey(settings, settingsKey::lastWorkstagesDir);
    const QString folder = m_prompts.chooseWorkstagesFolder
        ? m_prompts.chooseWorkstagesFolder(startDir)
        : QFileDialog::getExistingDirectory(this, tr("Save Workstages"), startDir, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        showStatusMessage(cancelled, statusTimeout);
        return;
    }

    const WorkstageFrameJob job = workstageFrameJob(project, choice->count, choice->reduction, includeBorders,
        folder, suggestedExportBaseName(*this));
    const Colormap current = project.colormap();
    const History history = detachedHistory(project.history());
    const WorkstageColors colors = workstageColorsOf(project);
    WorkstageFramesResult frames;
    runProjectFileTask(tr("Saving workstages..."), [&](const ProjectFileProgress& progress) {
        WorkstageReplayer replayer(current, history, colors);
        frames = writeWorkstageFrames(replayer, job, progress);
        return frames.ok() ? ProjectFileResult::success() : ProjectFileResult::cancellation();
    });

    if (!frames.failedPath.isEmpty()) {
        warnUser(tr("Could not save %1.").arg(QDir::toNativeSeparators(frames.failedPath)), frames.error);
        return;
    }
    if (frames.written < frames.planned) {
        showStatusMessage(frames.written == 0 ? cancelled
                                              : tr("Saving workstages cancelled after %1 of %2 frames.")
                                                    .arg(frames.written)
                                                    .arg(frames.planned),
            statusTimeout);
        return;
    }
    settings.setValue(settingsKey::lastWorkstagesDir, QDir(folder).absolutePath());
    showStatusMessage(tr("Saved %1 workstage frames to %2.").arg(frames.written).arg(QDir(folder).dirName()),
        statusTimeout);
}
