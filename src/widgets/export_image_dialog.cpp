#include "widgets/export_image_dialog.h"

#include "formats/program_data/assembler_dialect.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

ExportImageDialog::ExportImageDialog(const QString& nativeFormatName, bool preferNative, bool offerBorders,
    bool includeBorders, QWidget* parent, const QString& programmerFormat)
    : QDialog(parent)
{
    setWindowTitle(tr("Export to Image"));
    auto* layout = new QVBoxLayout(this);
    m_modern = new QRadioButton(tr("Modern image (PNG, BMP, ...)"), this);
    if (!nativeFormatName.isEmpty()) {
        m_native = new QRadioButton(nativeFormatName, this);
        layout->addWidget(m_native);
    }
    layout->addWidget(m_modern);
    (preferNative && m_native ? m_native : m_modern)->setChecked(true);
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

    m_raw = new QRadioButton(tr("Raw planes for programmers (.bin)"), this);
    m_source = new QRadioButton(tr("Assembler source for"), this);
    m_assembler = new QComboBox(this);
    m_assembler->setObjectName(QStringLiteral("assemblerCombo"));
    for (const AssemblerDialectRow& row : assemblerDialects()) {
        m_assembler->addItem(
            QStringLiteral("%1 (.%2)").arg(QLatin1String(row.name), QLatin1String(row.suffix)),
            QLatin1String(row.key));
    }
    const AssemblerDialectRow* remembered = assemblerDialectNamed(programmerFormat);
    if (remembered) {
        m_assembler->setCurrentIndex(m_assembler->findData(QLatin1String(remembered->key)));
        m_source->setChecked(true);
    } else if (programmerFormat == QLatin1String("raw")) {
        m_raw->setChecked(true);
    }
    m_assembler->setEnabled(m_source->isChecked());
    connect(m_source, &QRadioButton::toggled, m_assembler, &QComboBox::setEnabled);
    layout->addWidget(m_raw);
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(m_source);
    sourceRow->addWidget(m_assembler, 1);
    layout->addLayout(sourceRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool ExportImageDialog::nativeChosen() const
{
    return m_native && m_native->isChecked();
}

bool ExportImageDialog::includeBorders() const
{
    return m_borders && m_borders->isChecked();
}

QString ExportImageDialog::programmerFormat() const
{
    if (m_raw->isChecked())
        return QStringLiteral("raw");
    if (m_source->isChecked())
        return m_assembler->currentData().toString();
    return {};
}
