#include "view/tool_cursors.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QtDebug>

namespace {

// Screens with more than one device pixel per point take the double-resolution image,
// so the cursor stays sharp and the same size on screen.
QCursor loadCursor(const char* name, int hotX, int hotY)
{
    const QString base = QStringLiteral(":/cursors/%1").arg(QLatin1String(name));
    const bool dense = qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
    QPixmap pixmap;
    if (dense && pixmap.load(base + QStringLiteral("@2x.png")))
        pixmap.setDevicePixelRatio(2.0);
    else if (!pixmap.load(base + QStringLiteral(".png"))) {
        qWarning("ToolCursors: %s did not load; falling back to the arrow cursor",
            qPrintable(base + QStringLiteral(".png")));
        return QCursor(Qt::ArrowCursor);
    }
    return QCursor(pixmap, hotX, hotY);
}

} // namespace

namespace ToolCursors {

QCursor pen()
{
    return loadCursor("pen", 3, 20);
}

QCursor crosshair()
{
    return loadCursor("crosshair", 11, 11);
}

QCursor drag()
{
    return loadCursor("drag", 2, 2);
}

QCursor eraser()
{
    return loadCursor("eraser", 4, 18);
}

QCursor fill()
{
    return loadCursor("fill", 18, 19);
}

QCursor panArmed()
{
    return loadCursor("pan", 12, 12);
}

QCursor panDragging()
{
    return loadCursor("pan", 12, 12);
}

QCursor picker()
{
    return loadCursor("picker", 3, 20);
}

QCursor rotate()
{
    return loadCursor("rotate", 11, 11);
}

} // namespace ToolCursors
