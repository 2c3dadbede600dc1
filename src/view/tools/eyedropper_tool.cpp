#include "view/tools/eyedropper_tool.h"

#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

void EyedropperTool::activate()
{
    host().restoreIdleCursor();
    host().refreshHoverPreview();
}

QCursor EyedropperTool::idleCursor() const
{
    return ToolCursors::picker();
}

bool EyedropperTool::acceptsGesture(const Gesture& gesture) const
{
    return (gesture.button == Qt::LeftButton || gesture.button == Qt::RightButton)
        && !host().strokeInProgress();
}

void EyedropperTool::onGestureBegin(const Gesture& gesture)
{
    host().samplePenColor(gesture.pixel, gesture.button == Qt::RightButton);
}

void EyedropperTool::onGestureUpdate(const Gesture& gesture)
{
    onGestureBegin(gesture);
}
