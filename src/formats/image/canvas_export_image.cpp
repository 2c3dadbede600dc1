#include "formats/image/canvas_export_image.h"

#include "document/project.h"
#include "formats/atomic_file_write.h"
#include "formats/image/canvas_border_frame.h"

#include <QImageWriter>

#include <cmath>

QImage canvasExportImage(const Project& project, const Palette& palette, bool includeBorders)
{
    const BorderFrameSource source = borderFrameSourceOf(project);
    return canvasExportImage(source, palette, canvasFrameColorIndex(source, project.colorSlots()),
        project.colormap(), includeBorders);
}

QImage canvasExportImage(const BorderFrameSource& source, const Palette& palette, uchar frameColorIndex,
    const Colormap& colormap, bool includeBorders)
{
    QImage image = colormap.toImage(palette);
    if (includeBorders)
        image = canvasImageWithBorderFrame(source, palette, frameColorIndex, image);
    const int widthFactor = int(std::lround(canvasModePixelAspect(source.mode)));
    if (widthFactor >= 2)
        image = image.scaled(
            image.width() * widthFactor, image.height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image;
}

bool writeImageFile(const QImage& image, const QString& path, const QByteArray& format, QString* error)
{
    return writeFileAtomically(
        path,
        [&](QIODevice& device, QString* message) {
            QImageWriter writer(&device, format);
            if (writer.write(image))
                return true;
            *message = writer.errorString();
            return false;
        },
        error);
}
