#include "widgets/convert_image_dialog.h"

#include "convert/display_image.h"
#include "widgets/conversion_preview_widget.h"
#include "widgets/curves_widget.h"
#include "widgets/palette_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <chrono>

namespace {

// The preview follows a drag about 30 times a second.
constexpr std::chrono::milliseconds throttleWindow {33};
// A conversion slower than a frame would stall typing in the dialog, so the next one
// runs on a worker thread.
constexpr qint64 frameNs = 16'000'000;
constexpr int spacing = 12;
// The Background list's item for the searched background; the others are colour indices.
constexpr int automaticItem = -1;

// The shared colours the automatic search may choose; the border colour is the artist's.
constexpr std::array searchedSlots {HistoryColorSlot::Background, HistoryColorSlot::SpriteMc0,
    HistoryColorSlot::SpriteMc1, HistoryColorSlot::TopBorderBackground, HistoryColorSlot::TopBorderMc0,
    HistoryColorSlot::TopBorderMc1, HistoryColorSlot::BottomBorderBackground,
    HistoryColorSlot::BottomBorderMc0, HistoryColorSlot::BottomBorderMc1};

QIcon swatch(QRgb color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor::fromRgb(color));
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 96));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

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
    m_distanceCombo = comboOf({{tr("Euclidean"), 0}, {tr("Weighted"), 1}, {tr("Perceptual"), 2}});
    m_distanceCombo->setCurrentIndex(1);
    m_distanceCombo->setToolTip(
        tr("How the nearest color is measured: Weighted by brightness, Euclidean plainly in RGB,\n"
           "Perceptual as the eye sees differences (in OKLab), which keeps hues truer."));
    m_methodCombo = comboOf({{tr("Classic"), int(ConversionMethod::Classic)},
        {tr("Cell-aware"), int(ConversionMethod::CellAware)}});
    m_methodCombo->setToolTip(
        tr("Classic matches every pixel to all 16 colors, then keeps each cell's most-used colors.\n"
           "Cell-aware first picks the colors that serve each cell best and dithers within them."));
    m_backgroundCombo = new QComboBox;
    m_backgroundCombo->addItem(tr("Automatic"), automaticItem);
    for (int index = 0; index < c64ColorCount; ++index)
        m_backgroundCombo->addItem(
            swatch(m_working->palette().colorAt(uchar(index))), QString::number(index), index);
    m_backgroundCombo->setToolTip(
        tr("Automatic searches the background (and the colors border sprites share) that suits\n"
           "the picture best; a color keeps the background fixed."));
    // Hires bitmaps have no background to choose.
    const bool hasSearchedColors
        = isMulticolor(project->mode()) || project->layout().layout == CanvasLayout::TopBottomBorders;
    m_backgroundCombo->setEnabled(hasSearchedColors);
    syncBackgroundChoice();
    int comboWidth = 0;
    for (QComboBox* combo : {m_paletteCombo, m_distanceCombo, m_methodCombo, m_backgroundCombo})
        comboWidth = std::max(comboWidth, combo->sizeHint().width());
    for (QComboBox* combo : {m_paletteCombo, m_distanceCombo, m_methodCombo, m_backgroundCombo})
        combo->setMinimumWidth(comboWidth);
    connect(&m_worker, &QFutureWatcher<TimedResult>::finished, this, &ConvertImageDialog::workerFinished);

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
    auto* methodRow = new QHBoxLayout;
    methodRow->addStretch();
    methodRow->addLayout(labelled(tr("Method:"), m_methodCombo));
    grid->addLayout(methodRow, 5, 1);
    auto* backgroundRow = new QHBoxLayout;
    backgroundRow->addStretch();
    backgroundRow->addLayout(labelled(tr("Background:"), m_backgroundCombo));
    grid->addLayout(backgroundRow, 6, 1);
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
    connect(m_methodCombo, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::reconvert);
    connect(m_backgroundCombo, &QComboBox::activated, this, &ConvertImageDialog::backgroundChosen);
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

ConvertImageDialog::~ConvertImageDialog()
{
    // The worker holds its own copies, but nothing should run once the dialog is gone.
    m_worker.waitForFinished();
}

void ConvertImageDialog::setDitherChoice(int value)
{
    m_ditherCombo->setCurrentIndex(std::max(0, m_ditherCombo->findData(value)));
}

int ConvertImageDialog::ditherChoice() const
{
    return m_ditherCombo->currentData().toInt();
}

void ConvertImageDialog::setMethodChoice(int value)
{
    m_methodCombo->setCurrentIndex(std::max(0, m_methodCombo->findData(value)));
}

int ConvertImageDialog::methodChoice() const
{
    return m_methodCombo->currentData().toInt();
}

void ConvertImageDialog::setDistanceChoice(int value)
{
    m_distanceCombo->setCurrentIndex(std::max(0, m_distanceCombo->findData(value)));
}

int ConvertImageDialog::distanceChoice() const
{
    return m_distanceCombo->currentData().toInt();
}

void ConvertImageDialog::setAutomaticBackground(bool automatic)
{
    if (automatic == automaticBackground())
        return;
    if (automatic)
        m_backgroundCombo->setCurrentIndex(0);
    else
        syncBackgroundChoice();
    reconvert();
}

bool ConvertImageDialog::automaticBackground() const
{
    return m_backgroundCombo->currentData().toInt() == automaticItem;
}

bool ConvertImageDialog::convertsInBackground() const
{
    return m_lastDurationNs > frameNs;
}

// The list shows the working document's background unless it is on Automatic.
void ConvertImageDialog::syncBackgroundChoice()
{
    m_backgroundCombo->setCurrentIndex(
        m_backgroundCombo->findData(int(m_working->colorSlots()[HistoryColorSlot::Background])));
}

void ConvertImageDialog::backgroundChosen()
{
    const int choice = m_backgroundCombo->currentData().toInt();
    if (choice != automaticItem) {
        ColorSlots slots = m_working->colorSlots();
        slots[HistoryColorSlot::Background] = uchar(choice);
        m_working->setColorSlots(slots);
        m_slotBar->update();
    }
    reconvert();
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
    settings.method = ConversionMethod(m_methodCombo->currentData().toInt());
    settings.automaticBackground = automaticBackground() && m_backgroundCombo->isEnabled();
    return settings;
}

Project::ImageConversionState ConvertImageDialog::conversionState() const
{
    return {m_working->colorSlots(), m_working->layout().topAlignment, m_working->layout().bottomAlignment};
}

Colormap ConvertImageDialog::convertedColormap()
{
    // Whatever is still throttled or in the background, OK gets the controls' state now.
    if (m_resultRequest != m_request) {
        m_worker.waitForFinished();
        QElapsedTimer clock;
        clock.start();
        const ImageConversionResult result = convertImageWithColors(
            m_displayImage, m_working->size(), m_curves->adjustment(), currentSettings());
        m_lastDurationNs = clock.nsecsElapsed();
        m_pending = false;
        adopt(result, m_request);
    }
    return m_result;
}

PaletteVariant ConvertImageDialog::paletteVariant() const
{
    return m_working->palette().variant();
}

void ConvertImageDialog::reconvert()
{
    ++m_request;
    if (isThrottling()) {
        m_pending = true;
        return;
    }
    startConversion();
}

void ConvertImageDialog::throttleElapsed()
{
    if (m_pending && !m_worker.isRunning())
        startConversion();
}

void ConvertImageDialog::startConversion()
{
    m_pending = false;
    ++m_conversionCount;
    const int request = m_request;
    const ImageConversionSettings settings = currentSettings();
    if (!convertsInBackground()) {
        QElapsedTimer clock;
        clock.start();
        const ImageConversionResult result
            = convertImageWithColors(m_displayImage, m_working->size(), m_curves->adjustment(), settings);
        m_lastDurationNs = clock.nsecsElapsed();
        adopt(result, request);
        m_throttle.start();
        return;
    }
    // Everything the worker needs is copied in; the dialog may change meanwhile.
    m_runningRequest = request;
    m_worker.setFuture(QtConcurrent::run(
        [image = m_displayImage, size = m_working->size(), curves = m_curves->adjustment(), settings] {
            QElapsedTimer clock;
            clock.start();
            TimedResult timed;
            timed.result = convertImageWithColors(image, size, curves, settings);
            timed.durationNs = clock.nsecsElapsed();
            return timed;
        }));
}

void ConvertImageDialog::workerFinished()
{
    const TimedResult timed = m_worker.result();
    m_lastDurationNs = timed.durationNs;
    // A result older than one OK already fetched synchronously would undo it.
    if (m_runningRequest > m_resultRequest)
        adopt(timed.result, m_runningRequest);
    // The latest request wins: it starts as soon as the one before is done.
    if (m_pending)
        startConversion();
}

void ConvertImageDialog::adopt(const ImageConversionResult& result, int request)
{
    m_resultRequest = request;
    m_result = result.colormap;
    m_preview->setColormap(m_result);
    if (!automaticBackground() || !m_backgroundCombo->isEnabled())
        return;
    // The chosen shared colours show in the slot bar and go to the canvas on OK.
    ColorSlots slots = m_working->colorSlots();
    for (HistoryColorSlot slot : searchedSlots)
        slots[slot] = result.slots[slot];
    if (slots != m_working->colorSlots()) {
        m_working->setColorSlots(slots);
        m_slotBar->update();
    }
}

void ConvertImageDialog::assignSlot(ColorAssignmentWidget::Slot slot, Qt::MouseButton button)
{
    ColorSlots slots = m_working->colorSlots();
    slots[HistoryColorSlot(slot)]
        = button == Qt::RightButton ? m_paletteBar->secondaryIndex() : m_paletteBar->primaryIndex();
    m_working->setColorSlots(slots);
    m_slotBar->update();
    // A shared colour set by hand is a fixed one: the search stops choosing them.
    if (HistoryColorSlot(slot) != HistoryColorSlot::Border)
        syncBackgroundChoice();
    reconvert();
}

void ConvertImageDialog::paletteChosen()
{
    m_working->setPaletteVariant(PaletteVariant(m_paletteCombo->currentData().toInt()));
    for (int index = 0; index < c64ColorCount; ++index)
        m_backgroundCombo->setItemIcon(index + 1, swatch(m_working->palette().colorAt(uchar(index))));
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
