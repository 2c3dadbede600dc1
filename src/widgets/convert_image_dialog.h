#pragma once

#include "convert/image_conversion.h"
#include "document/project.h"
#include "widgets/color_assignment_widget.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QImage>
#include <QTimer>

#include <memory>

class ConversionPreviewWidget;
class CurvesWidget;
class PaletteWidget;
class QButtonGroup;
class QComboBox;
class QLabel;

// "Convert Image...": the image fitted to the canvas's display size, converted live while
// the artist shapes the curves and picks the dither, palette, distance, shared colours and
// sprite alignment. It edits a working copy of the document and never the document
// itself; the caller adopts the result on OK.
class ConvertImageDialog : public QDialog {
    Q_OBJECT

public:
    ConvertImageDialog(const QImage& displayImage, const Project* project, QWidget* parent = nullptr);

    ~ConvertImageDialog() override;

    // The stored dither choice; a value no item has selects the first.
    void setDitherChoice(int value);
    int ditherChoice() const;
    // The stored method and distance choices, as the dither's.
    void setMethodChoice(int value);
    int methodChoice() const;
    void setDistanceChoice(int value);
    int distanceChoice() const;
    // Whether the background (and the colours border sprites share) is searched for the
    // picture; when off, the background is the fixed colour the Background list shows.
    void setAutomaticBackground(bool automatic);
    bool automaticBackground() const;

    // What OK hands over. convertedColormap() first runs a conversion still waiting for
    // the throttle, so it always matches the controls.
    Project::ImageConversionState conversionState() const;
    Colormap convertedColormap();
    PaletteVariant paletteVariant() const;
    ImageConversionSettings currentSettings() const;

    CurvesWidget* curvesWidget() const { return m_curves; }
    ConversionPreviewWidget* previewWidget() const { return m_preview; }
    PaletteWidget* paletteBar() const { return m_paletteBar; }
    ColorAssignmentWidget* colorSlotBar() const { return m_slotBar; }
    // How many conversions have started; the preview follows a drag at most every 33 ms.
    int conversionCount() const { return m_conversionCount; }
    // A conversion ran less than a throttle window ago or still runs in the background;
    // the next change waits for either.
    bool isThrottling() const { return m_throttle.isActive() || m_worker.isRunning(); }
    // Whether the last conversion took longer than a frame, so the next runs off the
    // user-interface thread.
    bool convertsInBackground() const;

public Q_SLOTS:
    // Runs at once when the throttle is idle, else once more when its window ends.
    void reconvert();

private:
    QWidget* createOptionsRow();
    QWidget* createPreviewColumn();
    QWidget* createAlignmentRow();
    void startConversion();
    void workerFinished();
    void adopt(const ImageConversionResult& result, int request);
    void throttleElapsed();
    void backgroundChosen();
    void syncBackgroundChoice();
    void assignSlot(ColorAssignmentWidget::Slot slot, Qt::MouseButton button);
    void paletteChosen();
    void alignmentChosen();

    QImage m_displayImage;
    std::shared_ptr<Project> m_working;
    Colormap m_result;
    QTimer m_throttle;
    bool m_pending = false;
    int m_conversionCount = 0;
    // Requests are numbered; the result shown belongs to m_resultRequest, the one being
    // worked on in the background to m_runningRequest.
    int m_request = 0;
    int m_resultRequest = -1;
    int m_runningRequest = -1;
    qint64 m_lastDurationNs = 0;
    struct TimedResult {
        ImageConversionResult result;
        qint64 durationNs = 0;
    };
    QFutureWatcher<TimedResult> m_worker;

    QComboBox* m_channelCombo = nullptr;
    QComboBox* m_ditherCombo = nullptr;
    QComboBox* m_paletteCombo = nullptr;
    QComboBox* m_distanceCombo = nullptr;
    QComboBox* m_methodCombo = nullptr;
    QComboBox* m_backgroundCombo = nullptr;
    CurvesWidget* m_curves = nullptr;
    ConversionPreviewWidget* m_preview = nullptr;
    PaletteWidget* m_paletteBar = nullptr;
    ColorAssignmentWidget* m_slotBar = nullptr;
    QButtonGroup* m_topAlignment = nullptr;
    QButtonGroup* m_bottomAlignment = nullptr;
};
