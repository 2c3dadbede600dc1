#pragma once

#include <QtGlobal>

// Where a canvas keeps its border sprites. Stored in project files.
enum class CanvasLayout : quint8 {
    BitmapOnly = 0,
    SideBorders = 1,
    TopBottomBorders = 2,
};

// Which bitmap edge a top or bottom border's sprite grid hugs.
enum class SpriteAlignment : quint8 {
    Left = 0,
    Right = 1,
};

struct CanvasLayoutSpec {
    CanvasLayout layout = CanvasLayout::BitmapOnly;
    SpriteAlignment topAlignment = SpriteAlignment::Left;
    SpriteAlignment bottomAlignment = SpriteAlignment::Left;

    friend bool operator==(const CanvasLayoutSpec&, const CanvasLayoutSpec&) = default;
};
