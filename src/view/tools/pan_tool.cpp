#include "view/tools/pan_tool.h"

#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

#include <QMouseEvent>

void PanTool::activate()
{
    host().restoreIdleCursor();
    host().refreshHoverPreview();
}

bool PanTool::mousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || host().strokeInProgress())
        return false;
    host().startViewPan(event->position());
    return true;
}

QCursor PanTool::idleCursor() const
{
    return ToolCursors::panArmed();
}
