#pragma once

#include "model/palette.h"
#include "widgets/import_file_dialog.h"

// Open Project's chooser: the highlighted project's picture and caption, read from the
// start of the file only, so even a long history previews at once.
class OpenProjectDialog : public ImportFileDialog {
    Q_OBJECT

public:
    OpenProjectDialog(const Palette& palette, const QString& startDir, QWidget* parent = nullptr);

    void updatePreview(const QString& path) override;

private:
    Palette m_palette;
};
