#pragma once

// Drives a canvas view with synthesized mouse events, for the tests of the paint tools.

#include "document/project.h"
#include "model/canvas_region.h"
#include "support/clash_fixtures.h"
#include "view/canvas_area.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

// A canvas view at a whole zoom factor with the canvas at a whole-pixel offset, so every
// canvas pixel covers whole widget pixels and grabs compare exactly.
class PaintDriver {
public:
    PaintDriver(CanvasMode mode, CanvasLayout layout, SpriteCountPolicy policy = SpriteCountPolicy::Flag)
        : m_ctx(testClashContext(mode, CanvasLayoutSpec {layout}))
        , m_project(std::make_shared<Project>(mode, 0, 0, CanvasLayoutSpec {layout}, 1))
        , m_area(m_project)
    {
        m_project->setColorSlots(m_ctx.slots);
        m_project->colormap() = blankTestCanvas(m_ctx);
        m_project->setSpriteCountPolicy(policy);
        m_area.resize(1000, 700);
        m_area.zoomActualSize();
        m_project->transform().setZoom(2.0);
        m_project->transform().setPan(QPointF(40, 40));
        m_area.refreshCanvasImage();
    }

    Project& project() { return *m_project; }
    CanvasArea& area() { return m_area; }
    const Colormap& colormap() const { return m_project->colormap(); }
    ClashContext context() const { return m_area.makeClashContext(0, false); }

    QPointF viewOf(QPoint pixel) const
    {
        return m_project->transform().canvasToView(QPointF(pixel) + QPointF(0.5, 0.5));
    }

    void send(QEvent::Type type, QPoint pixel, Qt::MouseButton button, Qt::MouseButtons buttons,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF position = viewOf(pixel);
        QMouseEvent event(type, position, m_area.mapToGlobal(position), button, buttons, modifiers);
        QApplication::sendEvent(&m_area, &event);
    }
    void hover(QPoint pixel, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseMove, pixel, Qt::NoButton, Qt::NoButton, modifiers);
    }
    void stroke(const QList<QPoint>& pixels, Qt::MouseButton button = Qt::LeftButton,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonPress, pixels.first(), button, button, modifiers);
        for (const QPoint& pixel : pixels.mid(1))
            send(QEvent::MouseMove, pixel, Qt::NoButton, button, modifiers);
        send(QEvent::MouseButtonRelease, pixels.last(), button, Qt::NoButton, modifiers);
    }
    void leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&m_area, &event);
    }

    // A point well inside the strip the layout adds, or the bitmap's centre.
    QPoint target() const
    {
        for (const CanvasRegion& region : canvasRegions(m_ctx.mode, colormap().size(), m_ctx.layout)) {
            if (region.isSpriteStrip())
                return region.rect.center();
        }
        return colormap().rect().center();
    }

private:
    ClashContext m_ctx;
    std::shared_ptr<Project> m_project;
    CanvasArea m_area;
};

const QList<CanvasLayout> allLayouts {
    CanvasLayout::BitmapOnly, CanvasLayout::SideBorders, CanvasLayout::TopBottomBorders};

inline QString layoutName(CanvasLayout layout)
{
    return QStringList {"bitmap", "side", "topbottom"}.at(int(layout));
}

inline QString modeName(CanvasMode mode)
{
    return isMulticolor(mode) ? QStringLiteral("multicolor") : QStringLiteral("hires");
}

// Three colour bands through the point, so a fourth colour there must take a victim.
inline void paintBands(PaintDriver& driver, QPoint at)
{
    driver.area().setPenWidth(3);
    const uchar colours[] = {2, 5, 7};
    for (int i = 0; i < 3; ++i) {
        driver.area().setPenIndex(colours[i]);
        const int y = at.y() + (i - 1) * 3;
        driver.stroke({QPoint(at.x() - 12, y), QPoint(at.x() + 12, y)});
    }
}

// One row per mode and layout, for the tests that must hold on every kind of canvas.
inline void addEveryModeAndLayout()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayout>("layout");
    for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
        for (CanvasLayout layout : allLayouts)
            QTest::addRow("%s %s", qPrintable(modeName(mode)), qPrintable(layoutName(layout)))
                << mode << layout;
    }
}
