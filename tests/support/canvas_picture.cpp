#include "support/canvas_picture.h"

namespace {

QString compact(const QString& row)
{
    QString result = row;
    result.remove(QLatin1Char(' '));
    return result;
}

uchar hexDigit(QChar c)
{
    return uchar(QString(c).toUInt(nullptr, 16));
}

} // namespace

Colormap screenCanvas(CanvasMode mode, const CanvasLayoutSpec& layout, uchar color)
{
    const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
    Colormap canvas(size.width(), size.height());
    canvas.fill(color);
    return canvas;
}

Colormap canvasFromRows(const QStringList& rows)
{
    int width = 0;
    for (const QString& row : rows)
        width = std::max(width, int(compact(row).size()));
    Colormap canvas(width, int(rows.size()));
    drawRows(canvas, QPoint(0, 0), rows);
    return canvas;
}

void drawRows(Colormap& canvas, const QPoint& topLeft, const QStringList& rows)
{
    for (int y = 0; y < rows.size(); ++y) {
        const QString row = compact(rows[y]);
        for (int x = 0; x < row.size(); ++x)
            canvas.setPixel(topLeft.x() + x, topLeft.y() + y, hexDigit(row[x]));
    }
}

QString canvasToRows(const Colormap& canvas, const QRect& rect)
{
    const QRect area = rect.isNull() ? canvas.rect() : rect;
    QStringList rows;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QString row;
        for (int x = area.left(); x <= area.right(); ++x)
            row += QString::number(canvas.pixel(x, y), 16);
        rows << row;
    }
    return rows.join(QLatin1Char('\n'));
}

QString rowsText(const QStringList& rows)
{
    QStringList compacted;
    for (const QString& row : rows)
        compacted << compact(row);
    return compacted.join(QLatin1Char('\n'));
}
