#include "widgets/convert_image_dialog.h"

#include "convert/display_image.h"
#include "widgets/conversion_preview_widget.h"
#include "widgets/curves_widget.h"
#include "widgets/palette_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <chrono>

namespace {

// The preview follows a drag about 30 times a second.
constexpr std::chrono::milliseconds throttleWindow {33};
constexpr int spacing = 12;

QComboBox* comboOf(const QList<QPair<QString, int>>& items)
{
    auto* combo = new QComboBox;
    for (const auto& [text, value] : items)
        combo->addItem(text, value);
    return combo;
}

QHBoxLayout* labelled(const QString& label, QWidget* control)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label));
    row->addWidget(control);
    return row;
}

} // namespace

ConvertImageDialog::ConvertImageDialog(const QImage& displayImage, const Project* project, QWidget* parent)
    : QDialog(parent)
    , m_displayImage(displayImage)
    , m_working(std::make_shared<Project>(project->mode(), project->size().width(), project->size().height(),
          project->layout(), project->screensAcross()))
{
    setWindowTitle(tr("Image Converter for KROMEL"));
    m_working->setPaletteVariant(project->palette().variant());
    m_working->setColorSlots(project->colorSlots());
    m_throttle.setSingleShot(true);
    m_throttle.setInterval(throttleWindow);
    connect(&m_throttle, &QTimer::timeout, this, &ConvertImageDialog::throttleElapsed);

    m_curves = new CurvesWidget;
    m_curves->setHistograms(imageChannelHistograms(displayImage));
    m_curves->setLogarithmicScale(true);
    auto* logarithmic = new QCheckBox(tr("Logarithmic Scale Histogram"));
    logarithmic->setChecked(true);
    auto* resetCurves = new QPushButton(tr("Reset Curves"));

    m_paletteCombo = new QComboBox;
    for (PaletteVariant variant : allPaletteVariants())
        m_paletteCombo->addItem(paletteVariantName(variant), int(variant));
    m_paletteCombo->setCurrentIndex(m_paletteCombo->findData(int(project->palette().variant())));
    m_distanceCombo = comboOf({{tr("Euclidean"), 0}, {tr("Weighted"), 1}});
    m_distanceCombo->setCurrentIndex(1);
    const int comboWidth = std::max(m_paletteCombo->sizeHint().width(), m_distanceCombo->sizeHint().width());
    m_paletteCombo->setMinimumWidth(comboWidth);
    m_distanceCombo->setMinimumWidth(comboWidth);

    const bool topBottom = project->layout().layout == CanvasLayout::TopBottomBorders;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(spacing);
    // The preview is what the artist judges the conversion by: it takes most of the room
    // a larger dialog gives, so its cell grid thins out.
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    grid->addWidget(new QLabel(tr("Converted Image")), 0, 0);
    grid->addWidget(createOptionsRow(), 0, 1);
    grid->addWidget(createPreviewColumn(), 1, 0);
    grid->addWidget(m_curves, 1, 1);
    auto* checkRow = new QHBoxLayout;
    checkRow->addWidget(logarithmic);
    checkRow->addStretch();
    checkRow->addWidget(resetCurves);
    grid->addLayout(checkRow, 2, 1);
    auto* paletteRow = new QHBoxLayout;
    paletteRow->addStretch();
    paletteRow->addLayout(labelled(tr("Palette:"), m_paletteCombo));
    grid->addLayout(paletteRow, 3, 1);
    auto* distanceRow = new QHBoxLayout;
    distanceRow->addStretch();
    distanceRow->addLayout(labelled(tr("Color Distance:"), m_distanceCombo));
    grid->addLayout(distanceRow, 4, 1);
    if (topBottom) {
        auto* label = new QLabel(tr("Sprite alignment"));
        QWidget* row = createAlignmentRow();
        const QString tip
            = tr("Which bitmap edge each border's sprite grid hugs; the truncated 14th sprite sits "
                 "at the opposite end.\nIt moves the sprite boundaries the conversion picks colors "
                 "within, so the preview follows it.\nThe choice is applied to the canvas on OK.");
        label->setToolTip(tip);
        row->setToolTip(tip);
        grid->addWidget(label, 2, 0);
        grid->addWidget(row, 3, 0);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(buttons);

    connect(m_channelCombo, &QComboBox::currentIndexChanged, this,
        [this] { m_curves->setActiveChannel(AdjustmentChannel(m_channelCombo->currentData().toInt())); });
    connect(logarithmic, &QCheckBox::toggled, m_curves, &CurvesWidget::setLogarithmicScale);
    connect(resetCurves, &QPushButton::clicked, m_curves, &CurvesWidget::resetCurves);
    connect(m_curves, &CurvesWidget::curvesChanged, this, &ConvertImageDialog::reconvert);
    connect(m_ditherCombo, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::reconvert);
    connect(m_distanceCombo, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::reconvert);
    connect(m_paletteCombo, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::paletteChosen);
    reconvert();
}

QWidget* ConvertImageDialog::createOptionsRow()
{
    m_channelCombo = comboOf({{tr("RGB"), 0}, {tr("R"), 1}, {tr("G"), 2}, {tr("B"), 3}});
    m_ditherCombo = comboOf({{tr("None"), 0}, {tr("Error Diffusion"), 1}, {tr("Ordered"), 2}});
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(6, 0, 0, 0);
    layout->addLayout(labelled(tr("Channels:"), m_channelCombo));
    layout->addSpacing(spacing);
    layout->addLayout(labelled(tr("Dither:"), m_ditherCombo));
    layout->addStretch();
    return row;
}

QWidget* ConvertImageDialog::createPreviewColumn()
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 6, 0, 6);
    m_preview = new ConversionPreviewWidget(m_working.get());
    layout->addWidget(m_preview, 1);
    m_paletteBar = new PaletteWidget(m_working);
    m_slotBar = new ColorAssignmentWidget(m_working);
    if (ColorAssignmentWidget::slotsFor(*m_working).isEmpty()) {
        m_paletteBar->hide();
        m_slotBar->hide();
        return column;
    }
    layout->addSpacing(spacing);
    layout->addWidget(m_slotBar, 0, Qt::AlignLeft);
    layout->addSpacing(spacing);
    layout->addWidget(m_paletteBar);
    connect(m_slotBar, &ColorAssignmentWidget::slotClicked, this, &ConvertImageDialog::assignSlot);
    return column;
}

QWidget* ConvertImageDialog::createAlignmentRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto addSide = [&](const QString& label, const QString& name, SpriteAlignment current) {
        auto* group = new QButtonGroup(row);
        group->setObjectName(name);
        layout->addWidget(new QLabel(label));
        for (const auto& [text, value] : {std::pair {tr("Left"), SpriteAlignment::Left},
                 std::pair {tr("Right"), SpriteAlignment::Right}}) {
            auto* button = new QRadioButton(text);
            button->setChecked(value == current);
            group->addButton(button, int(value));
            layout->addWidget(button);
        }
        layout->addStretch();
        connect(group, &QButtonGroup::idClicked, this, &ConvertImageDialog::alignmentChosen);
        return group;
    };
    m_topAlignment = addSide(tr("Top:"), QStringLiteral("topAlignment"), m_working->layout().topAlignment);
    m_bottomAlignment
        = addSide(tr("Bottom:"), QStringLiteral("bottomAlignment"), m_working->layout().bottomAlignment);
    return row;
}

void ConvertImageDialog::setDitherChoice(int value)
{
    m_ditherCombo->setCurrentIndex(std::max(0, m_ditherCombo->findData(value)));
}

int ConvertImageDialog::ditherChoice() const
{
    return m_ditherCombo->currentData().toInt();
}

ImageConversionSettings ConvertImageDialog::currentSettings() const
{
    ImageConversionSettings settings;
    settings.mode = m_working->mode();
    settings.layout = m_working->layout();
    settings.paletteVariant = m_working->palette().variant();
    settings.dither = DitherMethod(m_ditherCombo->currentData().toInt());
    settings.distance = ColorDistanceMetric(m_distanceCombo->currentData().toInt());
    settings.slots = m_working->colorSlots();
    return settings;
}

Project::ImageConversionState ConvertImageDialog::conversionState() const
{
    return {m_working->colorSlots(), m_working->layout().topAlignment, m_working->layout().bottomAlignment};
}

Colormap ConvertImageDialog::convertedColormap()
{
    if (m_pending) {
        m_pending = false;
        runConversion();
    }
    return m_result;
}

PaletteVariant ConvertImageDialog::paletteVariant() const
{
    return m_working->palette().variant();
}

void ConvertImageDialog::reconvert()
{
    if (m_throttle.isActive()) {
        m_pending = true;
        return;
    }
    runConversion();
    m_throttle.start();
}

void ConvertImageDialog::throttleElapsed()
{
    if (!m_pending)
        return;
    m_pending = false;
    runConversion();
    m_throttle.start();
}

void ConvertImageDialog::runConversion()
{
    m_result = convertImage(m_displayImage, m_working->size(), m_curves->adjustment(), currentSettings());
    ++m_conversionCount;
    m_preview->setColormap(m_result);
}

void ConvertImageDialog::assignSlot(ColorAssignmentWidget::Slot slot, Qt::MouseButton button)
{
    ColorSlots slots = m_working->colorSlots();
    slots[HistoryColorSlot(slot)]
        = button == Qt::RightButton ? m_paletteBar->secondaryIndex() : m_paletteBar->primaryIndex();
    m_working->setColorSlots(slots);
    m_slotBar->update();
    reconvert();
}

void ConvertImageDialog::paletteChosen()
{
    m_working->setPaletteVariant(PaletteVariant(m_paletteCombo->currentData().toInt()));
    m_paletteBar->update();
    m_slotBar->update();
    reconvert();
}

void ConvertImageDialog::alignmentChosen()
{
    m_working->setBorderAlignment(SpriteStripSide::Top, SpriteAlignment(m_topAlignment->checkedId()), false);
    m_working->setBorderAlignment(
        SpriteStripSide::Bottom, SpriteAlignment(m_bottomAlignment->checkedId()), false);
    reconvert();
}
