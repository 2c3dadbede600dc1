#include "app/status_texts.h"

#include "document/project.h"
#include "model/canvas_mode.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"
#include "paint/brush.h"
#include "rules/canvas_region_at.h"

#include <QCoreApplication>

#include <cmath>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("StatusBar", text);
}

// A top or bottom strip is two 21-line rows of hardware sprites.
constexpr int hardwareSpriteHeight = 21;

QString modeText(const Project& project)
{
    QString text = isMulticolor(project.mode()) ? tr("Multicolor") : tr("Hires");
    if (project.layout().layout == CanvasLayout::SideBorders)
        text += tr(" + Side Sprites");
    else if (project.layout().layout == CanvasLayout::TopBottomBorders)
        text += tr(" + T/B Sprites");
    if (project.screensAcross() > 1)
        text += tr(" ×%1").arg(project.screensAcross());
    return text;
}

QString aspectText(double aspect)
{
    // The two monitor standards stretch a C64 pixel by these factors.
    if (qFuzzyCompare(aspect, 0.9375))
        return tr("PAL");
    if (qFuzzyCompare(aspect, 0.75))
        return tr("NTSC");
    return tr("Square");
}

QString rotationText(double degrees)
{
    QString text = QString::number(degrees, 'f', 2);
    // A hair below zero is no turn at all.
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    return text;
}

QString pair(int column, int row, const QString& suffix = {})
{
    return QStringLiteral("(%1, %2%3)").arg(column).arg(row).arg(suffix);
}

struct Position {
    QString charCell = QStringLiteral("--");
    QString sprite = QStringLiteral("--");
};

Position positionTexts(const Project& project, std::optional<QPoint> hover)
{
    Position texts;
    if (!hover)
        return texts;
    const CanvasMode mode = project.mode();
    const std::optional<CanvasRegion> region = canvasRegionAt(mode, project.size(), project.layout(), *hover);
    if (!region)
        return texts;
    const QRect& rect = region->rect;
    const QPoint at = *hover - rect.topLeft();
    if (!region->isSpriteStrip()) {
        const QSize cell = canvasModeCellSize(mode);
        texts.charCell = pair(at.x() / cell.width(), at.y() / cell.height());
    } else if (!region->isHorizontalStrip()) {
        // Each side strip is two sprites across; the right strip's are numbered 2 and 3.
        const int column = at.x() / spriteColumnWidth(mode) + (rect.left() != 0 ? 2 : 0);
        texts.sprite = pair(column, spriteHardwareRowAt(hover->y()));
    } else {
        const SpriteStripGrid grid = spriteStripGrid(*region, mode, project.layout());
        const bool top = region->side == SpriteStripSide::Top;
        texts.sprite
            = pair(grid.columnAt(hover->x()), at.y() / hardwareSpriteHeight, top ? tr("T") : tr("B"));
    }
    return texts;
}

} // namespace

StatusTexts statusTexts(
    const Project& project, BrushShape brushShape, int penWidth, std::optional<QPoint> hoverPixel)
{
    const Transform& transform = project.transform();
    const Position position = positionTexts(project, hoverPixel);
    StatusTexts texts;
    texts.mode = tr("Mode: %1").arg(modeText(project));
    texts.size = tr("Size: %1×%2").arg(project.size().width()).arg(project.size().height());
    texts.aspect = tr("Aspect: %1").arg(aspectText(transform.displayPixelAspect()));
    texts.brush
        = tr("Brush: %1 %2").arg(brushShape == BrushShape::Square ? tr("Square") : tr("Round")).arg(penWidth);
    texts.zoom = tr("Zoom: %1%").arg(qint64(std::round(transform.zoom() * 100.0)));
    texts.rotation = tr("Rotation: %1°").arg(rotationText(transform.rotation()));
    texts.charCell = tr("Char: %1").arg(position.charCell);
    texts.sprite = tr("Sprite: %1").arg(position.sprite);
    return texts;
}
