#include "view/tools/eraser_tool.h"

#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

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
