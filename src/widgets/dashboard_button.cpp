#include "widgets/dashboard_button.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

DashboardButton::DashboardButton(QWidget* parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
}

void DashboardButton::setInactiveIconColor(const QColor& colour)
{
    if (m_inactiveColor == colour)
        return;
    m_inactiveColor = colour;
    clearTintCache();
    update();
}

void DashboardButton::setActiveIconColor(const QColor& colour)
{
    if (m_activeColor == colour)
        return;
    m_activeColor = colour;
    clearTintCache();
    update();
}

void DashboardButton::clearTintCache()
{
    m_tintValid = false;
    m_tintedOff = QIcon();
    m_tintedOn = QIcon();
}

QIcon DashboardButton::shownIcon(bool checked)
{
    const QIcon source = icon();
    const QColor colour = checked ? m_activeColor : m_inactiveColor;
    if (source.isNull() || !colour.isValid())
        return source;
    if (!m_tintValid || m_tintedKey != source.cacheKey()) {
        m_tintedOff = m_inactiveColor.isValid() ? tintedIcon(source, iconSize(), m_inactiveColor) : source;
        m_tintedOn = m_activeColor.isValid() ? tintedIcon(source, iconSize(), m_activeColor) : source;
        m_tintedKey = source.cacheKey();
        m_tintValid = true;
    }
    return checked ? m_tintedOn : m_tintedOff;
}

void DashboardButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = shownIcon(isChecked());
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

QIcon tintedIcon(const QIcon& icon, const QSize& size, const QColor& colour)
{
    QIcon tinted;
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    for (const qreal scale : {1.0, ratio}) {
        QPixmap pixmap = icon.pixmap(size, scale);
        if (pixmap.isNull())
            continue;
        // Source-in keeps the icon's alpha and takes the colour for every covered pixel.
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), colour);
        painter.end();
        tinted.addPixmap(pixmap);
        if (qFuzzyCompare(scale, ratio))
            break;
    }
    return tinted;
}
