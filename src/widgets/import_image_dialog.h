#pragma once

#include "model/canvas_mode.h"
#include "model/palette.h"
#include "widgets/import_file_dialog.h"

class ImageImportOptionsWidget;

// Import Image's chooser: the highlighted C64 picture as the C64 shows it, named by its
// format, or why it cannot be imported here; with the target screen on a wide canvas.
class ImportImageDialog : public ImportFileDialog {
    Q_OBJECT

public:
    ImportImageDialog(const Palette& palette, CanvasMode canvasMode, int screensAcross,
        const QString& startDir, QWidget* parent = nullptr);

    void updatePreview(const QString& path) override;
    // 0 on a one-screen canvas.
    int targetScreen() const;

private:
    Palette m_palette;
    CanvasMode m_canvasMode;
    ImageImportOptionsWidget* m_options = nullptr;
};
