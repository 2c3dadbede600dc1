#pragma once

#include "view/tools/canvas_tool.h"

// Drags the view with the left button. Other buttons fall through to the pen, so a right
// drag still paints with the secondary colour.
class PanTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;

    void activate() override;
    bool mousePress(QMouseEvent* event) override;
    QCursor idleCursor() const override;
};
