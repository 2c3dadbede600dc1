#include "widgets/import_sprites_dialog.h"

#include "document/project.h"
#include "formats/sprites/native_sprites.h"
#include "formats/sprites/sprite_placement.h"
#include "widgets/sprite_import_options_widget.h"

#include <QFileInfo>

namespace {

// Without a loaded translation the toolkit leaves "(s)" in "%n sprite(s)", so English
// gets its plural here.
QString spriteCount(int count)
{
    const QString translated = ImportSpritesDialog::tr("%n sprite(s)", nullptr, count);
    if (!translated.endsWith(QLatin1String("sprite(s)")))
        return translated;
    return count == 1 ? QStringLiteral("1 sprite") : QStringLiteral("%1 sprites").arg(count);
}

} // namespace

ImportSpritesDialog::ImportSpritesDialog(
    const Project& project, uchar penColor, const QString& startDir, QWidget* parent)
    : ImportFileDialog(
        parent, tr("Import Sprites"), startDir, tr("Sprite Files (*.prg *.pmap);;All Files (*)"))
    , m_palette(project.palette())
    , m_mode(project.mode())
    , m_layout(project.layout())
{
    m_options = new SpriteImportOptionsWidget(project, penColor, this);
    addToPreviewPane(m_options);
    connect(m_options, &SpriteImportOptionsWidget::optionsChanged, this, [this] { updatePreview(m_path); });
}

void ImportSpritesDialog::updatePreview(const QString& path)
{
    m_path = path;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        showPreview(QImage(), tr("Select a file to preview it."));
        return;
    }
    NativeSpriteData data;
    QString error;
    if (!readNativeSpriteFile(path, &data, &error)) {
        showPreview(QImage(), error);
        return;
    }
    const int capacity = nativeSpriteCapacity(m_layout.layout);
    if (data.records.size() > capacity) {
        showPreview(QImage(),
            tr("The file holds %1 sprites; this canvas takes at most %2.")
                .arg(data.records.size())
                .arg(capacity));
        return;
    }
    showPreview(nativeSpritePreview(
                    data, m_mode, m_layout, m_options->importColors(), m_options->importOptions(), m_palette),
        spriteCount(int(data.records.size())));
}
