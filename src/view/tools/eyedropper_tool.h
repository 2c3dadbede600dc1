#pragma once

#include "view/tools/canvas_tool.h"

// Takes the colour under the pointer as the pen colour (left button) or the secondary
// colour (right button), at the press and all along the drag. Paints nothing.
class EyedropperTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;

    void activate() override;
    QCursor idleCursor() const override;
    bool acceptsGesture(const Gesture& gesture) const override;
    void onGestureBegin(const Gesture& gesture) override;
    void onGestureUpdate(const Gesture& gesture) override;
};
