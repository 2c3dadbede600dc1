#include "widgets/elided_label.h"

#include <QEvent>
#include <QFontMetrics>

#include <cmath>

ElidedLabel::ElidedLabel(QWidget* parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text)
{
    if (text == m_fullText)
        return;
    m_fullText = text;
    growWidestText();
    updateElidedText();
}

void ElidedLabel::setKeepsWidestText(bool on)
{
    if (on == m_keepsWidestText)
        return;
    m_keepsWidestText = on;
    setSizePolicy(on ? QSizePolicy::Preferred : QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_widestTextWidth = 0;
    growWidestText();
    updateGeometry();
}

void ElidedLabel::growWidestText()
{
    if (!m_keepsWidestText)
        return;
    // Eliding measures in fractions of a pixel; a whole pixel more keeps a text that just
    // fits from being shortened.
    const int width = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(m_fullText))) + 1;
    if (width <= m_widestTextWidth)
        return;
    m_widestTextWidth = width;
    updateGeometry();
}

QSize ElidedLabel::sizeHint() const
{
    const QSize label = QLabel::sizeHint();
    if (!m_keepsWidestText)
        return label;
    const QMargins margins = contentsMargins();
    return {m_widestTextWidth + margins.left() + margins.right(), label.height()};
}

QSize ElidedLabel::minimumSizeHint() const
{
    // An ellipsis is the least a label can show.
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) + margins.left() + margins.right(),
        QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    updateElidedText();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        // Widths measured in the old font no longer hold.
        m_widestTextWidth = 0;
        growWidestText();
        updateElidedText();
    }
}

void ElidedLabel::updateElidedText()
{
    const QString shown = fontMetrics().elidedText(m_fullText, Qt::ElideRight, contentsRect().width());
    setText(shown);
    setToolTip(shown == m_fullText ? QString() : m_fullText);
}
