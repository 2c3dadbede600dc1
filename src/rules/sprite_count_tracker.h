#pragma once

#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"
#include "rules/clash_context.h"

#include <QBitArray>
#include <QList>
#include <QPoint>

class Colormap;

// Keeps one paint application from starting a 9th sprite in a top or bottom border. It reads
// the canvas being painted lazily, the first time a border is asked about, and then follows
// the paint through notePainted(), so a sprite the paint has just started counts at once.
// Built for one paint application and discarded after it.
class SpriteCountTracker {
public:
    struct StripState {
        CanvasRegion region;
        SpriteStripGrid grid;
        uchar background = 0;
        // One bit per sprite column. Free-sized and loaded canvases can have top and bottom
        // strips wider than one screen, so the mask grows with the grid.
        QBitArray occupied;
        int occupiedCount = 0;
        bool seeded = false;
    };

    // Without top and bottom strips the tracker holds nothing and refuses nothing.
    SpriteCountTracker(const ClashContext& ctx, const Colormap& colormap);

    const QList<StripState>& strips() const { return m_strips; }

    // The first strip containing the point and the point's sprite column in it.
    bool locate(const QPoint& point, int* strip, int* column) const;
    void seed(StripState& strip);

    // Whether painting `index` at the point would start a sprite beyond the budget. Paint in
    // a column already occupied is never refused, even in a 9th one: only new sprites are
    // stopped. Painting the border's background never is either.
    bool vetoPaint(const QPoint& point, uchar index);
    // Call after a pixel has landed.
    void notePainted(const QPoint& point, uchar index);

private:
    const Colormap& m_colormap;
    QList<StripState> m_strips;
};
