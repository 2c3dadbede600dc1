#include "widgets/export_image_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

ExportImageDialog::ExportImageDialog(const QString& nativeFormatName, bool preferNative, bool offerBorders,
    bool includeBorders, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Export to Image"));
    auto* layout = new QVBoxLayout(this);
    m_native = new QRadioButton(nativeFormatName, this);
    m_modern = new QRadioButton(tr("Modern image (PNG, BMP, ...)"), this);
    layout->addWidget(m_native);
    layout->addWidget(m_modern);
    (preferNative ? m_native : m_modern)->setChecked(true);
    if (offerBorders) {
        m_borders = new QCheckBox(tr("Include all borders"), this);
        m_borders->setChecked(includeBorders);
        // The C64's picture formats hold the bitmap alone; only an image can show the frame.
        m_borders->setEnabled(m_modern->isChecked());
        connect(m_modern, &QRadioButton::toggled, m_borders, &QCheckBox::setEnabled);
        auto* indented = new QVBoxLayout;
        indented->setContentsMargins(24, 0, 0, 0);
        indented->addWidget(m_borders);
        layout->addLayout(indented);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool ExportImageDialog::nativeChosen() const
{
    return m_native->isChecked();
}

bool ExportImageDialog::includeBorders() const
{
    return m_borders && m_borders->isChecked();
}
