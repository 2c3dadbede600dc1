#pragma once

#include <QFlags>
#include <QPolygon>
#include <QRegion>

// How a new marquee meets what is already selected.
enum class SelectionCompose : int {
    Replace = 0,
    Add = 1,
    Subtract = 2,
    Intersect = 3,
};

// Shift+Alt intersects, Shift adds, Alt subtracts, no modifier replaces.
SelectionCompose selectionComposeForModifiers(QFlags<Qt::KeyboardModifier> modifiers);
QRegion composeSelection(const QRegion& base, const QRegion& operand, SelectionCompose compose);

// Mirrors a region of canvas pixels about its own bounding rectangle, so the shape stays
// where it was and a second mirror gives the same pixels back.
QRegion mirrorSelectionRegion(const QRegion& region, Qt::Orientation orientation);

// The pixels a lasso outlined, on a grid of canvas pixels: the winding interior of the
// closed polygon plus every pixel of its outline, so a lasso that only traced a line
// still selects the pixels it went over.
QRegion lassoToRegion(const QPolygon& points);
