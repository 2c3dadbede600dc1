#include "widgets/color_assignment_widget.h"

#include "document/project.h"
#include "model/canvas_region.h"
#include "model/color_slots.h"
#include "view/tool_cursors.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QToolTip>

#include <cmath>

namespace {

// Tile size at rest: a marker is drawn on a 47 x 29 grid.
constexpr int tileWidth = 46;
constexpr int tileHeight = 29;

bool isKnownSlot(ColorAssignmentWidget::Slot slot)
{
    return int(slot) >= 0 && int(slot) < colorSlotCount;
}

bool hasTopBottomBorders(const Project& project)
{
    return project.layout().layout == CanvasLayout::TopBottomBorders;
}

} // namespace

ColorAssignmentWidget::ColorAssignmentWidget(std::shared_ptr<Project> project, QWidget* parent)
    : QWidget(parent)
    , m_project(std::move(project))
{
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(ToolCursors::fill());
}

ColorAssignmentWidget::~ColorAssignmentWidget() = default;

void ColorAssignmentWidget::setProject(std::shared_ptr<Project> project)
{
    m_project = std::move(project);
    updateGeometry();
    update();
}

QList<ColorAssignmentWidget::Slot> ColorAssignmentWidget::slotsFor(const Project& project)
{
    QList<Slot> slots;
    const bool multicolor = isMulticolor(project.mode());
    if (multicolor) {
        slots << Slot::Background;
        // The frame of a multicolor side-border canvas is opened up for the sprites and
        // shows the background colour, so it has no border colour of its own.
        if (project.layout().layout == CanvasLayout::SideBorders)
            return slots << Slot::SpriteMc0 << Slot::SpriteMc1;
    }
    if (canvasShowsBorderFrame(project.mode(), project.size(), project.layout()))
        slots << Slot::Border;
    if (hasTopBottomBorders(project)) {
        slots << Slot::TopBorderBackground;
        if (multicolor)
            slots << Slot::TopBorderMc0 << Slot::TopBorderMc1;
        slots << Slot::BottomBorderBackground;
        if (multicolor)
            slots << Slot::BottomBorderMc0 << Slot::BottomBorderMc1;
    }
    return slots;
}

QString ColorAssignmentWidget::slotName(Slot slot, const Project& project)
{
    switch (slot) {
    case Slot::Background:
        return tr("Background");
    case Slot::Border:
        // With sprites in the top and bottom borders only the side bars keep this colour.
        return hasTopBottomBorders(project) ? tr("Side borders") : tr("Border");
    case Slot::SpriteMc0:
        return tr("Sprite multicolor 0 (both side borders)");
    case Slot::SpriteMc1:
        return tr("Sprite multicolor 1 (both side borders)");
    case Slot::TopBorderBackground:
        return tr("Top border background");
    case Slot::TopBorderMc0:
        return tr("Top border sprite multicolor 0");
    case Slot::TopBorderMc1:
        return tr("Top border sprite multicolor 1");
    case Slot::BottomBorderBackground:
        return tr("Bottom border background");
    case Slot::BottomBorderMc0:
        return tr("Bottom border sprite multicolor 0");
    case Slot::BottomBorderMc1:
        return tr("Bottom border sprite multicolor 1");
    }
    return tr("Background");
}

QString ColorAssignmentWidget::slotMarker(Slot slot, const Project& project)
{
    switch (slot) {
    case Slot::Background:
        break;
    case Slot::Border:
        return hasTopBottomBorders(project) ? QStringLiteral("col_sideborders")
                                            : QStringLiteral("col_border");
    case Slot::SpriteMc0:
    case Slot::TopBorderMc0:
        return QStringLiteral("col_upperborder_spriteglobal1");
    case Slot::SpriteMc1:
    case Slot::TopBorderMc1:
        return QStringLiteral("col_upperborder_spriteglobal2");
    case Slot::TopBorderBackground:
        return QStringLiteral("col_upperborder");
    case Slot::BottomBorderBackground:
        return QStringLiteral("col_lowerborder");
    case Slot::BottomBorderMc0:
        return QStringLiteral("col_lowerborder_spriteglobal1");
    case Slot::BottomBorderMc1:
        return QStringLiteral("col_lowerborder_spriteglobal2");
    }
    return QStringLiteral("col_bg");
}

uchar ColorAssignmentWidget::slotIndex(Slot slot) const
{
    const Slot known = isKnownSlot(slot) ? slot : Slot::Background;
    return m_project ? m_project->slotIndex(HistoryColorSlot(int(known))) : 0;
}

QRectF ColorAssignmentWidget::slotRect(int position, int count) const
{
    const double width = count > 0 ? double(this->width()) / count : 0.0;
    return {position * width, 0.0, width, double(height())};
}

void ColorAssignmentWidget::setScreenEdge(const QColor& color)
{
    if (color == m_screenEdge)
        return;
    m_screenEdge = color;
    update();
}

void ColorAssignmentWidget::setScreenRadius(double radius)
{
    if (radius == m_screenRadius)
        return;
    m_screenRadius = radius;
    update();
}

QSize ColorAssignmentWidget::sizeHint() const
{
    const qsizetype count = m_project ? slotsFor(*m_project).size() : 0;
    return {tileWidth * int(count), tileHeight};
}

QSize ColorAssignmentWidget::minimumSizeHint() const
{
    return sizeHint();
}

int ColorAssignmentWidget::positionAt(double x, int count) const
{
    if (count <= 0 || width() <= 0)
        return -1;
    const double position = std::floor(x * count / width());
    return position >= 0 && position < count ? int(position) : -1;
}

QSvgRenderer* ColorAssignmentWidget::markerRenderer(const QString& name)
{
    auto found = m_markers.constFind(name);
    if (found != m_markers.constEnd())
        return found.value();
    auto* renderer = new QSvgRenderer(QStringLiteral(":/dashboard/%1.svg").arg(name), this);
    m_markers.insert(name, renderer);
    return renderer;
}

bool ColorAssignmentWidget::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QList<Slot> slots = m_project ? slotsFor(*m_project) : QList<Slot>();
    const int position = positionAt(help->pos().x(), int(slots.size()));
    if (position < 0) {
        QToolTip::hideText();
    } else {
        const QString text = tr("%1\nLeft-click: assign primary color, right-click: secondary.")
                                 .arg(slotName(slots[position], *m_project));
        QToolTip::showText(help->globalPos(), text, this, slotRect(position, int(slots.size())).toRect());
    }
    return true;
}

void ColorAssignmentWidget::paintEvent(QPaintEvent*)
{
    if (!m_project)
        return;
    const QList<Slot> slots = slotsFor(*m_project);
    if (slots.isEmpty())
        return;
    const int count = int(slots.size());

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath screen;
    const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    screen.addRoundedRect(outline, m_screenRadius, m_screenRadius);
    painter.setClipPath(screen);

    for (int position = 0; position < count; ++position) {
        const Slot slot = slots[position];
        const QRectF column = slotRect(position, count);
        painter.fillRect(column, QColor::fromRgb(m_project->palette().colorAt(slotIndex(slot))));

        // The marker's 47 x 29 grid is laid over the column slightly oversized, so its
        // veiled edge runs under the frame instead of leaving a sliver of bare colour.
        QSvgRenderer* marker = markerRenderer(slotMarker(slot, *m_project));
        if (marker->isValid()) {
            const QSizeF markerSize(47.0 * column.width() / 45.125, 29.0 * column.height() / 28.0);
            QRectF target(QPointF(), markerSize);
            target.moveCenter(column.center());
            marker->render(&painter, target);
        }
    }

    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(m_screenEdge, 1.0));
    for (int position = 1; position < count; ++position) {
        const double x = std::round(slotRect(position, count).left()) + 0.5;
        painter.drawLine(QPointF(x, outline.top()), QPointF(x, outline.bottom()));
    }
    painter.drawRoundedRect(outline, m_screenRadius, m_screenRadius);
}

void ColorAssignmentWidget::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if ((button != Qt::LeftButton && button != Qt::RightButton) || !m_project)
        return;
    const QList<Slot> slots = slotsFor(*m_project);
    const int position = positionAt(event->position().x(), int(slots.size()));
    if (position >= 0)
        Q_EMIT slotClicked(slots[position], button);
}
