#include "document/project.h"
#include "model/canvas_region.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"
#include "support/canvas_shape_rows.h"
#include "support/paint_driver.h"
#include "view/reference_grid.h"

#include <QTest>

#include <random>

namespace {

// Whether some line of `lines` covers the point and runs along the given orientation.
bool covered(const QList<QLineF>& lines, QPointF point, bool vertical)
{
    for (const QLineF& line : lines) {
        const QRectF span = QRectF(line.p1(), line.p2()).normalized();
        if (vertical && line.x1() == line.x2() && qFuzzyCompare(line.x1() + 1, point.x() + 1)
            && span.top() <= point.y() && span.bottom() >= point.y())
            return true;
        if (!vertical && line.y1() == line.y2() && qFuzzyCompare(line.y1() + 1, point.y() + 1)
            && span.left() <= point.x() && span.right() >= point.x())
            return true;
    }
    return false;
}

} // namespace

class TestCanvasOverlays : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void overlaysNeverChangeAPixel()
    {
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::TopBottomBorders);
        Colormap& canvas = driver.project().colormap();
        std::mt19937 random(7);
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x)
                canvas.setPixel(x, y, uchar(random() & 15));
        }
        CanvasArea& area = driver.area();
        area.refreshCanvasImage();
        area.invalidateSpriteFlagOverlay();
        driver.project().transform().setZoom(4.0);
        const Colormap before = canvas;
        const QImage shownBefore = area.displayImage();

        area.setPixelGridVisible(true);
        area.setGridVisible(true);
        area.setSafeFramesVisible(true);
        area.grab();
        area.setLightGrids(true);
        area.grab();

        QVERIFY(!area.spriteFlagRects().isEmpty());
        QVERIFY(canvas == before);
        QCOMPARE(area.displayImage(), shownBefore);
        QCOMPARE(driver.project().history().count(), 0);
    }

    void canvasOutlineShowsOnlyInTheView_data() { addEveryModeAndLayout(); }

    // A black canvas in a black frame on the dark backdrop: a grey line runs on the view
    // pixels just outside the frame, on every side, and covers none of the picture.
    void canvasOutlineShowsOnlyInTheView()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        PaintDriver driver(mode, layout);
        driver.project().setColorSlots(ColorSlots {});
        driver.project().colormap().fill(0);
        CanvasArea& area = driver.area();
        // The whole frame in sight, every canvas pixel on whole view pixels.
        driver.project().transform().setZoom(1.0);
        driver.project().transform().setPan(QPointF(150, 150));
        area.refreshCanvasImage();
        const QImage view = area.grab().toImage();

        const QRect content
            = driver.project().transform().canvasToViewRect(canvasContentRect(driver.project())).toRect();
        const QRgb backdrop = area.backdropColor().rgb();
        const QRgb black = QColor(driver.project().palette().colorAt(0)).rgb();
        const QPoint middle = content.center();
        const auto verifyEdge = [&](QPoint outline, QPoint inside, QPoint beyond) {
            const QByteArray where = QByteArray::number(outline.x()) + ", " + QByteArray::number(outline.y());
            QVERIFY2(view.pixel(outline) != backdrop && view.pixel(outline) != black, where);
            QCOMPARE(view.pixel(inside), black);
            QCOMPARE(view.pixel(beyond), backdrop);
        };
        verifyEdge(QPoint(content.left() - 1, middle.y()), QPoint(content.left(), middle.y()),
            QPoint(content.left() - 2, middle.y()));
        verifyEdge(QPoint(content.right() + 1, middle.y()), QPoint(content.right(), middle.y()),
            QPoint(content.right() + 2, middle.y()));
        verifyEdge(QPoint(middle.x(), content.top() - 1), QPoint(middle.x(), content.top()),
            QPoint(middle.x(), content.top() - 2));
        verifyEdge(QPoint(middle.x(), content.bottom() + 1), QPoint(middle.x(), content.bottom()),
            QPoint(middle.x(), content.bottom() + 2));
    }

    void guidesShowOnlyWhereTheyApply()
    {
        PaintDriver driver(CanvasMode::Hires, CanvasLayout::BitmapOnly);
        CanvasArea& area = driver.area();
        driver.project().transform().setZoom(3.0);
        const QImage plain = area.grab().toImage();
        area.setPixelGridVisible(true);
        area.setSafeFramesVisible(true);
        // Too dense at zoom 3, and a bitmap canvas has no border pixels to frame.
        QCOMPARE(area.grab().toImage(), plain);
        driver.project().transform().setZoom(4.0);
        const QImage dark = area.grab().toImage();
        area.setPixelGridVisible(false);
        QVERIFY(dark != area.grab().toImage());
        area.setPixelGridVisible(true);
        area.setLightGrids(true);
        QVERIFY(dark != area.grab().toImage());
    }

    // Units are flagged for a second free colour or for a ninth sprite in a border, and
    // the stroke that repairs them takes the frame away.
    void spriteFlagsFollowTheEditsThatBreakAndFixTheRules()
    {
        PaintDriver driver(CanvasMode::Multicolor, CanvasLayout::TopBottomBorders);
        Project& project = driver.project();
        CanvasArea& area = driver.area();
        QVERIFY(area.spriteFlagRects().isEmpty());

        const CanvasRegion top = canvasRegions(project.mode(), project.size(), project.layout()).first();
        const SpriteStripGrid grid = spriteStripGrid(top, project.mode(), project.layout());
        const uchar background = project.colormap().pixel(top.rect.left(), top.rect.top());

        // Two free colours in unit 2: white and red, as an old file may hold them.
        const QRect clashing = grid.unitRect(2, 0);
        const QPoint redPixel = clashing.topLeft() + QPoint(3, 4);
        project.colormap().setPixel(clashing.left() + 1, clashing.top() + 1, 1);
        project.colormap().setPixel(redPixel.x(), redPixel.y(), 2);
        area.invalidateSpriteFlagOverlay();
        QCOMPARE(area.spriteFlagRects(), QList<QRect> {clashing});

        // Painting the red pixel back to the strip's background repairs the unit.
        area.setPenIndex(background);
        driver.stroke({redPixel});
        QVERIFY(area.spriteFlagRects().isEmpty());
        QVERIFY(area.undo());
        QCOMPARE(area.spriteFlagRects(), QList<QRect> {clashing});
        QVERIFY(area.redo());
        QVERIFY(area.spriteFlagRects().isEmpty());

        // Nine occupied sprite columns: the one with the fewest pixels is over budget.
        for (int column = 0; column < 9; ++column) {
            const QRect unit = grid.unitRect(column, 0);
            const int pixels = column == 5 ? 1 : 3;
            for (int i = 0; i < pixels; ++i)
                project.colormap().setPixel(unit.left() + i, unit.top() + 2, 1);
        }
        area.invalidateSpriteFlagOverlay();
        QCOMPARE(area.spriteFlagRects(), QList<QRect> {grid.unitRect(5, 0)});
        const QPoint lone(grid.unitRect(5, 0).left(), grid.unitRect(5, 0).top() + 2);
        driver.stroke({lone});
        QVERIFY(area.spriteFlagRects().isEmpty());
    }

    void referenceGridDrawsEveryBoundary_data() { addEveryCanvasShape(); }

    void referenceGridDrawsEveryBoundary()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(int, screens);
        const Project project(mode, 0, 0, layout, screens);
        const QSize size = project.size();
        // A window onto the middle of the canvas and the whole canvas.
        for (const QRectF visible :
            {QRectF(size.width() / 5.0 + 0.5, 7.5, size.width() / 2.0, size.height() / 2.0),
                QRectF(project.rect())}) {
            const QList<QLineF> lines = referenceGridLines(mode, size, layout, visible);
            const auto check = [&](const QRect& area, int x, bool vertical) {
                // Sample the boundary where it lies inside the visible part of its area.
                const QRectF inside = QRectF(area) & visible;
                if (inside.isEmpty())
                    return;
                const QPointF probe
                    = vertical ? QPointF(x, inside.center().y()) : QPointF(inside.center().x(), x);
                if (!visible.contains(probe))
                    return;
                QVERIFY2(covered(lines, probe, vertical),
                    qPrintable(QStringLiteral("%1 boundary at %2 (area %3,%4 %5x%6)")
                                   .arg(vertical ? "vertical" : "horizontal")
                                   .arg(x)
                                   .arg(area.x())
                                   .arg(area.y())
                                   .arg(area.width())
                                   .arg(area.height())));
            };
            for (const CanvasRegion& region : canvasRegions(mode, size, layout)) {
                const QRect area = region.rect;
                if (!region.isSpriteStrip()) {
                    const QSize cell = canvasModeCellSize(mode);
                    for (int x = area.left(); x <= area.left() + area.width(); x += cell.width())
                        check(area, x, true);
                    for (int y = area.top(); y <= area.top() + area.height(); y += cell.height())
                        check(area, y, false);
                } else if (region.isHorizontalStrip()) {
                    const SpriteStripGrid grid = spriteStripGrid(region, mode, layout);
                    for (int column = 0; column < grid.columns; ++column) {
                        const QRect unit = grid.unitRect(column, 0);
                        check(unit, unit.left(), true);
                        check(unit, unit.left() + unit.width(), true);
                        check(unit, unit.top(), false);
                        check(unit, unit.top() + unit.height(), false);
                    }
                } else {
                    for (int column = 0; column < 2; ++column) {
                        for (int row = 0; row < spriteLogicalRowCount; ++row) {
                            const QRect unit = spriteUnitRect(region, mode, column, row) & area;
                            if (unit.isEmpty())
                                continue;
                            check(unit, unit.left(), true);
                            check(unit, unit.top(), false);
                        }
                    }
                }
            }
        }
        const QList<QLineF> seams = referenceGridSeamLines(size, screens);
        QCOMPARE(seams.size(), screens - 1);
        if (screens == 2)
            QCOMPARE(seams.first().x1(), size.width() / 2.0);
    }
};

QTEST_MAIN(TestCanvasOverlays)
#include "tst_canvas_overlays.moc"
