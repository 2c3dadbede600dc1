#pragma once

#include "model/selection_region.h"
#include "paint/floating_selection.h"
#include "paint/selection_pixels.h"
#include "view/tools/staged_edit_tool.h"

#include <QImage>
#include <QLine>
#include <QList>
#include <QPolygon>
#include <QRegion>
#include <QTimer>

#include <optional>

// Which marquee the select tool draws; none while another tool is in hand.
enum class SelectionTool : int {
    None = 0,
    Rectangle = 1,
    Lasso = 2,
};

// Marks a region of canvas pixels with a rectangle or a lasso, composes it with what is
// selected already, and moves, flips, cuts, copies and pastes content as a floating
// selection. A float lives above the document and lands as one history entry when it is
// dropped, through the colour rules; selection changes have an undo stack of their own,
// which Ctrl+Z walks before the document's history.
class SelectTool : public StagedEditTool {
public:
    explicit SelectTool(CanvasToolHost& host);

    SelectionTool tool() const { return m_tool; }
    void setTool(SelectionTool kind);

    const QRegion& selection() const { return m_selection; }
    bool hasSelection() const { return !m_selection.isEmpty(); }
    bool floating() const
    {
        return m_dragState == DragState::Floating || m_dragState == DragState::DraggingFloat;
    }
    // A marquee, a lift or a float drag is under way.
    bool dragging() const;
    const SelectionClipboard& clipboard() const { return m_clipboard; }
    const FloatingSelection& floatingSelection() const { return m_float; }

    void selectAll();
    void deselect();
    void invertSelection();
    void copySelection();
    void cutSelection();
    void pasteSelection(bool transparent);
    void flipSelection(Qt::Orientation orientation);
    void startFloatingSelection(bool transparent);
    void commitFloatingSelection();
    void cancelFloatingSelection();
    void cancelSelectionDrag();
    // Lays the float into `colormap`; with `record` into the document, as part of the
    // recorded edit that is open.
    QRect applyFloatingSelection(Colormap& colormap, bool record);
    void setSelectionRegion(const QRegion& region);
    // A finished selection step: the new selection, and the old one on the undo stack. By
    // value, since callers pass the current selection as `previous`.
    void commitSelectionOperation(QRegion previous, QRegion next);
    // The selected content as an image, pixels outside the region transparent.
    QImage selectionToImage() const;
    void exportClipboardToSystem() const;
    // In view coordinates.
    void paintAnts(QPainter& painter) const;
    // A new document: no selection, no float, no steps; the clipboard stays.
    void reset();

    void activate() override;
    void deactivate() override;
    bool mousePress(QMouseEvent* event) override;
    bool keyPress(QKeyEvent* event) override;
    QCursor idleCursor() const override;
    void paintArtworkPreview(QPainter& painter) override;
    bool canUndoStage() const override;
    bool handleUndo() override;
    bool acceptsGesture(const Gesture& gesture) const override;
    void onGestureBegin(const Gesture& gesture) override;
    void onGestureUpdate(const Gesture& gesture) override;
    void onGestureEnd(const Gesture& gesture) override;
    void onClick(const Gesture& gesture) override;
    // Dropping is the stage's commit; discarding throws the float away.
    void commitStage() override;
    void discardStage() override;

private:
    enum class DragState { Idle, Marquee, PressedInside, DraggingFloat, Floating };

    void release(const Gesture& gesture);
    QRegion composedMarqueeRegion(QPointF viewPoint, QFlags<Qt::KeyboardModifier> modifiers) const;
    QRegion floatArea() const;
    void moveFloat(QPoint delta);
    // Runs the float on a copy of the document and keeps the pixels that differ.
    void refreshFloatPreview();
    void clearFloatPreview();
    void repaintAnts();
    void repaintCanvasBounds(QRect& drawn, const QRect& next);
    bool clipboardCommandRefused() const;
    QRect canvasRect() const;

    SelectionTool m_tool = SelectionTool::None;
    DragState m_dragState = DragState::Idle;
    QRegion m_selection;
    QList<QLine> m_boundary;
    SelectionCompose m_compose = SelectionCompose::Replace;
    QRegion m_selectionAtDragStart;
    QPoint m_dragStartPixel;
    QPointF m_dragStartViewPoint;
    QPolygon m_lassoPoints;
    QList<QRegion> m_undoStack;
    SelectionClipboard m_clipboard;
    FloatingSelection m_float;
    QRegion m_floatSourceSelection;
    bool m_liftTransparent = false;
    QPoint m_lastDragPixel;
    int m_antsPhase = 0;
    QTimer m_antsTimer;
    // What the ants and the float preview were last drawn over, in canvas pixels: the
    // view may have been zoomed, panned or turned since, so they are mapped to the view
    // only when they are repainted.
    QRect m_antsBounds;
    QRect m_floatBounds;
    Colormap m_floatSimulation;
    QImage m_floatPreview;
    QPoint m_floatPreviewOrigin;
};
