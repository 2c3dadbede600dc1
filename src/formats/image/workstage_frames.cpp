#include "formats/image/workstage_frames.h"

#include "document/project.h"
#include "formats/image/canvas_export_image.h"

WorkstageColors workstageColorsOf(const Project& project)
{
    return {project.slotIndex(HistoryColorSlot::Background), project.slotIndex(HistoryColorSlot::Border)};
}

WorkstageFrameJob workstageFrameJob(const Project& project, int count, WorkstageReduction reduction,
    bool includeBorders, const QString& folder, const QString& baseName)
{
    WorkstageFrameJob job;
    job.frame = borderFrameSourceOf(project);
    job.palette = project.palette();
    job.includeBorders = includeBorders;
    job.folder = folder;
    job.baseName = baseName;
    job.stages = workstageIndices(count, project.history().index() + 1, reduction);
    return job;
}

QString workstageFramePath(const QString& folder, const QString& baseName, int frame)
{
    return QStringLiteral("%1/%2-%3.png").arg(folder, baseName).arg(frame, 6, 10, QLatin1Char('0'));
}

QImage workstageFrameImage(
    const WorkstageFrameJob& job, const Colormap& colormap, const WorkstageColors& colors)
{
    ColorSlots frameSlots;
    frameSlots[HistoryColorSlot::Background] = colors.background;
    frameSlots[HistoryColorSlot::Border] = colors.border;
    return canvasExportImage(
        job.frame, job.palette, canvasFrameColorIndex(job.frame, frameSlots), colormap, job.includeBorders);
}

WorkstageFramesResult writeWorkstageFrames(
    WorkstageReplayer& replayer, const WorkstageFrameJob& job, const ProjectFileProgress& progress)
{
    WorkstageFramesResult result;
    result.planned = int(job.stages.size());
    for (int stage : job.stages) {
        if (progress && !progress(result.written, result.planned)) {
            result.cancelled = true;
            return result;
        }
        const QString path = workstageFramePath(job.folder, job.baseName, result.written);
        const QImage image = workstageFrameImage(job, replayer.colormapAt(stage), replayer.colorsAt(stage));
        if (!writeImageFile(image, path, "png", &result.error)) {
            result.failedPath = path;
            return result;
        }
        ++result.written;
    }
    if (progress)
        progress(result.written, result.planned);
    return result;
}
