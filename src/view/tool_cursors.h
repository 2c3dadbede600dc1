#pragma once

#include <QCursor>

// The editor's own cursors, each drawn with its hot spot on the pixel it acts on.
namespace ToolCursors {

QCursor pen();
QCursor crosshair();
QCursor drag();
QCursor eraser();
QCursor fill();
QCursor panArmed();
QCursor panDragging();
QCursor picker();
QCursor rotate();

} // namespace ToolCursors
