#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/palette.h"
#include "widgets/import_file_dialog.h"

class Project;
class SpriteImportOptionsWidget;

// Import Sprites' chooser: the highlighted sprite file's records as they will land, and
// what their attribute bytes bring.
class ImportSpritesDialog : public ImportFileDialog {
    Q_OBJECT

public:
    ImportSpritesDialog(
        const Project& project, uchar penColor, const QString& startDir, QWidget* parent = nullptr);

    void updatePreview(const QString& path) override;
    SpriteImportOptionsWidget* options() const { return m_options; }

private:
    Palette m_palette;
    CanvasMode m_mode;
    CanvasLayoutSpec m_layout;
    SpriteImportOptionsWidget* m_options = nullptr;
    QString m_path;
};
