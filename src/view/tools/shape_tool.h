#pragma once

#include "paint/shape_stage.h"
#include "view/tools/staged_edit_tool.h"

#include <QImage>
#include <QPolygonF>

#include <functional>

// Lines, rectangles, ellipses, stars and freehand paths that stay editable on a stage
// until they are committed; the preview shows exactly what the commit will paint, colour
// rules included. A commit is one history entry however many shapes it lands.
class ShapeTool : public StagedEditTool {
public:
    enum class ShapeDragMode { Idle = 0, Create = 1, Move = 2, Corner = 3, Rotate = 4, Radius = 5 };

    using StagedEditTool::StagedEditTool;

    void activate() override;
    void deactivate() override;
    bool mouseMove(QMouseEvent* event) override;
    bool keyPress(QKeyEvent* event) override;
    QCursor idleCursor() const override;
    void paintArtworkPreview(QPainter& painter) override;
    void paintOverlay(QPainter& painter) override;
    bool canUndoStage() const override;
    bool handleUndo() override;
    bool acceptsGesture(const Gesture& gesture) const override;
    void onGestureBegin(const Gesture& gesture) override;
    void onGestureUpdate(const Gesture& gesture) override;
    void onGestureEnd(const Gesture& gesture) override;
    void onClick(const Gesture& gesture) override;

    void commitStage() override;
    void discardStage() override;
    // Drops the stage unpainted: the document it belonged to is gone.
    void reset();
    // Redraws the stage's preview after something it depends on changed, such as the
    // symmetry copies.
    void refreshPreview() { stageChanged(); }

    const ShapeStage& stage() const { return m_stage; }
    ShapeKind kind() const { return m_kind; }
    void setKind(ShapeKind kind) { m_kind = kind; }
    bool filled() const { return m_filled; }
    void setFilled(bool filled);
    // One stage step for the selected shapes when the edit changes any of them.
    void retargetSelected(const std::function<void(StagedShape&)>& edit);
    bool dragging() const { return m_mode != ShapeDragMode::Idle; }
    double radiusHandleInset() const;

private:
    struct HandleHit {
        ShapeDragMode mode = ShapeDragMode::Idle;
        int handle = -1;
    };

    QPointF displayPoint(const Gesture& gesture) const;
    double viewScale() const;
    ShapeHandleLayout handlesOf(const StagedShape& shape) const;
    HandleHit hitTestHandle(QPointF viewPoint) const;
    int topmostShapeAt(QPointF display) const;
    StagedShape latched(StagedShape shape, bool secondary) const;
    void rebuildCreation(QPointF current, bool uniform, bool canvasAligned);
    void finishGesture();
    void snapshotOnce();
    void stageChanged();
    void updateHoverCursor(QPointF viewPoint);

    ShapeKind m_kind = ShapeKind::Line;
    bool m_filled = true;
    ShapeStage m_stage;
    ShapeDragMode m_mode = ShapeDragMode::Idle;
    int m_dragIndex = -1;
    int m_handleIndex = -1;
    QPointF m_pressPoint;
    QPointF m_lastPoint;
    bool m_snapshotTaken = false;
    bool m_secondaryDrag = false;
    StagedShape m_creating;
    bool m_creatingValid = false;
    QPolygonF m_path;
    int m_hoverTarget = -2;
    QImage m_previewImage;
    QPoint m_previewOrigin;
};
