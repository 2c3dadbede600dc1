#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)

// Rows "mode", "layout" and "screens" for every shape a canvas of whole screens takes:
// one and two bitmap screens, side borders, and top/bottom borders aligned either way.
inline void addEveryCanvasShape()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayoutSpec>("layout");
    QTest::addColumn<int>("screens");
    for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
        const char* modeName = isMulticolor(mode) ? "multicolor" : "hires";
        QTest::addRow("%s bitmap", modeName) << mode << CanvasLayoutSpec {} << 1;
        QTest::addRow("%s two screens", modeName) << mode << CanvasLayoutSpec {} << 2;
        QTest::addRow("%s side borders", modeName)
            << mode << CanvasLayoutSpec {CanvasLayout::SideBorders} << 1;
        QTest::addRow("%s top-bottom left", modeName)
            << mode << CanvasLayoutSpec {CanvasLayout::TopBottomBorders} << 1;
        QTest::addRow("%s top-bottom right", modeName) << mode
                                                       << CanvasLayoutSpec {CanvasLayout::TopBottomBorders,
                                                              SpriteAlignment::Right, SpriteAlignment::Right}
                                                       << 1;
    }
}
