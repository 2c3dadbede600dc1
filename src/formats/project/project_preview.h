#pragma once

#include "model/canvas_mode.h"
#include "model/colormap.h"

#include <QImage>
#include <QSize>
#include <QString>

class Palette;
class QIODevice;

// What a file chooser or a tooltip shows of a project without loading its history.
struct ProjectFilePreview {
    CanvasMode mode = CanvasMode::Hires;
    Colormap colormap;
    int screensAcross = 1;
    int recordCount = 0;
    int historyIndex = 0;
};

// Reads the header and the state record only, however long the history behind them.
bool readProjectFilePreview(QIODevice* device, ProjectFilePreview* preview, QString* error);
// When the file cannot be opened the error is the system's reason alone.
bool readProjectFilePreview(const QString& path, ProjectFilePreview* preview, QString* error);

// The canvas as the C64 shows it: multicolor pixels are twice as wide as they are tall.
QImage projectFilePreviewImage(const ProjectFilePreview& preview, const Palette& palette);

// The largest whole-number enlargement of the image that fits; an image larger than the
// space is shrunk to fit, keeping its shape.
QSize previewDisplaySize(const QSize& image, const QSize& available);
// Smooth only when shrinking, so enlarged pixels stay crisp.
QImage scaledPreviewImage(const QImage& image, const QSize& size);
// "Multicolor, 320 x 200, 2 screens, 13 workstages".
QString projectFilePreviewCaption(const ProjectFilePreview& preview, const QSize& displaySize);
