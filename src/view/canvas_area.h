#pragma once

#include "model/color_distance.h"
#include "model/history_entry.h"
#include "paint/antialias_blend_override.h"
#include "paint/antialias_lut.h"
#include "paint/antialias_stroke_state.h"
#include "paint/brush.h"
#include "paint/edit_recording.h"
#include "paint/flood_fill.h"
#include "paint/footprint_mask.h"
#include "paint/paint_application.h"
#include "paint/staged_shape.h"
#include "paint/symmetry.h"
#include "paint/texture.h"
#include "paint/texture_mode.h"
#include "rules/clash_context.h"
#include "view/tools/canvas_tool_host.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRegion>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class CanvasTool;
class Colormap;
class DrawTool;
class EraserTool;
class EyedropperTool;
class FillTool;
class PanTool;
class SelectTool;
enum class SelectionTool : int;
class ShapeTool;
class SymmetryTool;
class Project;

// The widget that shows the canvas and that the user paints on. Pixels are shown at
// their emulated display shape (a multicolor pixel twice as wide as a row is high, PAL
// and NTSC stretching rows) and the view may be turned to any angle; zoom steps are
// whole factors and arrow-key pans move exactly one char cell, so the pixel grid stays
// exact whatever the user does with the view.
//
// The view owns one object of each tool and routes pointer and key events to the active
// one after its own pan and rotate gestures. The tools change the document through the
// operations below: every paint runs through the colour rules, and every gesture that
// paints is recorded as one history entry.
class CanvasArea : public QWidget, public CanvasToolHost {
    Q_OBJECT
    Q_PROPERTY(QColor backdropColor READ backdropColor WRITE setBackdropColor DESIGNABLE true)

public:
    explicit CanvasArea(std::shared_ptr<Project> project, QWidget* parent = nullptr);
    ~CanvasArea() override;

    Project& project() const override { return *m_project; }
    // A new or opened document replaces the old one whole.
    void setProject(std::shared_ptr<Project> project);
    void reloadProject();

    void zoomIn();
    void zoomOut();
    void zoomActualSize();
    void zoomBestFit();
    void stepZoom(int direction, QPointF anchor);
    void resetRotation();
    void resetRotationAndBestFit();
    void rotateDragTo(QPointF position, bool snap);
    void setDisplayPixelAspect(double aspect);
    bool panByArrowKey(int key);
    QPointF boundAnchorToCanvas(QPointF viewPoint) const;
    // Refused while any gesture or view drag is open; `button` is the one whose release ends it.
    void startPan(QPointF position, Qt::MouseButton button = Qt::LeftButton);

    bool bestFitActive() const { return m_bestFitActive; }
    bool bindZoomToCanvas() const { return m_bindZoomToCanvas; }
    void setBindZoomToCanvas(bool on) { m_bindZoomToCanvas = on; }
    bool invertZoomWheel() const { return m_invertZoomWheel; }
    void setInvertZoomWheel(bool on) { m_invertZoomWheel = on; }
    bool bilinearFiltering() const { return m_bilinearFiltering; }
    void setBilinearFiltering(bool on);

    // The reference layer: a tracing image over the artwork, free of the palette and the
    // colour rules, never painted into and never saved; a new document drops it.
    const QImage& referenceImage() const { return m_referenceImage; }
    void setReferenceImage(const QImage& image);
    bool referenceLayerVisible() const { return m_referenceVisible; }
    void setReferenceLayerVisible(bool on);
    int referenceLayerOpacity() const { return m_referenceOpacity; }
    void setReferenceLayerOpacity(int percent);
    void setSmoothImageScaling(bool on);
    QColor backdropColor() const { return m_backdropColor; }
    void setBackdropColor(const QColor& color);

    bool isPanning() const { return m_panning; }
    bool isRotating() const { return m_rotating; }
    QPoint hoverPixel() const override { return m_hoverPixel; }
    bool hoverValid() const override { return m_hoverValid; }
    bool tabletDown() const override { return m_tabletDown; }
    double tabletPressure() const override { return m_tabletPressure; }

    // Display coordinates: canvas x times the whole pixel width, canvas y divided by the
    // display pixel aspect. Brushes, symmetry and shapes are measured there.
    int pixelWidth() const;
    QPointF canvasToDisplayPoint(QPointF canvasPoint) const;
    QPointF displayToCanvasPoint(QPointF displayPoint) const;
    QPointF viewToDisplayPoint(QPointF viewPoint) const override;
    QPointF displayToViewPoint(QPointF displayPoint) const override;

    QRectF contentRect() const;
    QRect padViewRectForFiltering(const QRect& viewRect) const;
    QSize sizeHint() const override;

    // The canvas as an ordinary image the way the C64 shows it (multicolor pixels twice as
    // wide), inside its border frame when asked; the view's zoom, rotation and pixel shape
    // play no part.
    QImage exportImage(bool includeBorders) const;
    // Writes exportImage in a format the toolkit writes; `error` says why it could not.
    bool saveImage(
        const QString& path, const QByteArray& format, bool includeBorders, QString* error = nullptr) const;
    // The toolkit's print dialog, then the picture without borders on one page.
    void print();

    // Re-renders a part of the canvas (all of it for a null rectangle) after an edit.
    void refreshCanvasImage(const QRect& canvasRect = QRect());
    const QImage& displayImage() const { return m_displayImage; }

    // Tools.
    CanvasTool* activeTool() const override { return m_activeTool; }
    void setEraserToolActive(bool on);
    void setEyedropperToolActive(bool on);
    void setPanToolActive(bool on);
    void setFillToolActive(bool on);
    bool fillToolActive() const;
    void setShapeToolActive(bool on);
    bool shapeToolActive() const;
    ShapeTool& shapeTool() const { return *m_shapeTool; }
    bool eraserToolActive() const;
    bool eyedropperToolActive() const;
    bool panToolActive() const;

    // Selections: the select tool holds them, and they outlive a switch to another tool.
    SelectTool& selectTool() const { return *m_selectTool; }
    void setSelectionTool(SelectionTool kind);
    SelectionTool selectionTool() const;
    bool hasSelection() const;
    // A selection, or a floating selection being placed.
    bool selectionPresent() const;
    void selectAll();
    void deselect();
    void invertSelection();
    void flipSelection(Qt::Orientation orientation);
    void cutSelection();
    void copySelection();
    void notifySelectionChanged() override;

    // Paint settings.
    uchar penIndex() const override { return m_penIndex; }
    uchar secondaryIndex() const override { return m_secondaryIndex; }
    void setPenIndex(uchar index);
    void setSecondaryIndex(uchar index);
    const Brush& brush() const override { return m_brush; }
    void setPenWidth(int width);
    void setBrushShape(BrushShape shape);
    void setPixelPerfectStrokes(bool on);
    bool pressureWidening() const override { return m_pressureWidening; }
    void setPressureWidening(bool on);
    bool antialiasedStrokes() const override { return m_brush.antialiased(); }
    void setAntialiasedStrokes(bool on);
    void setAntialiasColorDistance(ColorDistanceMetric metric);
    void setAntialiasBlendOverrides(const QList<AntialiasBlendOverride>& overrides);
    const Texture& texture() const override { return m_texture; }
    void setTexture(const Texture& texture);
    TextureMode textureMode() const override { return m_textureMode; }
    void setTextureMode(TextureMode mode);

    // Modifier state kept by the view.
    bool shiftHeld() const override { return m_shiftHeld; }
    bool canvasAlignHeld() const override { return m_brushAlignment == BrushAlignment::Canvas; }
    bool peekSecondaryHeld() const override { return m_peekSecondaryHeld; }
    bool altSampleHeld() const override { return m_altHeld; }
    bool strokeInProgress() const override;
    // A pan drag, a held Space, a held R or a rotation drag.
    bool viewNavigationActive() const override;
    // A tool gesture, a stroke, a sampling drag, a pan or a rotation drag is open.
    bool gestureOpen() const;

    // Edit recording: one gesture, one history entry.
    void beginColormapStroke() override;
    void endColormapStroke(HistoryEntryKind kind, const std::optional<QPoint>& anchor) override;
    bool recordedEditOpen() const override { return m_recording.isOpen(); }
    void captureBeforeArea(const QRect& rect, bool twice) override;
    QRect strokeDirtyRect() const override { return m_recording.dirtyRect(); }
    void growStrokeDirtyRect(const QRect& rect) override { m_recording.growDirtyRect(rect); }
    // Where a Shift line starts: the end of the last stroke.
    std::optional<QPoint> connectAnchor() const override;
    // Undo, redo and clearing the history make the history the only source of anchors.
    void forgetPendingAnchor() { m_pendingAnchor.reset(); }

    // Paint application. With `record` the areas painted are captured for the entry of
    // the gesture in progress; without, the colormap is a simulation copy.
    QRect applySymmetricStrokeSegment(Colormap& colormap, const Brush& brush, QPoint from, QPoint to,
        uchar colour, uchar altColour, bool record) override;
    QRect applyStrokeSegment(Colormap& colormap, const Brush& brush, QPoint from, QPoint to, uchar colour,
        uchar altColour, double extraRotation, bool mirrored, AntialiasStrokeState* antialias);
    // Paints what the stroke surface covers inside `rect`.
    QRect applyCoveredPaint(Colormap& colormap, const QRect& rect, uchar colour, uchar altColour,
        bool singlePixel, const Texture& texture, TextureMode mode, AntialiasStrokeState* antialias);
    FootprintMask& strokeSurface();
    bool antialiasApplies(bool enabled, int width) const;
    // The stroke state (record) or the preview state, sized and reset, when anti-aliasing
    // applies; otherwise null.
    AntialiasStrokeState* beginAntialiasedPaint(bool enabled, int width, bool record);

    ClashContext makeClashContext(uchar paintIndex, bool singlePixel) const;
    bool clashEnforcementEnabled() const { return true; }
    // What the eraser paints: the background on multicolor canvases, where it is the one
    // colour every cell shares, and the secondary colour on hires ones.
    uchar blankIndex() const override;

    // Fills. A contour band only fits where a cell has colours to spare beside the area's
    // own, which a multicolor cell has and a hires cell does not.
    bool contourApplies() const override;
    ContourPlacement contourPlacement() const override { return m_contourPlacement; }
    void setContourPlacement(ContourPlacement placement);
    bool fillPreviewEnabled() const override { return m_fillPreviewEnabled; }
    void setFillPreviewEnabled(bool on);
    QRect applyFloodFill(Colormap& colormap, QPoint pixel, uchar colour, uchar altColour, bool record);
    QRect applyContour(Colormap& colormap, QPoint pixel, uchar colour, uchar altColour,
        ContourPlacement placement, AntialiasStrokeState* antialias, bool record);
    // Once per fill-symmetry copy, each at the copy's image of the clicked pixel.
    QRect applySymmetricFloodFill(
        Colormap& colormap, QPoint pixel, uchar colour, uchar altColour, bool record) override;
    QRect applySymmetricContour(Colormap& colormap, QPoint pixel, uchar colour, uchar altColour,
        ContourPlacement placement, bool record) override;
    // A fill may reach anywhere, so its simulation is a whole copy of the document.
    Colormap& fillSimulationColormap() override;
    QRect canvasRectToView(const QRect& canvasRect) const override
    {
        return canvasToViewUpdateRect(canvasRect);
    }

    // Staged shapes. Paints one shape with its own colours and nib through the colour
    // rules; the symmetric form once per shape-symmetry copy.
    QRect applyShape(Colormap& colormap, const StagedShape& shape, bool record,
        const SymmetryTransform* symmetry = nullptr);
    QRect applySymmetricShape(Colormap& colormap, const StagedShape& shape, bool record) override;
    // Lands every staged shape as one history entry.
    void commitShapeStage();
    // Lands the staged shapes, then a floating selection, each as an entry of its own.
    void commitStagedEdits();
    void setShapeKind(ShapeKind kind);
    void setShapesFilled(bool filled);

    // Symmetry draw: strokes always follow the mode; fills and staged shapes only on
    // request. The axes are centred on every new or opened document.
    SymmetryMode symmetryMode() const override { return m_symmetryMode; }
    void setSymmetryMode(SymmetryMode mode);
    const SymmetryAxes& symmetryAxes() const override { return m_symmetryAxes; }
    // Clamped to the canvas; an unchanged value changes nothing.
    void setSymmetryAxes(const SymmetryAxes& axes) override;
    void resetSymmetryAxes();
    bool symmetricFill() const { return m_symmetricFill; }
    void setSymmetricFill(bool on);
    bool symmetricShapes() const { return m_symmetricShapes; }
    void setSymmetricShapes(bool on);
    void setSymmetryToolActive(bool on);
    bool symmetryToolActive() const;
    QList<SymmetryTransform> activeSymmetryTransforms() const;
    QList<SymmetryTransform> activeFillSymmetryTransforms() const;
    QList<SymmetryTransform> activeShapeSymmetryTransforms() const;
    void drawSymmetryAxesOverlay(QPainter& painter) const;

    // Previews. The simulation colormap matches the document wherever a paint of the
    // segment can reach, so painting into it shows exactly what the same paint on the
    // document leaves.
    Colormap& simulationColormap(const Brush& brush, QPoint from, QPoint to) override;
    QRect previewViewRect(const Brush& brush, QPoint from, QPoint to) const override;
    // The pixels of `rect` where the simulation differs from the document, in their
    // palette colours; transparent elsewhere.
    QImage renderSimulatedDiff(const Colormap& simulated, const QRect& rect) const override;
    void compositeSimulatedDiff(QPainter& painter, const Colormap& simulated, const QRect& rect) const;
    void refreshHoverPreview() override;

    // The eyedropper: takes the colour at a canvas pixel as pen or secondary colour.
    void samplePenColor(QPoint pixel, bool secondary) override;

    // View plumbing for the tools.
    QRect viewRect() const override { return rect(); }
    QPoint viewToCanvasPixel(QPointF viewPoint) const override;
    void startViewPan(QPointF position) override { startPan(position); }
    void restoreIdleCursor() override;
    void setHostCursor(const QCursor& cursor) override { setCursor(cursor); }
    void hostUpdate() override { update(); }
    void hostUpdate(const QRect& viewRect) override { update(padViewRectForFiltering(viewRect)); }
    // Repaints old and new, then keeps the new one.
    void refreshTrackedRect(QRect& tracked, const QRect& next) override;
    // Re-renders a canvas rectangle of the display image from the colormap.
    void refreshDisplayRegion(const QRect& canvasRect) override;
    void notifyHistoryChanged() override;

    // Clears the canvas to the blank colour as one undoable edit; returns what changed.
    QRect clearImage();

    // History, for the window's Undo and Redo. Both refuse while a gesture is recording.
    bool undo();
    bool redo();

    // Display-only guides over the artwork; none of them changes a pixel.
    bool gridVisible() const { return m_referenceGridVisible; }
    void setGridVisible(bool on);
    bool pixelGridVisible() const { return m_pixelGridVisible; }
    void setPixelGridVisible(bool on);
    bool lightGrids() const { return m_lightGrids; }
    void setLightGrids(bool on);
    bool safeFramesVisible() const { return m_safeFramesVisible; }
    void setSafeFramesVisible(bool on);
    // The red frames around top and bottom border sprites that break the colour or budget
    // rules, cached per strip: an edit marks the strips it touched.
    QList<QRect> spriteFlagRects();
    void invalidateSpriteFlags(const QRect& canvasRect);
    void invalidateSpriteFlagOverlay();
    void drawPixelGridOverlay(QPainter& painter);
    void drawGridOverlay(QPainter& painter);
    void drawSafeFramesOverlay(QPainter& painter);
    void drawSpriteFlagOverlay(QPainter& painter);

Q_SIGNALS:
    // Zoom, rotation, the pixel under the pointer or the document changed.
    void statusChanged();
    // After every recorded edit, undo and redo.
    void historyChanged();
    void penColorsChanged();
    // The display image was re-rendered, whole or in part (canvas coordinates).
    void imageChanged();
    void imageRegionChanged(const QRect& canvasRect);
    // The selection, the floating selection or the clipboard changed.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPointF viewportCentre() const;
    void applyZoomStep(double zoom, QPointF anchor);
    void viewChanged();
    void endViewDrag();
    // The pointer or keyboard went elsewhere mid-gesture: every open gesture ends (a stroke
    // is recorded as usual) and held keys are forgotten.
    void endInterruptedGestures();
    void updateHover(QPointF position);
    void activateTool(CanvasTool* tool, bool on);
    DrawTool* previewingDrawTool() const;
    DrawTool* busyDrawTool() const;
    bool samplingCursorArmed() const;
    void syncModifiers(Qt::KeyboardModifiers modifiers);
    bool handleModifierKey(int key, bool down);
    QRect canvasToViewUpdateRect(const QRect& canvasRect) const;
    void ensureAntialiasLut();
    // The canvas's texture and blend table around the given colours.
    CoveredPaint canvasPaint(uchar colour, uchar altColour, AntialiasStrokeState* antialias);
    StrokeGeometry strokeGeometry() const;
    // Where each symmetry copy of a segment may paint.
    QList<QRect> symmetricSegmentRects(const Brush& brush, QPoint from, QPoint to) const;
    // The colour of the border frame around the canvas, when it shows one.
    std::optional<uchar> frameColorIndex() const;

    std::shared_ptr<Project> m_project;
    QImage m_displayImage;

    bool m_bestFitActive = true;
    bool m_bindZoomToCanvas = false;
    bool m_invertZoomWheel = false;
    bool m_bilinearFiltering = false;
    QColor m_backdropColor = QColor(0x30, 0x30, 0x30);

    void paintReferenceLayer(QPainter& painter) const;
    QImage m_referenceImage;
    bool m_referenceVisible = false;
    int m_referenceOpacity = 50;
    bool m_smoothImageScaling = false;

    bool m_panning = false;
    Qt::MouseButton m_panButton = Qt::NoButton;
    QPointF m_lastPanPosition;
    bool m_spaceHeld = false;
    bool m_rotateKeyHeld = false;
    bool m_rotating = false;
    double m_rotationAtDragStart = 0.0;
    QPointF m_dragStartVector;

    QPoint m_hoverPixel;
    bool m_hoverValid = false;
    bool m_tabletDown = false;
    double m_tabletPressure = 0.0;

    std::unique_ptr<DrawTool> m_drawTool;
    std::unique_ptr<EraserTool> m_eraserTool;
    std::unique_ptr<EyedropperTool> m_eyedropperTool;
    std::unique_ptr<PanTool> m_panTool;
    std::unique_ptr<FillTool> m_fillTool;
    std::unique_ptr<ShapeTool> m_shapeTool;
    std::unique_ptr<SelectTool> m_selectTool;
    std::unique_ptr<SymmetryTool> m_symmetryTool;
    CanvasTool* m_activeTool = nullptr;

    uchar m_penIndex = 1;
    uchar m_secondaryIndex = 0;
    bool m_pressureWidening = true;
    Brush m_brush = Brush(1);
    BrushAlignment m_brushAlignment = BrushAlignment::Screen;
    Texture m_texture;
    TextureMode m_textureMode = defaultTextureMode;
    ColorDistanceMetric m_antialiasMetric = ColorDistanceMetric::Weighted;
    QList<AntialiasBlendOverride> m_antialiasOverrides = defaultAntialiasBlendOverrides();
    AntialiasLut m_antialiasLut;

    bool m_shiftHeld = false;
    bool m_altHeld = false;
    bool m_peekSecondaryHeld = false;

    FootprintMask m_strokeSurface;
    FootprintMask m_contourSurface;
    ContourPlacement m_contourPlacement = ContourPlacement::Center;
    bool m_fillPreviewEnabled = true;
    EditRecording m_recording;
    AntialiasStrokeState m_strokeAntialias;
    AntialiasStrokeState m_previewAntialias;
    std::optional<QPoint> m_pendingAnchor;
    Colormap m_simulation;
    // Where m_simulation was last copied from the document, so a preview compares only there.
    QRegion m_simulationFresh;
    QRect m_previewViewRect;
    std::optional<uchar> m_paintedFrameColor;

    SymmetryMode m_symmetryMode = SymmetryMode::None;
    SymmetryAxes m_symmetryAxes;
    bool m_symmetricFill = false;
    bool m_symmetricShapes = false;
    // Overlays.
    struct SpriteFlagEntry {
        bool valid = false;
        std::array<uchar, 4> key {};
        QList<QRect> rects;
    };
    QRectF visibleCanvasRect(const QPainter& painter) const;
    void refreshSpriteFlags();
    bool m_referenceGridVisible = false;
    bool m_pixelGridVisible = false;
    bool m_lightGrids = false;
    bool m_safeFramesVisible = false;
    QList<SpriteFlagEntry> m_spriteFlags;
};
