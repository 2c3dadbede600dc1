#include "view/tools/eyedropper_tool.h"

#include "view/canvas_area.h"
#include "view/tool_cursors.h"

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
