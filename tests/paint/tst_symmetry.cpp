#include "document/project.h"
#include "paint/footprint_mask.h"
#include "paint/symmetric_stroke.h"
#include "paint/symmetry.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

using PixelSet = QSet<QPair<int, int>>;

QList<SymmetryMode> allModes()
{
    return {SymmetryMode::Horizontal, SymmetryMode::Vertical, SymmetryMode::Quadrant,
        SymmetryMode::BiQuadrant, SymmetryMode::Kaleidoscope};
}

const char* modeName(SymmetryMode mode)
{
    static const char* names[] = {"none", "horizontal", "vertical", "quadrant", "biquadrant", "kaleidoscope"};
    return names[int(mode)];
}

// The copy's matrix as the display sees it: canvas offsets scaled to display units.
struct OnScreen {
    double a, b, c, d;
};

OnScreen displayMatrix(const SymmetryTransform& t, int pixelWidth, double aspect)
{
    const double s = pixelWidth * aspect;
    return {t.a, t.b * s, t.c / s, t.d};
}

bool near(double x, double y)
{
    return std::abs(x - y) < 1e-9;
}

// A copy that takes pixel centres onto pixel centres can be compared pixel for pixel.
bool latticeMap(const SymmetryTransform& t)
{
    for (double entry : {t.a, t.b, t.c, t.d}) {
        if (!near(entry, 0.0) && !near(std::abs(entry), 1.0))
            return false;
    }
    return true;
}

struct Canvas {
    explicit Canvas(CanvasMode mode)
        : project(mode, 0, 0, CanvasLayoutSpec {}, 1)
        , blank(project.colormap())
        , mask(project.size(), isMulticolor(mode) ? 2 : 1)
    {
    }

    // Paints the segment once per copy on a fresh canvas; the pixels the paint changed.
    PixelSet paint(const Brush& brush, QPoint from, QPoint to, const QList<SymmetryTransform>& copies,
        double viewRotation)
    {
        project.colormap() = blank;
        StrokeGeometry geometry;
        geometry.pixelWidth = mask.pixelWidth();
        geometry.viewRotation = viewRotation;
        CoveredPaint paint;
        paint.colour = 1;
        applySymmetricStrokeSegment(
            project.colormap(), mask, brush, from, to, geometry, copies, paint, paintRulesFor(project), {});
        PixelSet painted;
        for (int y = 0; y < blank.height(); ++y) {
            for (int x = 0; x < blank.width(); ++x) {
                if (project.colormap().pixel(x, y) != blank.pixel(x, y))
                    painted.insert({x, y});
            }
        }
        return painted;
    }

    Project project;
    Colormap blank;
    FootprintMask mask;
};

PixelSet mapped(const PixelSet& pixels, const SymmetryTransform& t)
{
    PixelSet result;
    for (const auto& [x, y] : pixels) {
        const QPoint p = t.map(QPoint(x, y));
        result.insert({p.x(), p.y()});
    }
    return result;
}

} // namespace

class TestSymmetry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void mapsPixelsAboutTheAxes()
    {
        const SymmetryAxes centred = SymmetryAxes::centered(QSize(320, 200));
        QCOMPARE((SymmetryAxes {-5, 900}.clampTo(QSize(320, 200))), (SymmetryAxes {0, 640}));

        const SymmetryTransform vertical = symmetryTransforms(SymmetryMode::Vertical, centred, 1, 1.0).at(1);
        QCOMPARE(vertical.map(QPoint(0, 5)), QPoint(319, 5));
        QCOMPARE(vertical.map(QPoint(159, 5)), QPoint(160, 5));
        QCOMPARE(vertical.mapRect(QRect(0, 5, 10, 2)), QRect(310, 5, 10, 2));
        QVERIFY(vertical.mapRect(QRect()).isNull());
        // An even-width nib sits on the pixel corner and must land on one again.
        QCOMPARE(vertical.mapAnchored(QPoint(10, 5), 0.0), QPoint(310, 5));

        // An odd axis runs through pixel centres.
        const SymmetryTransform throughCentres
            = symmetryTransforms(SymmetryMode::Vertical, SymmetryAxes {200, 319}, 1, 1.0).at(1);
        QCOMPARE(throughCentres.map(QPoint(159, 5)), QPoint(159, 5));

        for (int mode = 0; mode <= 6; ++mode) {
            const QList<SymmetryTransform> copies
                = symmetryTransforms(SymmetryMode(mode), centred, 2, 0.9375);
            QCOMPARE(copies.size(), symmetryCopyCount(SymmetryMode(mode)));
            QVERIFY(copies.first().primary);
            QCOMPARE(copies.first().map(QPoint(7, 9)), QPoint(7, 9));
            for (const SymmetryTransform& copy : copies.mid(1))
                QVERIFY(!copy.primary);
        }
    }

    // Every copy is a turn, or a mirror and a turn, of the display; the nib must be turned
    // and mirrored by exactly that, and the copies of a mode must form a closed set, so the
    // drawing looks the same from every copy's side.
    void copiesAreDisplayIsometriesMatchingTheNib_data()
    {
        QTest::addColumn<SymmetryMode>("mode");
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<double>("aspect");
        for (SymmetryMode mode : allModes()) {
            QTest::addRow("%s hires", modeName(mode)) << mode << 1 << 1.0;
            QTest::addRow("%s multicolor PAL", modeName(mode)) << mode << 2 << 0.9375;
            QTest::addRow("%s hires NTSC", modeName(mode)) << mode << 1 << 0.75;
        }
    }

    void copiesAreDisplayIsometriesMatchingTheNib()
    {
        QFETCH(SymmetryMode, mode);
        QFETCH(int, pixelWidth);
        QFETCH(double, aspect);
        const QList<SymmetryTransform> copies
            = symmetryTransforms(mode, SymmetryAxes {37, 91}, pixelWidth, aspect);
        QList<OnScreen> displays;
        for (const SymmetryTransform& copy : copies) {
            QCOMPARE(copy.origin, QPointF(45.5, 18.5));
            const OnScreen m = displayMatrix(copy, pixelWidth, aspect);
            const double turn = copy.extraRotation * pi / 180.0;
            const double flip = copy.mirrored ? -1.0 : 1.0;
            // R(extraRotation) after negating y for a mirrored copy.
            QVERIFY2(near(m.a, std::cos(turn)) && near(m.b, -std::sin(turn) * flip)
                    && near(m.c, std::sin(turn)) && near(m.d, std::cos(turn) * flip),
                qPrintable(QStringLiteral("copy turning %1").arg(copy.extraRotation)));
            displays << m;
        }
        for (const OnScreen& p : displays) {
            for (const OnScreen& q : displays) {
                const OnScreen r {p.a * q.a + p.b * q.c, p.a * q.b + p.b * q.d, p.c * q.a + p.d * q.c,
                    p.c * q.b + p.d * q.d};
                const bool found = std::any_of(displays.begin(), displays.end(), [&](const OnScreen& s) {
                    return near(s.a, r.a) && near(s.b, r.b) && near(s.c, r.c) && near(s.d, r.d);
                });
                QVERIFY(found);
            }
        }
    }

    // Painted through the whole paint path, each copy alone lays down exactly the image
    // of the user's own pixels wherever the copy takes pixels onto pixels: double-wide
    // multicolor pixels, anchors of even nibs and a square nib turned against a rotated
    // view included. Elsewhere it keeps the stroke's size.
    void strokeCopiesPaintCounterpartPixels_data()
    {
        QTest::addColumn<SymmetryMode>("mode");
        QTest::addColumn<CanvasMode>("canvasMode");
        QTest::addColumn<int>("width");
        QTest::addColumn<BrushShape>("shape");
        QTest::addColumn<double>("viewRotation");
        for (SymmetryMode mode : allModes()) {
            for (CanvasMode canvasMode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
                const char* canvas = isMulticolor(canvasMode) ? "multicolor" : "hires";
                QTest::addRow("%s %s single pixel", modeName(mode), canvas)
                    << mode << canvasMode << 1 << BrushShape::Round << 0.0;
                QTest::addRow("%s %s round 6", modeName(mode), canvas)
                    << mode << canvasMode << 6 << BrushShape::Round << 0.0;
                QTest::addRow("%s %s square 7 turned view", modeName(mode), canvas)
                    << mode << canvasMode << 7 << BrushShape::Square << 30.0;
            }
        }
    }

    void strokeCopiesPaintCounterpartPixels()
    {
        QFETCH(SymmetryMode, mode);
        QFETCH(CanvasMode, canvasMode);
        QFETCH(int, width);
        QFETCH(BrushShape, shape);
        QFETCH(double, viewRotation);
        Canvas canvas(canvasMode);
        const bool multicolor = isMulticolor(canvasMode);
        // Odd axes run through pixel centres, so quarter turns keep to the pixel grid.
        const SymmetryAxes axes {171, multicolor ? 145 : 289};
        const QList<SymmetryTransform> copies = symmetryTransforms(mode, axes, multicolor ? 2 : 1, 1.0);
        Brush brush(width);
        brush.setShape(shape);
        const QPoint from(multicolor ? 52 : 110, 60);
        const QPoint to(multicolor ? 58 : 123, 67);

        const PixelSet own = canvas.paint(brush, from, to, copies.mid(0, 1), viewRotation);
        QVERIFY(own.size() > 1);
        int compared = 0;
        for (const SymmetryTransform& copy : copies.mid(1)) {
            const PixelSet painted = canvas.paint(brush, from, to, {copy}, viewRotation);
            if (!latticeMap(copy)) {
                // Off the pixel grid a copy can only be compared by its size on the
                // display; a nib left upright would sweep a broader band.
                if (width > 1)
                    QVERIFY2(std::abs(painted.size() - own.size()) <= own.size() / 10,
                        qPrintable(QStringLiteral("copy turning %1 paints %2 pixels, the stroke %3")
                                       .arg(copy.extraRotation)
                                       .arg(painted.size())
                                       .arg(own.size())));
                continue;
            }
            ++compared;
            QVERIFY2(painted == mapped(own, copy),
                qPrintable(QStringLiteral("copy turning %1%2 paints %3 pixels, expected %4")
                               .arg(copy.extraRotation)
                               .arg(copy.mirrored ? " mirrored" : "")
                               .arg(painted.size())
                               .arg(own.size())));
        }
        QVERIFY(compared > 0);
    }

    // The copies of a symmetric segment share work (one before-image buffer between
    // them); whatever they share, they must leave exactly what painting each copy on its
    // own, one after the other, leaves: on random artwork, with random nibs, colours,
    // axes and modes, hires and multicolor.
    void sharedCopiesMatchCopiesPaintedOneByOne()
    {
        QRandomGenerator random(28);
        for (int round = 0; round < 120; ++round) {
            const CanvasMode canvasMode = random.bounded(2) ? CanvasMode::Multicolor : CanvasMode::Hires;
            Project project(canvasMode, 0, 0, CanvasLayoutSpec {}, 1);
            Colormap& artwork = project.colormap();
            for (int y = 0; y < artwork.height(); ++y) {
                for (int x = 0; x < artwork.width(); ++x)
                    artwork.setPixel(x, y, uchar((x / 5 + y / 3 * 7 + random.bounded(3)) % 16));
            }
            const QSize size = project.size();
            const SymmetryMode mode = allModes()[random.bounded(int(allModes().size()))];
            const SymmetryAxes axes
                = SymmetryAxes {random.bounded(2 * size.height() + 1), random.bounded(2 * size.width() + 1)};
            const int pixelWidth = isMulticolor(canvasMode) ? 2 : 1;
            const QList<SymmetryTransform> copies = symmetryTransforms(mode, axes, pixelWidth, 1.0);
            Brush brush(random.bounded(1, 40));
            brush.setShape(random.bounded(2) ? BrushShape::Square : BrushShape::Round);
            const QPoint from(random.bounded(size.width()), random.bounded(size.height()));
            const QPoint to = from + QPoint(random.bounded(-30, 31), random.bounded(-30, 31));
            StrokeGeometry geometry;
            geometry.pixelWidth = pixelWidth;
            CoveredPaint paint;
            paint.colour = uchar(random.bounded(16));
            const PaintRules rules = paintRulesFor(project);

            Colormap together = artwork;
            FootprintMask mask(size, pixelWidth);
            const QRect togetherRect = applySymmetricStrokeSegment(
                together, mask, brush, from, to, geometry, copies, paint, rules, {});
            Colormap oneByOne = artwork;
            QRect oneByOneRect;
            const QPointF anchors = brush.anchors(pixelWidth, 1.0);
            for (const SymmetryTransform& copy : copies) {
                oneByOneRect |= applyStrokeSegment(oneByOne, mask, brush, copy.mapAnchored(from, anchors),
                    copy.mapAnchored(to, anchors), geometry, copy.extraRotation, copy.mirrored, paint, rules);
            }
            QVERIFY2(together == oneByOne, qPrintable(QStringLiteral("round %1 differs").arg(round)));
            QCOMPARE(togetherRect, oneByOneRect);
        }
    }

    // Copies that leave the pixel grid still keep the drawing's own symmetry.
    void offGridCopiesKeepTheDisplayShape()
    {
        // On multicolor a canvas pixel is two display units wide, so the diagonal mirror
        // turns a horizontal line into a vertical one twice as many rows long.
        Canvas multicolor(CanvasMode::Multicolor);
        const SymmetryAxes axes = SymmetryAxes::centered(multicolor.project.size());
        const SymmetryTransform diagonal = symmetryTransforms(SymmetryMode::BiQuadrant, axes, 2, 1.0).at(4);
        QVERIFY(!latticeMap(diagonal));
        QRect bounds;
        for (const auto& [x, y] : multicolor.paint(Brush(1), QPoint(60, 50), QPoint(64, 50), {diagonal}, 0.0))
            bounds |= QRect(x, y, 1, 1);
        QCOMPARE(bounds.width(), 1);
        QCOMPARE(bounds.height() - 1, 2 * 4);

        // Eight turned copies on hires: the whole drawing maps onto itself by a quarter turn.
        Canvas hires(CanvasMode::Hires);
        const QList<SymmetryTransform> copies
            = symmetryTransforms(SymmetryMode::Kaleidoscope, SymmetryAxes {171, 289}, 1, 1.0);
        Brush brush(5);
        const PixelSet drawing = hires.paint(brush, QPoint(150, 70), QPoint(163, 75), copies, 0.0);
        QCOMPARE(mapped(drawing, copies.at(2)), drawing);
        QVERIFY(mapped(drawing, copies.at(1)) != drawing);
    }
};

QTEST_MAIN(TestSymmetry)
#include "tst_symmetry.moc"
