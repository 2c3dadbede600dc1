#include "widgets/new_canvas_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int maxCanvasExtent = 4096;
constexpr int maxScreensAcross = 8;

// The nearest whole number of steps, half a step rounding up, never below one step.
int snappedToStep(int value, int step)
{
    return std::max(step, (value + step / 2) / step * step);
}

bool hasSpriteStrips(CanvasLayout layout)
{
    return layout != CanvasLayout::BitmapOnly;
}

} // namespace

NewCanvasDialog::NewCanvasDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("New Canvas"));

    auto* modeGroup = new QGroupBox(tr("Mode"));
    auto* modeLayout = new QVBoxLayout(modeGroup);
    m_hires = new QRadioButton(tr("&Hires"));
    m_multicolor = new QRadioButton(tr("&Multicolor"));
    m_hires->setChecked(true);
    modeLayout->addWidget(m_hires);
    modeLayout->addWidget(m_multicolor);

    auto* layoutGroup = new QGroupBox(tr("Layout"));
    auto* layoutLayout = new QVBoxLayout(layoutGroup);
    m_bitmapOnly = new QRadioButton(tr("&Bitmap only"));
    m_sideBorders = new QRadioButton(tr("Side-border &sprites"));
    m_topBottomBorders = new QRadioButton(tr("&Top/bottom-border sprites"));
    m_bitmapOnly->setChecked(true);
    layoutLayout->addWidget(m_bitmapOnly);
    layoutLayout->addWidget(m_sideBorders);
    layoutLayout->addWidget(m_topBottomBorders);
    m_screens = new QSpinBox;
    m_screens->setRange(1, maxScreensAcross);
    m_screens->setValue(1);
    auto* screensForm = new QFormLayout;
    screensForm->addRow(tr("Screens &across:"), m_screens);
    layoutLayout->addLayout(screensForm);

    auto* sizeGroup = new QGroupBox(tr("Canvas Size"));
    auto* sizeForm = new QFormLayout(sizeGroup);
    const QSize defaultSize = canvasModeDefaultCanvasSize(CanvasMode::Hires, CanvasLayoutSpec {}, 1);
    m_width = new QSpinBox;
    m_height = new QSpinBox;
    m_width->setRange(1, maxCanvasExtent);
    m_height->setRange(1, maxCanvasExtent);
    m_width->setValue(defaultSize.width());
    m_height->setValue(defaultSize.height());
    // A value typed below one cell becomes one cell, not the value before the typing.
    m_width->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    m_height->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    m_displaySize = new QLabel;
    m_displaySize->setObjectName(QStringLiteral("displaySizeLabel"));
    sizeForm->addRow(tr("&Width:"), m_width);
    sizeForm->addRow(tr("H&eight:"), m_height);
    sizeForm->addRow(m_displaySize);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeGroup);
    layout->addWidget(layoutGroup);
    layout->addWidget(sizeGroup);
    layout->addWidget(buttons);

    for (QRadioButton* button : {m_hires, m_multicolor, m_bitmapOnly, m_sideBorders, m_topBottomBorders}) {
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            // Each change of a group unchecks one button and checks another; one update is enough.
            if (on)
                updateForLayout();
        });
    }
    connect(m_screens, &QSpinBox::valueChanged, this, &NewCanvasDialog::updateForLayout);
    connect(m_width, &QSpinBox::valueChanged, this, &NewCanvasDialog::updateDisplaySizeLabel);
    connect(m_height, &QSpinBox::valueChanged, this, &NewCanvasDialog::updateDisplaySizeLabel);
    connect(m_width, &QSpinBox::editingFinished, this, [this] { snapToStep(m_width); });
    connect(m_height, &QSpinBox::editingFinished, this, [this] { snapToStep(m_height); });

    updateForLayout();
}

CanvasMode NewCanvasDialog::mode() const
{
    return m_multicolor->isChecked() ? CanvasMode::Multicolor : CanvasMode::Hires;
}

CanvasLayout NewCanvasDialog::layout() const
{
    if (m_sideBorders->isChecked())
        return CanvasLayout::SideBorders;
    if (m_topBottomBorders->isChecked())
        return CanvasLayout::TopBottomBorders;
    return CanvasLayout::BitmapOnly;
}

int NewCanvasDialog::screensAcross() const
{
    return hasSpriteStrips(layout()) ? 1 : m_screens->value();
}

QSize NewCanvasDialog::canvasSize() const
{
    if (hasSpriteStrips(layout()))
        return canvasModeDefaultCanvasSize(mode(), CanvasLayoutSpec {layout()}, 1);
    const QSize cell = canvasModeCellSize(mode());
    return {snappedToStep(m_width->value(), cell.width()), snappedToStep(m_height->value(), cell.height())};
}

QString NewCanvasDialog::displaySizeText() const
{
    return m_displaySize->text();
}

void NewCanvasDialog::updateForLayout()
{
    const CanvasMode canvasMode = mode();
    const CanvasLayout canvasLayout = layout();
    const QSize cell = canvasModeCellSize(canvasMode);
    int width = m_width->value();
    int height = m_height->value();

    // The artist chose a picture size on screen; a multicolor pixel covers two of them.
    if (canvasMode != m_lastMode) {
        width
            = int(std::lround(width * canvasModePixelAspect(m_lastMode) / canvasModePixelAspect(canvasMode)));
        m_lastMode = canvasMode;
    }

    m_screens->setEnabled(!hasSpriteStrips(canvasLayout));
    if (hasSpriteStrips(canvasLayout)) {
        // Border sprites sit at fixed places around one screen, so the size is the machine's.
        {
            const QSignalBlocker blocker(m_screens);
            m_screens->setValue(1);
        }
        const QSize fixed = canvasModeDefaultCanvasSize(canvasMode, CanvasLayoutSpec {canvasLayout}, 1);
        width = fixed.width();
        height = fixed.height();
        m_width->setEnabled(false);
        m_height->setEnabled(false);
    } else {
        const int screens = m_screens->value();
        const QSize oneScreen = canvasModeDefaultCanvasSize(canvasMode, CanvasLayoutSpec {}, 1);
        // Leaving a sprite layout drops the size it imposed: a free bitmap starts from one screen.
        const bool leftSpriteLayout = hasSpriteStrips(m_lastLayout);
        if (screens > 1) {
            width = canvasModeDefaultCanvasSize(canvasMode, CanvasLayoutSpec {}, screens).width();
            m_width->setEnabled(false);
        } else {
            m_width->setEnabled(true);
            if (m_lastScreens != 1 || leftSpriteLayout)
                width = oneScreen.width();
        }
        if (leftSpriteLayout)
            height = oneScreen.height();
        m_height->setEnabled(true);
        m_lastScreens = screens;
    }
    m_lastLayout = canvasLayout;

    {
        const QSignalBlocker widthBlocker(m_width);
        const QSignalBlocker heightBlocker(m_height);
        m_width->setRange(cell.width(), maxCanvasExtent);
        m_width->setSingleStep(cell.width());
        m_height->setRange(cell.height(), maxCanvasExtent);
        m_height->setSingleStep(cell.height());
        if (hasSpriteStrips(canvasLayout)) {
            m_width->setValue(width);
            m_height->setValue(height);
        } else {
            m_width->setValue(snappedToStep(width, cell.width()));
            m_height->setValue(snappedToStep(height, cell.height()));
        }
    }
    updateDisplaySizeLabel();
}

void NewCanvasDialog::updateDisplaySizeLabel()
{
    const long screenWidth = std::lround(m_width->value() * canvasModePixelAspect(mode()));
    m_displaySize->setText(tr("%1 × %2 pixels on screen").arg(screenWidth).arg(m_height->value()));
}

void NewCanvasDialog::snapToStep(QSpinBox* spin)
{
    {
        const QSignalBlocker blocker(spin);
        spin->setValue(snappedToStep(spin->value(), spin->singleStep()));
    }
    updateDisplaySizeLabel();
}
