#pragma once

#include "formats/project/project_file_result.h"

class Project;
class QIODevice;
class QString;

// Writes the whole document, history included, in the current format to an open device.
// The project is only read; a save on a worker thread gets a copy of its own.
ProjectFileResult saveProjectFile(
    const Project& project, QIODevice* device, const ProjectFileProgress& progress);

// Saves through a temporary file that replaces `path` only once everything is written, so
// a failed or cancelled save leaves the previous file as it was.
ProjectFileResult saveProjectFile(
    const Project& project, const QString& path, const ProjectFileProgress& progress);
