#include "view/preview_window.h"

#include "view/canvas_area.h"
#include "view/preview_area.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// A restored window narrower or lower than this shows nothing of the picture: it was
// saved by a run that never showed the window, when it still had the toolkit's
// placeholder size.
constexpr int smallestUsefulSide = 64;
// The share of the screen the window may take when it first opens.
constexpr double screenShare = 0.9;

} // namespace

PreviewWindow::PreviewWindow(CanvasArea* canvas, QWidget* parent)
    : QWidget(parent, Qt::Tool)
{
    setWindowTitle(tr("Preview"));
    m_area = new PreviewArea(canvas, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_area);
    connect(canvas, &CanvasArea::imageRegionChanged, m_area, &PreviewArea::refreshImageRegion);
    connect(canvas, &CanvasArea::imageChanged, m_area, &PreviewArea::refreshImage);
    connect(canvas, &CanvasArea::statusChanged, m_area, &PreviewArea::syncViewAspects);
}

void PreviewWindow::setStayOnTop(bool on)
{
    m_stayOnTop = on;
    if (!m_blocked)
        applyStayOnTopHint(on);
}

// Changing a window flag hides the window; it comes back where it was.
void PreviewWindow::applyStayOnTopHint(bool on)
{
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    const bool wasVisible = isVisible();
    const QRect geometry = this->geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(geometry);
    if (wasVisible)
        show();
}

bool PreviewWindow::event(QEvent* event)
{
    // A modal dialog must never hide behind a preview that stays on top.
    if (event->type() == QEvent::WindowBlocked) {
        m_blocked = true;
        applyStayOnTopHint(false);
    } else if (event->type() == QEvent::WindowUnblocked) {
        m_blocked = false;
        applyStayOnTopHint(m_stayOnTop);
    }
    return QWidget::event(event);
}

void PreviewWindow::showEvent(QShowEvent* event)
{
    if (!m_shown && !event->spontaneous()) {
        m_shown = true;
        if (!testAttribute(Qt::WA_Resized) || width() < smallestUsefulSide || height() < smallestUsefulSide)
            resize(firstOpenSize());
    }
    QWidget::showEvent(event);
}

QSize PreviewWindow::firstOpenSize() const
{
    QSize size = m_area->sizeHint();
    const QWidget* anchor = parentWidget() ? parentWidget() : this;
    if (const QScreen* target = anchor->screen()) {
        const QSize room = target->availableGeometry().size() * screenShare;
        if (size.width() > room.width() || size.height() > room.height())
            size.scale(room, Qt::KeepAspectRatio);
    }
    return size;
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->spontaneous())
        Q_EMIT closedByUser();
}

void PreviewWindow::setMirrorHorizontally(bool on)
{
    m_area->setMirrorHorizontally(on);
}

void PreviewWindow::setCrtEmulation(bool on)
{
    m_area->setCrtEmulation(on);
}

void PreviewWindow::zoomIn()
{
    m_area->zoomIn();
}

void PreviewWindow::zoomOut()
{
    m_area->zoomOut();
}

void PreviewWindow::zoomActualSize()
{
    m_area->zoomActualSize();
}

void PreviewWindow::zoomBestFit()
{
    m_area->zoomBestFit();
}
