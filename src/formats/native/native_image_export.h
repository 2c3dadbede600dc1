#pragma once

#include "formats/native/native_image_format.h"

#include <QString>
#include <QStringList>

class Project;

// The files an export of `screens` screens writes for the chosen path: the path itself
// for one screen; for more, "NAME-0.SUFFIX", "NAME-1.SUFFIX", ... beside it, numbered
// from the left (no suffix when the path has none).
QStringList nativeImageExportTargets(const QString& path, int screens);

// Why the canvas cannot be written as `format`: a format it cannot write, a picture of
// the other mode, or a canvas that is not a row of whole bitmap-only screens. Empty
// when it can. Clashes are the caller's question.
QString nativeImageExportRefusal(const Project& project, NativeImageFormat format);

struct NativeImageExportResult {
    bool ok = false;
    QString error;
    // The files written, in screen order; on a failure those written before it, which stay.
    QStringList written;
};

// Writes every screen of the canvas in the mode's picture format to the targets of
// `path`, each file replaced whole or not at all, stopping at the first failure. The
// canvas must be exportable (nativeImageExportRefusal).
NativeImageExportResult writeNativeImageFiles(const Project& project, const QString& path);
