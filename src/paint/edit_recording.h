#pragma once

#include "model/colormap.h"
#include "model/history_entry.h"

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <optional>

class Project;

// Turns everything one gesture paints into one history entry. Before a paint touches an
// area, the area's pixels as they were before the gesture are copied into the
// before-image, once per gesture however often the stroke crosses it; at the end the
// before-image and the document are compared over the rectangle the gesture changed. So
// recording costs what the gesture touched, never what the canvas holds.
class EditRecording {
public:
    // Starts a gesture on a canvas of the given size; the before-image is re-made only
    // when the size changed.
    void begin(QSize canvasSize);
    bool isOpen() const { return m_open; }

    // Makes sure the before-image holds the document's pixels over everything a paint of
    // `paintRect` may change (grown once more when `twice`, for paints that sweep their
    // surroundings). Call before the paint.
    void captureBeforeArea(const Project& project, const QRect& paintRect, bool twice);

    QRect dirtyRect() const { return m_dirty; }
    // A null rectangle is replaced, anything else is united.
    void growDirtyRect(const QRect& rect);

    // Closes the gesture: the entry holds one region change with the bounding rectangle of
    // the pixels that differ and their crops before and after, or no change at all.
    HistoryEntry finish(const Project& project, HistoryEntryKind kind, std::optional<QPoint> anchor);

private:
    void copyUncaptured(const Colormap& document, const QRect& area);

    Colormap m_before;
    QRegion m_captured;
    QRect m_dirty;
    bool m_open = false;
};
