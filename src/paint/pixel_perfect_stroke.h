#pragma once

#include <QList>
#include <QPoint>

#include <optional>

// Thins a freehand single-pixel stroke into a clean staircase. The mouse reports every
// pixel it crosses, so a path that turns a right angle passes through the corner pixel
// and leaves an L-shaped lump; the chain holds the newest pixel back until the next one
// shows whether it was such a corner, and drops it if so.
class PixelPerfectStroke {
public:
    void begin(QPoint p);
    // One 8-neighbour step of the path; pixels that are certain go to `out`.
    void step(QPoint p, QList<QPoint>& out);
    // Walks from the pending pixel to p in 8-neighbour steps.
    QList<QPoint> moveTo(QPoint p);
    // Hands out the pixel still held back and ends the stroke.
    QList<QPoint> finish();

    // The provisional pixel under the cursor: previewed, but painted only once emitted.
    std::optional<QPoint> pending() const;

private:
    QPoint m_committed;
    QPoint m_pending;
    bool m_hasCommitted = false;
    bool m_hasPending = false;
};
