#include "view/tools/canvas_tool.h"

#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

#include <QMouseEvent>

CanvasTool::CanvasTool(CanvasToolHost& host)
    : m_host(host)
{
}

CanvasTool::~CanvasTool() = default;

void CanvasTool::activate() { }

void CanvasTool::deactivate() { }

CanvasTool::Gesture CanvasTool::gestureFor(const QMouseEvent* event, Qt::MouseButton button) const
{
    Gesture gesture;
    gesture.viewPosition = event->position();
    gesture.pixel = m_host.viewToCanvasPixel(event->position());
    gesture.button = button;
    gesture.modifiers = event->modifiers();
    gesture.moved = m_moved;
    return gesture;
}

bool CanvasTool::mousePress(QMouseEvent* event)
{
    if (gestureOpen())
        return false;
    Gesture gesture = gestureFor(event, event->button());
    gesture.moved = false;
    if (!acceptsGesture(gesture))
        return false;
    m_gestureButton = event->button();
    m_gestureStart = gesture.pixel;
    m_moved = false;
    m_lastGesture = gesture;
    onGestureBegin(gesture);
    return true;
}

bool CanvasTool::mouseMove(QMouseEvent* event)
{
    if (!gestureOpen())
        return false;
    Gesture gesture = gestureFor(event, m_gestureButton);
    if (!(event->buttons() & m_gestureButton)) {
        // The release never reached us; close the gesture where the pointer is now.
        m_lastGesture = gesture;
        abandonGesture();
        return true;
    }
    if (gesture.pixel != m_gestureStart)
        m_moved = true;
    gesture.moved = m_moved;
    m_lastGesture = gesture;
    onGestureUpdate(gesture);
    return true;
}

void CanvasTool::abandonGesture()
{
    if (!gestureOpen())
        return;
    m_gestureButton = Qt::NoButton;
    m_moved = true;
    Gesture gesture = m_lastGesture;
    gesture.moved = true;
    onGestureEnd(gesture);
}

bool CanvasTool::mouseRelease(QMouseEvent* event)
{
    if (!gestureOpen() || event->button() != m_gestureButton)
        return false;
    Gesture gesture = gestureFor(event, m_gestureButton);
    const bool click = gesture.pixel == m_gestureStart && !m_moved;
    m_gestureButton = Qt::NoButton;
    if (click) {
        gesture.moved = false;
        onClick(gesture);
    } else {
        m_moved = true;
        gesture.moved = true;
        onGestureEnd(gesture);
    }
    return true;
}

bool CanvasTool::keyPress(QKeyEvent*)
{
    return false;
}

bool CanvasTool::keyRelease(QKeyEvent*)
{
    return false;
}

QCursor CanvasTool::idleCursor() const
{
    return ToolCursors::pen();
}

void CanvasTool::paintArtworkPreview(QPainter&) { }

void CanvasTool::paintOverlay(QPainter&) { }

bool CanvasTool::canUndoStage() const
{
    return false;
}

bool CanvasTool::handleUndo()
{
    return false;
}

bool CanvasTool::acceptsGesture(const Gesture&) const
{
    return false;
}

void CanvasTool::onGestureBegin(const Gesture&) { }

void CanvasTool::onGestureUpdate(const Gesture&) { }

void CanvasTool::onGestureEnd(const Gesture&) { }

void CanvasTool::onClick(const Gesture&) { }
