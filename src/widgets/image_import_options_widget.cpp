#include "widgets/image_import_options_widget.h"

#include "document/project.h"

#include <QComboBox>
#include <QFormLayout>

ImageImportOptionsWidget::ImageImportOptionsWidget(int screensAcross, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_screen = new QComboBox(this);
    for (int screen = 0; screen < screensAcross; ++screen)
        m_screen->addItem(tr("Screen %1").arg(screen + 1), screen);
    layout->addRow(tr("Import into:"), m_screen);
}

bool ImageImportOptionsWidget::isNeededFor(const Project& project)
{
    return project.screensAcross() > 1;
}

int ImageImportOptionsWidget::targetScreen() const
{
    return m_screen->currentData().toInt();
}
