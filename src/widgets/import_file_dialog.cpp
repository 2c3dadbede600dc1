#include "widgets/import_file_dialog.h"

#include "formats/project/project_preview.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

ImportFileDialog::ImportFileDialog(
    QWidget* parent, const QString& caption, const QString& startDir, const QString& filter)
    : QFileDialog(parent, caption, startDir, filter)
{
    // The system's choosers cannot show our preview, so this one is always the toolkit's.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);

    auto* pane = new QWidget(this);
    auto* paneLayout = new QVBoxLayout(pane);
    m_paneLayout = paneLayout;
    paneLayout->setContentsMargins(8, 0, 0, 0);
    m_image = new QLabel(pane);
    m_image->setObjectName(QStringLiteral("previewImage"));
    m_image->setMinimumSize(previewArea);
    m_image->setAlignment(Qt::AlignCenter);
    m_caption = new QLabel(tr("Select a file to preview it."), pane);
    m_caption->setObjectName(QStringLiteral("previewCaption"));
    m_caption->setWordWrap(true);
    m_caption->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_caption->setMaximumWidth(previewArea.width());
    paneLayout->addWidget(m_image);
    paneLayout->addWidget(m_caption, 1);

    // The toolkit's own dialog lays itself out on a grid; the pane takes a column of its
    // own beside the file list, over all its rows.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);

    // Room for the file list beside a preview at its full size.
    resize(sizeHint().expandedTo(QSize(previewArea.width() * 2 + 160, previewArea.height() + 220)));

    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) { updatePreview(path); });
}

void ImportFileDialog::showPreview(const QImage& image, const QString& text)
{
    if (image.isNull())
        m_image->clear();
    else
        m_image->setPixmap(
            QPixmap::fromImage(scaledPreviewImage(image, previewDisplaySize(image.size(), previewArea))));
    m_caption->setText(text);
}

QString ImportFileDialog::previewText() const
{
    return m_caption->text();
}

bool ImportFileDialog::previewShowsImage() const
{
    return !m_image->pixmap().isNull();
}

void ImportFileDialog::addToPreviewPane(QWidget* widget)
{
    m_paneLayout->addWidget(widget);
}
