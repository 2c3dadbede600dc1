#include "widgets/import_options_dialog.h"

#include "widgets/image_import_options_widget.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

ImportOptionsDialog::ImportOptionsDialog(int screensAcross, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Import Image"));
    auto* layout = new QVBoxLayout(this);
    m_options = new ImageImportOptionsWidget(screensAcross, this);
    layout->addWidget(m_options);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int ImportOptionsDialog::targetScreen() const
{
    return m_options->targetScreen();
}
