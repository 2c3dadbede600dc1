#include "widgets/dashboard_bar.h"

#include "widgets/dashboard_button.h"
#include "widgets/dashboard_separator.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int iconSide = 20;

} // namespace

DashboardBar::DashboardBar(QWidget* parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(10, 5, 10, 5);
    m_layout->setSpacing(2);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_StyledBackground, false);
}

DashboardButton* DashboardBar::addActionButton(QAction* action)
{
    auto* button = new DashboardButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(iconSide, iconSide));
    button->setFocusPolicy(Qt::NoFocus);
    m_layout->addWidget(button);
    return button;
}

DashboardButton* DashboardBar::addButton(const QIcon& icon, const QString& toolTip)
{
    auto* button = new DashboardButton(this);
    button->setIcon(icon);
    button->setToolTip(toolTip);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(iconSide, iconSide));
    button->setFocusPolicy(Qt::NoFocus);
    m_layout->addWidget(button);
    return button;
}

void DashboardBar::addWidget(QWidget* widget, int stretch)
{
    m_layout->addWidget(widget, stretch);
}

void DashboardBar::addSeparator()
{
    m_layout->addWidget(new DashboardSeparator(this));
}

void DashboardBar::addSpacing(int size)
{
    m_layout->addSpacing(size);
}

void DashboardBar::addStretch()
{
    m_layout->addStretch();
}

void DashboardBar::addVerticalPadding(int padding)
{
    QMargins margins = m_layout->contentsMargins();
    margins.setTop(margins.top() + padding);
    margins.setBottom(margins.bottom() + padding);
    m_layout->setContentsMargins(margins);
}

void DashboardBar::setPillFill(const QColor& colour)
{
    if (m_pillFill == colour)
        return;
    m_pillFill = colour;
    update();
}

void DashboardBar::setPillEdge(const QColor& colour)
{
    if (m_pillEdge == colour)
        return;
    m_pillEdge = colour;
    update();
}

void DashboardBar::setPillRadius(double radius)
{
    if (qFuzzyCompare(m_pillRadius, radius))
        return;
    m_pillRadius = radius;
    update();
}

void DashboardBar::setPillOpacity(double opacity)
{
    if (qFuzzyCompare(m_pillOpacity, opacity))
        return;
    m_pillOpacity = opacity;
    update();
}

void DashboardBar::setSquareBottomCorners(bool on)
{
    if (m_squareBottomCorners == on)
        return;
    m_squareBottomCorners = on;
    update();
}

void DashboardBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_pillOpacity);
    // Half a pixel in, so the one-pixel edge lands on whole pixels.
    const QRectF pill = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(pill, m_pillRadius, m_pillRadius);
    if (m_squareBottomCorners) {
        QPainterPath lower;
        lower.addRect(pill.adjusted(0, pill.height() / 2, 0, 0));
        path = path.united(lower);
    }
    painter.setPen(QPen(m_pillEdge, 1));
    painter.setBrush(m_pillFill);
    painter.drawPath(path);
}
