#include "app/status_bar_panel.h"

#include "app/status_texts.h"
#include "widgets/elided_label.h"

#include <QHBoxLayout>
#include <QTimer>

StatusBarPanel::StatusBarPanel(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Shares by stretch cut short facts ("Size: 320×…") while the message line stood
    // empty, and a layout gives a stretched item no more than its minimum before it
    // shares out the rest. So each readout asks for its widest text with no stretch, and
    // the message line, the only one that stretches, takes what is left; in a narrow
    // window the readouts still shrink and elide.
    m_mode = addLabel(0);
    m_size = addLabel(0);
    m_aspect = addLabel(0);
    m_brush = addLabel(0);
    m_zoom = addLabel(0);
    m_rotation = addLabel(0);
    m_charCell = addLabel(0);
    m_sprite = addLabel(0);
    m_message = addLabel(1);
    for (ElidedLabel* readout : {m_mode, m_size, m_aspect, m_brush, m_zoom, m_rotation, m_charCell, m_sprite})
        readout->setKeepsWidestText(true);

    m_messageTimer = new QTimer(this);
    m_messageTimer->setSingleShot(true);
    connect(m_messageTimer, &QTimer::timeout, this, [this] { m_message->setFullText(QString()); });
}

ElidedLabel* StatusBarPanel::addLabel(int stretch)
{
    auto* label = new ElidedLabel(this);
    label->setContentsMargins(6, 0, 6, 0);
    static_cast<QHBoxLayout*>(layout())->addWidget(label, stretch);
    return label;
}

void StatusBarPanel::setTexts(const StatusTexts& texts)
{
    m_mode->setFullText(texts.mode);
    m_size->setFullText(texts.size);
    m_aspect->setFullText(texts.aspect);
    m_brush->setFullText(texts.brush);
    m_zoom->setFullText(texts.zoom);
    m_rotation->setFullText(texts.rotation);
    m_charCell->setFullText(texts.charCell);
    m_sprite->setFullText(texts.sprite);
}

void StatusBarPanel::showMessage(const QString& text, std::chrono::milliseconds duration)
{
    m_message->setFullText(text);
    m_messageTimer->start(duration);
}
