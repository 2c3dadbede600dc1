#pragma once

#include "formats/native/native_image_format.h"

#include <QRect>
#include <QString>

class Project;
struct NativeImage;

struct NativeImageImportResult {
    bool ok = false;
    QString error;
    // The canvas pixels that changed; null when only colours or nothing changed.
    QRect changed;
};

// The warning for a picture of the other mode than the canvas, naming the format; empty
// when the modes agree.
QString nativeImageModeMismatch(NativeImageFormat format, CanvasMode canvasMode);

// Import Image as one undoable edit: places the picture into a screen of the canvas,
// numbered from the left, and takes its colours the way the document's image import
// does. A picture of the other mode, or a screen the canvas does not have, changes
// nothing and reports why.
NativeImageImportResult importNativeImage(Project& project, const NativeImage& image, int targetScreen);
