#pragma once

#include "model/history_entry.h"
#include "paint/brush.h"
#include "paint/flood_fill.h"
#include "paint/symmetry.h"
#include "paint/texture.h"
#include "paint/texture_mode.h"

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>

#include <optional>

class CanvasTool;
class Colormap;
class Project;
struct StagedShape;

// What a tool sees of the view that hosts it: the paint settings and input state the view
// keeps, painting and recording into the document, and the view plumbing (repaints,
// cursors, coordinates). The canvas view implements it; a test can hand a tool a small
// fake instead, and the canvas widget's own API stays for the window.
class CanvasToolHost {
public:
    virtual ~CanvasToolHost() = default;

    virtual Project& project() const = 0;
    virtual CanvasTool* activeTool() const = 0;

    // Paint settings.
    virtual uchar penIndex() const = 0;
    virtual uchar secondaryIndex() const = 0;
    virtual const Brush& brush() const = 0;
    virtual bool pressureWidening() const = 0;
    virtual bool antialiasedStrokes() const = 0;
    virtual const Texture& texture() const = 0;
    virtual TextureMode textureMode() const = 0;
    virtual bool contourApplies() const = 0;
    virtual ContourPlacement contourPlacement() const = 0;
    virtual bool fillPreviewEnabled() const = 0;
    virtual SymmetryMode symmetryMode() const = 0;
    virtual const SymmetryAxes& symmetryAxes() const = 0;
    virtual void setSymmetryAxes(const SymmetryAxes& axes) = 0;
    virtual uchar blankIndex() const = 0;

    // Input state kept by the view.
    virtual bool shiftHeld() const = 0;
    virtual bool canvasAlignHeld() const = 0;
    virtual bool peekSecondaryHeld() const = 0;
    virtual bool altSampleHeld() const = 0;
    virtual bool tabletDown() const = 0;
    virtual double tabletPressure() const = 0;
    virtual QPoint hoverPixel() const = 0;
    virtual bool hoverValid() const = 0;
    virtual bool strokeInProgress() const = 0;
    virtual bool viewNavigationActive() const = 0;

    // Painting and recording: one gesture, one history entry.
    virtual void beginColormapStroke() = 0;
    virtual void endColormapStroke(HistoryEntryKind kind, const std::optional<QPoint>& anchor) = 0;
    virtual bool recordedEditOpen() const = 0;
    virtual void captureBeforeArea(const QRect& rect, bool twice) = 0;
    virtual QRect strokeDirtyRect() const = 0;
    virtual void growStrokeDirtyRect(const QRect& rect) = 0;
    virtual std::optional<QPoint> connectAnchor() const = 0;
    virtual QRect applySymmetricStrokeSegment(Colormap& colormap, const Brush& brush, QPoint from, QPoint to,
        uchar colour, uchar altColour, bool record)
        = 0;
    virtual QRect applySymmetricFloodFill(
        Colormap& colormap, QPoint pixel, uchar colour, uchar altColour, bool record)
        = 0;
    virtual QRect applySymmetricContour(Colormap& colormap, QPoint pixel, uchar colour, uchar altColour,
        ContourPlacement placement, bool record)
        = 0;
    virtual QRect applySymmetricShape(Colormap& colormap, const StagedShape& shape, bool record) = 0;
    virtual void samplePenColor(QPoint pixel, bool secondary) = 0;

    // Previews on copies of the document.
    virtual Colormap& simulationColormap(const Brush& brush, QPoint from, QPoint to) = 0;
    virtual Colormap& fillSimulationColormap() = 0;
    virtual QRect previewViewRect(const Brush& brush, QPoint from, QPoint to) const = 0;
    virtual QImage renderSimulatedDiff(const Colormap& simulated, const QRect& rect) const = 0;
    virtual void refreshHoverPreview() = 0;

    // View plumbing.
    virtual QRect viewRect() const = 0;
    virtual QPoint viewToCanvasPixel(QPointF viewPoint) const = 0;
    virtual QPointF viewToDisplayPoint(QPointF viewPoint) const = 0;
    virtual QPointF displayToViewPoint(QPointF displayPoint) const = 0;
    virtual QRect canvasRectToView(const QRect& canvasRect) const = 0;
    virtual void startViewPan(QPointF position) = 0;
    virtual void restoreIdleCursor() = 0;
    virtual void setHostCursor(const QCursor& cursor) = 0;
    virtual void hostUpdate() = 0;
    virtual void hostUpdate(const QRect& viewRect) = 0;
    // Repaints old and new, then keeps the new one.
    virtual void refreshTrackedRect(QRect& tracked, const QRect& next) = 0;
    // Re-renders a canvas rectangle of the display image from the colormap.
    virtual void refreshDisplayRegion(const QRect& canvasRect) = 0;
    virtual void notifyHistoryChanged() = 0;
    virtual void notifySelectionChanged() = 0;
};
