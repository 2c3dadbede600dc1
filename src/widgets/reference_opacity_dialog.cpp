#include "widgets/reference_opacity_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace {

QString percentText(int percent)
{
    return QObject::tr("%1 %").arg(percent);
}

} // namespace

ReferenceOpacityDialog::ReferenceOpacityDialog(int percent, QWidget* parent)
    : QDialog(parent)
    , m_opening(percent)
{
    setWindowTitle(tr("Reference Layer Opacity"));
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, 100);
    m_slider->setValue(percent);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(25);
    m_slider->setMinimumWidth(200);
    m_value = new QLabel(percentText(percent), this);
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Wide enough for "100 %", so the slider does not move as the number shrinks.
    m_value->setMinimumWidth(m_value->fontMetrics().horizontalAdvance(percentText(100)));
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
        m_value->setText(percentText(value));
        Q_EMIT opacityChanged(value);
    });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Opacity:"), this));
    row->addWidget(m_slider, 1);
    row->addWidget(m_value);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReferenceOpacityDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

int ReferenceOpacityDialog::opacityPercent() const
{
    return m_slider->value();
}

void ReferenceOpacityDialog::reject()
{
    if (m_slider->value() != m_opening)
        Q_EMIT opacityChanged(m_opening);
    QDialog::reject();
}
