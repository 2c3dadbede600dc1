#pragma once

#include "formats/image/canvas_border_frame.h"
#include "formats/project/project_file_result.h"
#include "model/palette.h"
#include "model/workstage_replayer.h"

#include <QList>
#include <QString>

class Project;

// Everything a time-lapse run needs besides the replayer, held by value so the run can
// go to a worker thread while the document stays with the window.
struct WorkstageFrameJob {
    BorderFrameSource frame;
    Palette palette;
    bool includeBorders = false;
    QString folder;
    QString baseName;
    QList<int> stages;
};

// What a run came to: `written` frames of `planned`; a failure names the file.
struct WorkstageFramesResult {
    int written = 0;
    int planned = 0;
    bool cancelled = false;
    QString failedPath;
    QString error;

    bool ok() const { return !cancelled && failedPath.isEmpty(); }
};

WorkstageColors workstageColorsOf(const Project& project);

// A job over the project's geometry and palette for `count` frames picked by `reduction`.
WorkstageFrameJob workstageFrameJob(const Project& project, int count, WorkstageReduction reduction,
    bool includeBorders, const QString& folder, const QString& baseName);

// "folder/base-000042.png": frames are numbered by the order they are written, so a
// stage shown twice still makes an unbroken sequence for a video encoder.
QString workstageFramePath(const QString& folder, const QString& baseName, int frame);

// One frame: the stage's pixels in the palette, framed in the stage's own border colour
// (a multicolor side-border canvas: its background) when asked, multicolor pixels doubled.
QImage workstageFrameImage(
    const WorkstageFrameJob& job, const Colormap& colormap, const WorkstageColors& colors);

// Writes the job's frames as PNG files in order, asking `progress` (frames done, frames
// planned) before each one; an answer of false stops the run and leaves the frames
// already written. Stops at the first file that cannot be written.
WorkstageFramesResult writeWorkstageFrames(
    WorkstageReplayer& replayer, const WorkstageFrameJob& job, const ProjectFileProgress& progress);
