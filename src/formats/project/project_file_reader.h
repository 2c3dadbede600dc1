#pragma once

#include "formats/project/project_file_result.h"

class Project;
class QIODevice;
class QString;

// Reads a version 10 or 11 project, history included, from an open device. The target is
// replaced only when the whole file has been read and checked; on a failure or a
// cancellation it is left exactly as it was. The loaded project counts as unmodified.
ProjectFileResult loadProjectFile(QIODevice* device, Project* target, const ProjectFileProgress& progress);
ProjectFileResult loadProjectFile(const QString& path, Project* target, const ProjectFileProgress& progress);
