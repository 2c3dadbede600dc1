#pragma once

#include "paint/symmetry.h"
#include "view/tools/canvas_tool.h"

// "Move Axes": drags the symmetry axes of the canvas view. The mirror modes grab an axis
// near the pointer; the turning modes have every line through the intersection, so a
// drag anywhere moves the intersection. Clicks never paint while the tool is active.
class SymmetryTool : public CanvasTool {
public:
    enum class Grab {
        None,
        HorizontalAxis,
        VerticalAxis,
        BothAxes,
    };

    using CanvasTool::CanvasTool;

    void activate() override;
    void deactivate() override;
    QCursor idleCursor() const override;
    bool acceptsGesture(const Gesture& gesture) const override;
    bool mouseMove(QMouseEvent* event) override;
    void onGestureBegin(const Gesture& gesture) override;
    void onGestureUpdate(const Gesture& gesture) override;

    // What a press at this view point would move.
    Grab grabAt(QPointF viewPoint) const;
    void updateHoverCursor(Grab grab);
    void applyDrag(QPointF viewPoint);

private:
    Grab m_grab = Grab::None;
    QPointF m_pressedCanvasPoint;
    SymmetryAxes m_pressedAxes;
};
