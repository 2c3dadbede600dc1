#pragma once

#include "view/tools/draw_tool.h"

// The pen painting the blank colour with both buttons: the background on a multicolor
// canvas, the secondary colour on a hires one.
class EraserTool : public DrawTool {
public:
    using DrawTool::DrawTool;

    void activate() override;
    void deactivate() override;
    QCursor idleCursor() const override;
    uchar strokeColorFor(bool secondary) const override;
    uchar strokeAltColorFor(bool secondary) const override;
};
