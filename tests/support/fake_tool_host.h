#pragma once

#include "document/project.h"
#include "model/colormap.h"
#include "paint/staged_shape.h"
#include "view/tools/canvas_tool_host.h"

#include <QList>

#include <cmath>

// A host for a tool under test: no widget, a view at a fixed zoom of four screen pixels per
// canvas pixel, and a log of what the tool asked for.
class FakeToolHost final : public CanvasToolHost {
public:
    static constexpr double zoom = 4.0;

    struct Sample {
        QPoint pixel;
        bool secondary = false;
    };

    QList<Sample> samples;
    QList<QPointF> panStarts;
    bool stroking = false;
    int idleCursorRestores = 0;
    CanvasTool* active = nullptr;

    Project& project() const override { return m_project; }
    CanvasTool* activeTool() const override { return active; }

    uchar penIndex() const override { return 1; }
    uchar secondaryIndex() const override { return 0; }
    const Brush& brush() const override { return m_brush; }
    bool pressureWidening() const override { return true; }
    bool antialiasedStrokes() const override { return false; }
    const Texture& texture() const override { return m_texture; }
    TextureMode textureMode() const override { return TextureMode::Stencil; }
    bool contourApplies() const override { return false; }
    ContourPlacement contourPlacement() const override { return ContourPlacement::Center; }
    bool fillPreviewEnabled() const override { return false; }
    SymmetryMode symmetryMode() const override { return SymmetryMode::None; }
    const SymmetryAxes& symmetryAxes() const override { return m_axes; }
    void setSymmetryAxes(const SymmetryAxes& axes) override { m_axes = axes; }
    uchar blankIndex() const override { return 0; }

    bool shiftHeld() const override { return false; }
    bool canvasAlignHeld() const override { return false; }
    bool peekSecondaryHeld() const override { return false; }
    bool altSampleHeld() const override { return false; }
    bool tabletDown() const override { return false; }
    double tabletPressure() const override { return 0.0; }
    QPoint hoverPixel() const override { return {}; }
    bool hoverValid() const override { return false; }
    bool strokeInProgress() const override { return stroking; }
    bool viewNavigationActive() const override { return false; }

    void beginColormapStroke() override { }
    void endColormapStroke(HistoryEntryKind, const std::optional<QPoint>&) override { }
    bool recordedEditOpen() const override { return false; }
    void captureBeforeArea(const QRect&, bool) override { }
    QRect strokeDirtyRect() const override { return {}; }
    void growStrokeDirtyRect(const QRect&) override { }
    std::optional<QPoint> connectAnchor() const override { return std::nullopt; }
    QRect applySymmetricStrokeSegment(Colormap&, const Brush&, QPoint, QPoint, uchar, uchar, bool) override
    {
        return {};
    }
    QRect applySymmetricFloodFill(Colormap&, QPoint, uchar, uchar, bool) override { return {}; }
    QRect applySymmetricContour(Colormap&, QPoint, uchar, uchar, ContourPlacement, bool) override
    {
        return {};
    }
    QRect applySymmetricShape(Colormap&, const StagedShape&, bool) override { return {}; }
    void samplePenColor(QPoint pixel, bool secondary) override { samples.append({pixel, secondary}); }

    Colormap& simulationColormap(const Brush&, QPoint, QPoint) override { return m_simulation; }
    Colormap& fillSimulationColormap() override { return m_simulation; }
    QRect previewViewRect(const Brush&, QPoint, QPoint) const override { return {}; }
    QImage renderSimulatedDiff(const Colormap&, const QRect&) const override { return {}; }
    void refreshHoverPreview() override { }

    QRect viewRect() const override { return {0, 0, 1280, 800}; }
    QPoint viewToCanvasPixel(QPointF viewPoint) const override
    {
        return {int(std::floor(viewPoint.x() / zoom)), int(std::floor(viewPoint.y() / zoom))};
    }
    QPointF viewToDisplayPoint(QPointF viewPoint) const override { return viewPoint / zoom; }
    QPointF displayToViewPoint(QPointF displayPoint) const override { return displayPoint * zoom; }
    QRect canvasRectToView(const QRect& canvasRect) const override
    {
        return {canvasRect.topLeft() * int(zoom), canvasRect.size() * int(zoom)};
    }
    void startViewPan(QPointF position) override { panStarts.append(position); }
    void restoreIdleCursor() override { ++idleCursorRestores; }
    void setHostCursor(const QCursor&) override { }
    void hostUpdate() override { }
    void hostUpdate(const QRect&) override { }
    void refreshTrackedRect(QRect& tracked, const QRect& next) override { tracked = next; }
    void refreshDisplayRegion(const QRect&) override { }
    void notifyHistoryChanged() override { }
    void notifySelectionChanged() override { }

private:
    mutable Project m_project {CanvasMode::Hires, 0, 0, CanvasLayoutSpec {}, 1};
    Brush m_brush = Brush(1);
    Texture m_texture;
    SymmetryAxes m_axes;
    Colormap m_simulation;
};
