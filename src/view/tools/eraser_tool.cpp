#include "view/tools/eraser_tool.h"

#include "view/canvas_area.h"
#include "view/tool_cursors.h"

void EraserTool::activate()
{
    DrawTool::activate();
}

void EraserTool::deactivate()
{
    clearHoverPreview();
}

QCursor EraserTool::idleCursor() const
{
    return ToolCursors::eraser();
}

uchar EraserTool::strokeColorFor(bool) const
{
    return host().blankIndex();
}

uchar EraserTool::strokeAltColorFor(bool) const
{
    return host().blankIndex();
}
