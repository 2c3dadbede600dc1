#include "widgets/texture_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int slotSide = 22;

} // namespace

TextureWidget::TextureWidget(QWidget* parent)
    : QWidget(parent)
{
    setToolTip(tr("Paint texture: white cells paint the stroke's color;\n"
                  "black cells paint the other color or stay untouched\n"
                  "(Options → Two-Color Texture / Texture Stencil).\n"
                  "Right-click a pattern to select its negative."));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TextureWidget::setTextures(const QList<Texture>& textures, const QList<QImage>& swatches)
{
    m_textures = textures;
    m_swatches = swatches.size() == textures.size() ? swatches : QList<QImage>();
    m_selected = 0;
    m_negative = false;
    updateGeometry();
    update();
    if (!m_textures.isEmpty())
        Q_EMIT textureSelected(m_textures.first());
}

QRect TextureWidget::slotRect(int slot) const
{
    const int count = std::max<int>(1, int(m_textures.size()));
    const int left = slot * width() / count;
    const int right = (slot + 1) * width() / count;
    return QRect(left, 0, right - left, height());
}

QSize TextureWidget::sizeHint() const
{
    return QSize(std::max(slotSide, slotSide * int(m_textures.size())), slotSide);
}

QSize TextureWidget::minimumSizeHint() const
{
    return sizeHint();
}

void TextureWidget::mousePressEvent(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    if ((!left && !right) || m_textures.isEmpty() || width() <= 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    const int count = int(m_textures.size());
    const int slot = int(std::floor(count * event->position().x() / width()));
    if (slot < 0 || slot >= count)
        return;
    const Texture& texture = m_textures[slot];
    if (left) {
        if (slot == m_selected && !m_negative)
            return;
        m_selected = slot;
        m_negative = false;
        update();
        Q_EMIT textureSelected(texture);
        return;
    }
    // The negative of the solid pen would paint nothing, so a right click there picks it.
    const bool negative = !texture.isSolid();
    if (slot == m_selected && negative == m_negative)
        return;
    m_selected = slot;
    m_negative = negative;
    update();
    Q_EMIT textureSelected(negative ? texture.inverted() : texture);
}

void TextureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor on = palette().color(QPalette::WindowText);
    const QColor off = palette().color(QPalette::Window).darker(150);
    for (int slot = 0; slot < m_textures.size(); ++slot) {
        const QRect cell = slotRect(slot).adjusted(2, 2, -2, -2);
        const bool selected = slot == m_selected;
        QImage swatch
            = m_swatches.isEmpty() ? m_textures[slot].toImage(on.rgb(), off.rgb()) : m_swatches[slot];
        if (selected && m_negative)
            swatch.invertPixels();
        painter.drawImage(cell, swatch);
        if (selected) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(slotRect(slot)).adjusted(1, 1, -1, -1));
        }
    }
}
