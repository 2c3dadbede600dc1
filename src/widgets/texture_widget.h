#pragma once

#include "paint/texture.h"

#include <QImage>
#include <QList>
#include <QWidget>

// The row of paint textures on the brush dashboard. A left click picks a pattern, a right
// click its negative (the solid pen has none worth having: it would paint nothing).
class TextureWidget : public QWidget {
    Q_OBJECT

public:
    explicit TextureWidget(QWidget* parent = nullptr);

    // Swatches are kept only when there is exactly one per texture. Selects slot 0.
    void setTextures(const QList<Texture>& textures, const QList<QImage>& swatches);
    const QList<Texture>& textures() const { return m_textures; }
    qint32 selectedSlot() const { return m_selected; }
    bool negative() const { return m_negative; }
    QRect slotRect(int slot) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void textureSelected(const Texture& texture);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Texture> m_textures;
    QList<QImage> m_swatches;
    qint32 m_selected = 0;
    bool m_negative = false;
};
