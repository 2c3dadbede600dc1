#pragma once

#include "formats/project/project_file_result.h"

#include <functional>

class QString;
class QWidget;

// A project save or load, run on a worker thread. It reports through the progress
// callable and stops when that answers false.
using ProjectFileTask = std::function<ProjectFileResult(const ProjectFileProgress& progress)>;

// Runs the task on the global thread pool while this thread waits in a nested event
// loop: the window stays drawn, input reaches only the progress dialog, and the dialog
// (labelled `label`, over `parent`) appears only if the task takes longer than a moment.
// Cancelling is cooperative: the task sees it at its next progress call.
ProjectFileResult runProjectFileTaskBlocking(
    QWidget* parent, const QString& label, const ProjectFileTask& task);

// What opening a project came to.
enum class ProjectLoadResult { Opened = 0, Cancelled = 1, Failed = 2 };
