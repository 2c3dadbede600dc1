// The canvas view's picture as a file or on paper.

#include "document/project.h"
#include "formats/image/canvas_export_image.h"
#include "view/canvas_area.h"
#include "view/canvas_printing.h"

#include <QPrintDialog>
#include <QPrinter>

QImage CanvasArea::exportImage(bool includeBorders) const
{
    return canvasExportImage(*m_project, m_project->palette(), includeBorders);
}

bool CanvasArea::saveImage(
    const QString& path, const QByteArray& format, bool includeBorders, QString* error) const
{
    return writeImageFile(exportImage(includeBorders), path, format, error);
}

void CanvasArea::print()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printImage(printer, exportImage(false));
}
