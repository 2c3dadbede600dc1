#pragma once

#include <QCursor>
#include <QFlags>
#include <QPoint>
#include <QPointF>

class CanvasToolHost;
class QKeyEvent;
class QMouseEvent;
class QPainter;

// A tool of the canvas view. Each tool is a member object of the canvas view, its host,
// and changes the document only through the host's operations (CanvasToolHost: paint
// application, edit recording, colour sampling, view plumbing). Tools that work in clicks and drags override
// acceptsGesture and the gesture hooks instead of the raw mouse handlers.
class CanvasTool {
public:
    // One mouse interaction in canvas terms.
    struct Gesture {
        QPoint pixel;
        QPointF viewPosition;
        Qt::MouseButton button = Qt::NoButton;
        QFlags<Qt::KeyboardModifier> modifiers;
        // The pointer has left the start pixel at some time during the gesture.
        bool moved = false;
    };

    explicit CanvasTool(CanvasToolHost& host);
    virtual ~CanvasTool();
    CanvasTool(const CanvasTool&) = delete;
    CanvasTool& operator=(const CanvasTool&) = delete;

    virtual void activate();
    virtual void deactivate();
    // Each handler answers whether it took the event.
    virtual bool mousePress(QMouseEvent* event);
    virtual bool mouseMove(QMouseEvent* event);
    virtual bool mouseRelease(QMouseEvent* event);
    virtual bool keyPress(QKeyEvent* event);
    virtual bool keyRelease(QKeyEvent* event);
    virtual QCursor idleCursor() const;
    // In canvas coordinates, under the overlays.
    virtual void paintArtworkPreview(QPainter& painter);
    // In canvas coordinates, above the overlays.
    virtual void paintOverlay(QPainter& painter);
    // Tools that hold steps of their own answer Undo before the document history does.
    virtual bool canUndoStage() const;
    virtual bool handleUndo();
    virtual bool acceptsGesture(const Gesture& gesture) const;
    virtual void onGestureBegin(const Gesture& gesture);
    virtual void onGestureUpdate(const Gesture& gesture);
    virtual void onGestureEnd(const Gesture& gesture);
    virtual void onClick(const Gesture& gesture);

    bool gestureOpen() const { return m_gestureButton != Qt::NoButton; }
    // Ends an open gesture whose button was lost without a release (focus moved away, a
    // dialog opened), as a drag that ended at the last position the tool saw.
    virtual void abandonGesture();

protected:
    CanvasToolHost& host() const { return m_host; }
    Gesture gestureFor(const QMouseEvent* event, Qt::MouseButton button) const;

private:
    CanvasToolHost& m_host;
    Qt::MouseButton m_gestureButton = Qt::NoButton;
    QPoint m_gestureStart;
    bool m_moved = false;
    Gesture m_lastGesture;
};
