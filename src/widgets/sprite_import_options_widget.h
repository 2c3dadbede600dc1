#pragma once

#include "formats/sprites/native_sprites.h"

#include <QWidget>

class Project;
class QComboBox;

// What Import Sprites asks besides the file: what each sprite's attribute byte brings,
// its colour, its colour and strip column (only the editor's own top/bottom files carry
// columns), or nothing, every sprite then taking the pen colour.
class SpriteImportOptionsWidget : public QWidget {
    Q_OBJECT

public:
    SpriteImportOptionsWidget(const Project& project, uchar penColor, QWidget* parent = nullptr);

    SpriteImportOptions importOptions() const;
    SpriteImportColors importColors() const { return m_colors; }

Q_SIGNALS:
    void optionsChanged();

private:
    QComboBox* m_attributes = nullptr;
    SpriteImportColors m_colors;
    uchar m_penColor = 1;
};
