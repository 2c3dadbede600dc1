#include "formats/image/canvas_border_frame.h"

#include "document/project.h"
#include "model/canvas_region.h"
#include "model/palette.h"

#include <QPainter>

BorderFrameSource borderFrameSourceOf(const Project& project)
{
    return {project.mode(), project.size(), project.layout()};
}

uchar canvasFrameColorIndex(const BorderFrameSource& source, const ColorSlots& slots)
{
    if (isMulticolor(source.mode) && source.layout.layout == CanvasLayout::SideBorders)
        return slots[HistoryColorSlot::Background];
    return slots[HistoryColorSlot::Border];
}

void paintCanvasBorderFrame(
    QPainter& painter, const BorderFrameSource& source, const Palette& palette, uchar frameColorIndex)
{
    if (!canvasShowsBorderFrame(source.mode, source.canvasSize, source.layout))
        return;
    const QRect frame = canvasBorderFrameRect(source.mode, source.canvasSize, source.layout);
    painter.fillRect(frame, QColor::fromRgb(palette.colorAt(frameColorIndex)));
    if (source.layout.layout != CanvasLayout::TopBottomBorders)
        return;
    const QColor black = QColor::fromRgb(palette.colorAt(0));
    painter.fillRect(QRect(QPoint(frame.left(), frame.top()), QPoint(frame.right(), -1)), black);
    painter.fillRect(QRect(QPoint(frame.left(), source.canvasSize.height()), frame.bottomRight()), black);
}

QImage canvasImageWithBorderFrame(
    const BorderFrameSource& source, const Palette& palette, uchar frameColorIndex, const QImage& canvasImage)
{
    if (!canvasShowsBorderFrame(source.mode, source.canvasSize, source.layout))
        return canvasImage;
    const QRect frame = canvasBorderFrameRect(source.mode, source.canvasSize, source.layout);
    QImage framed(frame.size(), QImage::Format_RGB32);
    QPainter painter(&framed);
    painter.translate(-frame.topLeft());
    paintCanvasBorderFrame(painter, source, palette, frameColorIndex);
    painter.drawImage(QPoint(0, 0), canvasImage);
    painter.end();
    return framed;
}
