#include "widgets/sprite_import_options_widget.h"

#include "document/project.h"

#include <QComboBox>
#include <QFormLayout>

SpriteImportOptionsWidget::SpriteImportOptionsWidget(const Project& project, uchar penColor, QWidget* parent)
    : QWidget(parent)
    , m_colors(project.colorSlots())
    , m_penColor(penColor)
{
    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_attributes = new QComboBox(this);
    m_attributes->setObjectName(QStringLiteral("importSpriteAttributeCombo"));
    if (project.layout().layout == CanvasLayout::TopBottomBorders)
        m_attributes->addItem(tr("KROMEL (color + position)"), int(SpriteAttributeMode::ColorAndPosition));
    m_attributes->addItem(tr("Sprite Pad (color)"), int(SpriteAttributeMode::Color));
    m_attributes->addItem(tr("Ignore (use pen color)"), int(SpriteAttributeMode::Ignore));
    layout->addRow(tr("Sprite attributes:"), m_attributes);
    connect(m_attributes, &QComboBox::currentIndexChanged, this, &SpriteImportOptionsWidget::optionsChanged);
}

SpriteImportOptions SpriteImportOptionsWidget::importOptions() const
{
    return {SpriteAttributeMode(m_attributes->currentData().toInt()), m_penColor};
}
