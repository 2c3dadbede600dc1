// The paint path of the canvas view: footprints through the colour rules into the
// document, one history entry per gesture, and the simulations behind hover previews.

#include "document/project.h"
#include "paint/paint_application.h"
#include "paint/simulated_diff.h"
#include "paint/symmetric_stroke.h"
#include "rules/clash_extent.h"
#include "view/canvas_area.h"
#include "view/tools/draw_tool.h"

#include <QPainter>

ClashContext CanvasArea::makeClashContext(uchar paintIndex, bool singlePixel) const
{
    ClashContext ctx = paintRulesFor(*m_project).context;
    ctx.paintIndex = paintIndex;
    ctx.singlePixel = singlePixel;
    return ctx;
}

uchar CanvasArea::blankIndex() const
{
    if (isMulticolor(m_project->mode()))
        return m_project->slotIndex(HistoryColorSlot::Background);
    return m_secondaryIndex;
}

FootprintMask& CanvasArea::strokeSurface()
{
    if (!m_strokeSurface.fits(m_project->size(), pixelWidth()))
        m_strokeSurface = FootprintMask(m_project->size(), pixelWidth());
    return m_strokeSurface;
}

bool CanvasArea::antialiasApplies(bool enabled, int width) const
{
    return enabled && width >= 2 && isMulticolor(m_project->mode());
}

AntialiasStrokeState* CanvasArea::beginAntialiasedPaint(bool enabled, int width, bool record)
{
    if (!antialiasApplies(enabled, width))
        return nullptr;
    AntialiasStrokeState& state = record ? m_strokeAntialias : m_previewAntialias;
    state.ensureSize(m_project->size());
    state.reset();
    return &state;
}

void CanvasArea::ensureAntialiasLut()
{
    m_antialiasLut.ensure(m_project->palette().variant(), m_antialiasMetric, m_antialiasOverrides);
}

CoveredPaint CanvasArea::canvasPaint(uchar colour, uchar altColour, AntialiasStrokeState* antialias)
{
    if (antialias)
        ensureAntialiasLut();
    CoveredPaint paint;
    paint.colour = colour;
    paint.altColour = altColour;
    paint.texture = m_texture;
    paint.textureMode = m_textureMode;
    paint.antialias = antialias;
    paint.lut = &m_antialiasLut;
    return paint;
}

void CanvasArea::beginColormapStroke()
{
    m_recording.begin(m_project->size());
    m_strokeAntialias.ensureSize(m_project->size());
    m_strokeAntialias.reset();
}

void CanvasArea::captureBeforeArea(const QRect& rect, bool twice)
{
    m_recording.captureBeforeArea(*m_project, rect, twice);
}

void CanvasArea::endColormapStroke(HistoryEntryKind kind, const std::optional<QPoint>& anchor)
{
    if (anchor)
        m_pendingAnchor = anchor;
    invalidateSpriteFlags(m_recording.dirtyRect());
    HistoryEntry entry = m_recording.finish(*m_project, kind, anchor);
    const bool recorded = !entry.changes.isEmpty();
    m_project->history().push(std::move(entry));
    // The history holds the anchor now, and undo moves it back with the entry.
    if (recorded && anchor)
        m_pendingAnchor.reset();
    Q_EMIT historyChanged();
}

std::optional<QPoint> CanvasArea::connectAnchor() const
{
    if (m_pendingAnchor)
        return m_pendingAnchor;
    return m_project->history().strokeAnchor();
}

QRect CanvasArea::applySymmetricStrokeSegment(Colormap& colormap, const Brush& brush, QPoint from, QPoint to,
    uchar colour, uchar altColour, bool record)
{
    AntialiasStrokeState* antialias = nullptr;
    if (antialiasApplies(brush.antialiased(), brush.width())) {
        AntialiasStrokeState& state = record ? m_strokeAntialias : m_previewAntialias;
        state.ensureSize(m_project->size());
        // A recorded stroke blends against the colours from before the whole stroke, so
        // overlapping copies do not blend twice; a preview is one dab of its own.
        if (!record)
            state.reset();
        antialias = &state;
    }
    BeforeFillPaint before;
    if (record)
        before = [this](const QRect& rect, bool twice) { captureBeforeArea(rect, twice); };
    return ::applySymmetricStrokeSegment(colormap, strokeSurface(), brush, from, to, strokeGeometry(),
        activeSymmetryTransforms(), canvasPaint(colour, altColour, antialias), paintRulesFor(*m_project),
        before);
}

StrokeGeometry CanvasArea::strokeGeometry() const
{
    StrokeGeometry geometry;
    geometry.pixelWidth = pixelWidth();
    geometry.displayPixelAspect = m_project->transform().displayPixelAspect();
    geometry.viewRotation = m_project->transform().rotation();
    geometry.alignment = m_brushAlignment;
    return geometry;
}

QRect CanvasArea::applyStrokeSegment(Colormap& colormap, const Brush& brush, QPoint from, QPoint to,
    uchar colour, uchar altColour, double extraRotation, bool mirrored, AntialiasStrokeState* antialias)
{
    if (antialias)
        ensureAntialiasLut();
    return ::applyStrokeSegment(colormap, strokeSurface(), brush, from, to, strokeGeometry(), extraRotation,
        mirrored, canvasPaint(colour, altColour, antialias), paintRulesFor(*m_project));
}

QRect CanvasArea::applyCoveredPaint(Colormap& colormap, const QRect& rect, uchar colour, uchar altColour,
    bool singlePixel, const Texture& texture, TextureMode mode, AntialiasStrokeState* antialias)
{
    CoveredPaint paint = canvasPaint(colour, altColour, antialias);
    paint.singlePixel = singlePixel;
    paint.texture = texture;
    paint.textureMode = mode;
    return ::applyCoveredPaint(colormap, strokeSurface(), rect, paint, paintRulesFor(*m_project));
}

Colormap& CanvasArea::simulationColormap(const Brush& brush, QPoint from, QPoint to)
{
    const Colormap& document = m_project->colormap();
    if (m_simulation.size() != document.size()) {
        m_simulation = document;
        m_simulationFresh = QRegion(document.rect());
        return m_simulation;
    }
    // Refreshing only what the paint can read keeps a preview's cost that of the dab, not
    // of the canvas. Elsewhere the copy may hold an earlier preview (a fill, a dab
    // somewhere else) or pixels the document has since changed, so only the refreshed
    // areas are compared when the preview is drawn: the box between symmetric copies
    // shows nothing but the copies.
    m_simulationFresh = QRegion();
    const auto refresh = [&](const QRect& rect) {
        m_simulation.copyArea(document, rect);
        m_simulationFresh += rect & document.rect();
    };
    for (const QRect& footprint : symmetricSegmentRects(brush, from, to))
        refresh(paintReachExtent(*m_project, footprint, true));
    // The sprite budget counts every sprite of a border strip.
    if (paintRulesFor(*m_project).enforceSpriteBudget) {
        for (const CanvasRegion& region :
            canvasRegions(m_project->mode(), document.size(), m_project->layout())) {
            if (region.isHorizontalStrip())
                refresh(region.rect);
        }
    }
    return m_simulation;
}

QRect CanvasArea::previewViewRect(const Brush& brush, QPoint from, QPoint to) const
{
    QRect viewRect;
    for (const QRect& footprint : symmetricSegmentRects(brush, from, to)) {
        viewRect |= canvasToViewUpdateRect(
            potentialClashExtent(m_project->mode(), footprint, m_project->size(), m_project->layout()));
    }
    return viewRect;
}

QList<QRect> CanvasArea::symmetricSegmentRects(const Brush& brush, QPoint from, QPoint to) const
{
    const QPointF anchors = brush.anchors(pixelWidth(), m_project->transform().displayPixelAspect());
    QList<QRect> rects;
    for (const SymmetryTransform& copy : activeSymmetryTransforms()) {
        rects << brush.segmentBoundingRect(
            copy.mapAnchored(from, anchors), copy.mapAnchored(to, anchors), m_project->size());
    }
    return rects;
}

QImage CanvasArea::renderSimulatedDiff(const Colormap& simulated, const QRect& rect) const
{
    if (&simulated == &m_simulation)
        return simulatedDiffImage(
            m_project->colormap(), simulated, rect, m_project->palette(), m_simulationFresh);
    return simulatedDiffImage(m_project->colormap(), simulated, rect, m_project->palette());
}

void CanvasArea::compositeSimulatedDiff(QPainter& painter, const Colormap& simulated, const QRect& rect) const
{
    const QImage diff = renderSimulatedDiff(simulated, rect);
    if (!diff.isNull())
        painter.drawImage((rect & m_project->rect()).topLeft(), diff);
}

// The next Shift line must not start from a stroke the cleared canvas no longer shows.
QRect CanvasArea::clearImage()
{
    forgetPendingAnchor();
    return m_project->clearCanvas(blankIndex());
}

bool CanvasArea::undo()
{
    if (recordedEditOpen() || !m_project->history().canUndo())
        return false;
    m_pendingAnchor.reset();
    const QRect changed = m_project->undo();
    refreshCanvasImage(changed.isEmpty() ? QRect() : changed);
    // An entry may carry colour slots or the layout, which every strip's flags depend on.
    invalidateSpriteFlagOverlay();
    refreshHoverPreview();
    Q_EMIT historyChanged();
    return true;
}

bool CanvasArea::redo()
{
    if (recordedEditOpen() || !m_project->history().canRedo())
        return false;
    m_pendingAnchor.reset();
    const QRect changed = m_project->redo();
    refreshCanvasImage(changed.isEmpty() ? QRect() : changed);
    // An entry may carry colour slots or the layout, which every strip's flags depend on.
    invalidateSpriteFlagOverlay();
    refreshHoverPreview();
    Q_EMIT historyChanged();
    return true;
}

void CanvasArea::notifyHistoryChanged()
{
    invalidateSpriteFlagOverlay();
    Q_EMIT historyChanged();
}
