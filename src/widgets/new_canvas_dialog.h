#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QSpinBox;

// Chooses mode, layout, screens across and size of a new canvas. The inputs follow the
// C64's geometry as they change: sprite layouts have the fixed size of the screen with
// its borders, several screens fix the width, and sizes snap to whole char cells.
class NewCanvasDialog : public QDialog {
    Q_OBJECT

public:
    explicit NewCanvasDialog(QWidget* parent = nullptr);

    CanvasMode mode() const;
    CanvasLayout layout() const;
    int screensAcross() const;
    QSize canvasSize() const;

    QRadioButton* hiresButton() const { return m_hires; }
    QRadioButton* multicolorButton() const { return m_multicolor; }
    QRadioButton* bitmapOnlyButton() const { return m_bitmapOnly; }
    QRadioButton* sideBordersButton() const { return m_sideBorders; }
    QRadioButton* topBottomBordersButton() const { return m_topBottomBorders; }
    QSpinBox* screensAcrossSpinBox() const { return m_screens; }
    QSpinBox* widthSpinBox() const { return m_width; }
    QSpinBox* heightSpinBox() const { return m_height; }
    QString displaySizeText() const;

private:
    void updateForLayout();
    void updateDisplaySizeLabel();
    void snapToStep(QSpinBox* spin);

    QRadioButton* m_hires = nullptr;
    QRadioButton* m_multicolor = nullptr;
    QRadioButton* m_bitmapOnly = nullptr;
    QRadioButton* m_sideBorders = nullptr;
    QRadioButton* m_topBottomBorders = nullptr;
    QSpinBox* m_screens = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QLabel* m_displaySize = nullptr;

    // What the inputs were last laid out for.
    CanvasMode m_lastMode = CanvasMode::Hires;
    CanvasLayout m_lastLayout = CanvasLayout::BitmapOnly;
    int m_lastScreens = 1;
};
