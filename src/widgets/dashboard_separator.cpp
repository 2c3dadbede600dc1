#include "widgets/dashboard_separator.h"

#include <QPainter>

#include <algorithm>

DashboardSeparator::DashboardSeparator(QWidget* parent)
    : QWidget(parent)
{
    setFixedWidth(m_lineWidth + m_leftGap + m_rightGap);
}

void DashboardSeparator::setLineColor(const QColor& colour)
{
    if (m_lineColor == colour)
        return;
    m_lineColor = colour;
    update();
}

void DashboardSeparator::setMetric(int& field, int value)
{
    value = std::max(0, value);
    if (field == value)
        return;
    field = value;
    setFixedWidth(m_lineWidth + m_leftGap + m_rightGap);
    update();
}

void DashboardSeparator::setLineWidth(int width)
{
    setMetric(m_lineWidth, width);
}

void DashboardSeparator::setVerticalInset(int inset)
{
    setMetric(m_verticalInset, inset);
}

void DashboardSeparator::setLeftGap(int gap)
{
    setMetric(m_leftGap, gap);
}

void DashboardSeparator::setRightGap(int gap)
{
    setMetric(m_rightGap, gap);
}

void DashboardSeparator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(
        QRect(m_leftGap, m_verticalInset, m_lineWidth, height() - 2 * m_verticalInset), m_lineColor);
}
