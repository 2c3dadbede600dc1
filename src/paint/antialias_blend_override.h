#pragma once

#include <QList>
#include <QtGlobal>

// A paint colour that must never blend into an underlying colour: its anti-aliased edge
// switches hard from the underlying colour to the paint colour at half coverage.
struct AntialiasBlendOverride {
    uchar paint = 0;
    uchar underlying = 0;

    friend bool operator==(const AntialiasBlendOverride&, const AntialiasBlendOverride&) = default;
};

// Blue over black: measured plainly (Euclidean) the mix lands on dark grey in most palettes,
// a fringe that reads as dirt around a blue shape rather than as a softer edge.
const QList<AntialiasBlendOverride>& defaultAntialiasBlendOverrides();
