// The conversion dialog and its curve editor, driven as the artist drives them: curve
// drags by synthesized mouse events, clicks on the bars and the alignment buttons.
#include "convert/image_conversion.h"
#include "document/project.h"
#include "widgets/conversion_preview_widget.h"
#include "widgets/convert_image_dialog.h"
#include "widgets/curves_widget.h"
#include "widgets/palette_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QSignalSpy>
#include <QTest>

namespace {

// A drag from one widget position through others, released at the last one.
void drag(QWidget* widget, const QList<QPoint>& path)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, path.constFirst());
    for (const QPoint& point : path.mid(1))
        QTest::mouseMove(widget, point);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, path.constLast());
}

QImage rampImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 128));
    }
    return image;
}

} // namespace

class TestConvertImageDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void curveDragsAddMoveAndRemoveKnots()
    {
        CurvesWidget curves;
        curves.resize(268, 268);
        QSignalSpy changed(&curves, &CurvesWidget::curvesChanged);
        constexpr AdjustmentChannel rgb = AdjustmentChannel::Rgb;
        // At this size one curve unit is one pixel: value (x, y) sits at (x + 6, 262 - y).
        QCOMPARE(curves.valueToWidget(QPoint(100, 150)), QPointF(106, 112));

        drag(&curves, {{106, 112}, {126, 62}});
        QCOMPARE(curves.adjustment().knotCount(rgb), 3);
        QCOMPARE(curves.adjustment().knotAt(rgb, 1), QPoint(120, 200));
        QCOMPARE(changed.count(), 2);

        // Other buttons do nothing.
        QTest::mouseClick(&curves, Qt::RightButton, {}, QPoint(60, 200));
        QCOMPARE(curves.adjustment().knotCount(rgb), 3);

        // Dragged off the widget and released there, a knot goes; an end point stays.
        drag(&curves, {{126, 62}, {300, 62}, {300, -40}});
        QCOMPARE(curves.adjustment().knotCount(rgb), 2);
        drag(&curves, {{6, 262}, {-30, 200}});
        QCOMPARE(curves.adjustment().knotCount(rgb), 2);
        QCOMPARE(curves.adjustment().knotAt(rgb, 0), QPoint(0, 62));

        // Edits go to the active channel only.
        curves.setActiveChannel(AdjustmentChannel::Blue);
        drag(&curves, {{160, 160}});
        QCOMPARE(curves.adjustment().knotCount(AdjustmentChannel::Blue), 3);
        QCOMPARE(curves.adjustment().knotCount(rgb), 2);
    }

    // Made larger, the dialog gives most of the room to the preview, so the converted
    // picture can be judged under its cell grid.
    void previewGrowsWithTheDialog()
    {
        const Project project;
        ConvertImageDialog dialog(rampImage(project.size()), &project);
        auto* preview = dialog.findChild<ConversionPreviewWidget*>();
        QVERIFY(preview);
        dialog.resize(dialog.sizeHint());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QSize small = preview->size();
        const QSize curves = dialog.curvesWidget()->size();
        dialog.resize(dialog.size() + QSize(600, 400));
        QTRY_VERIFY(preview->width() >= small.width() + 350);
        QVERIFY(preview->height() >= small.height() + 300);
        QVERIFY(preview->width() - small.width() > dialog.curvesWidget()->width() - curves.width());
    }

    // A drag faster than the 33 ms throttle converts at its start and once more when the
    // window ends, on the curve where the drag stopped.
    void previewEndsOnTheLatestCurve()
    {
        const Project project;
        const QImage image = rampImage(project.size());
        ConvertImageDialog dialog(image, &project);
        CurvesWidget* curves = dialog.curvesWidget();
        curves->resize(268, 268);
        QTRY_VERIFY(dialog.conversionCount() >= 1 && !dialog.isThrottling());
        const int before = dialog.conversionCount();

        // However slowly the machine runs the drag, the preview follows it and the last
        // state is never lost.
        QList<QPoint> path;
        for (int step = 0; step <= 20; ++step)
            path << QPoint(106, 112 - step * 5);
        drag(curves, path);
        QVERIFY(dialog.conversionCount() > before);
        QCOMPARE(curves->adjustment().knotAt(AdjustmentChannel::Rgb, 1), QPoint(100, 250));

        const Colormap latest
            = convertImage(image, project.size(), curves->adjustment(), dialog.currentSettings());
        QTRY_COMPARE(dialog.previewWidget()->colormap(), latest);
        QTRY_VERIFY(!dialog.isThrottling());

        // OK hands over what the controls show, even before the throttle's window ends.
        drag(curves, {{106, 12}, {106, 200}});
        QCOMPARE(dialog.convertedColormap(),
            convertImage(image, project.size(), curves->adjustment(), dialog.currentSettings()));
    }

    // The method, distance and background reach the conversion; an automatic background
    // shows in the working copy's shared colours and goes out with OK, and setting the
    // background by hand fixes it again.
    void methodDistanceAndBackgroundChoices()
    {
        const Project project(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {});
        const QImage image = rampImage(imageConversionRequiredSize(project.mode(), project.size()));
        ConvertImageDialog dialog(image, &project);
        dialog.setMethodChoice(int(ConversionMethod::CellAware));
        dialog.setDistanceChoice(int(ColorDistanceMetric::Perceptual));
        dialog.setAutomaticBackground(true);
        ImageConversionSettings settings = dialog.currentSettings();
        QCOMPARE(settings.method, ConversionMethod::CellAware);
        QCOMPARE(settings.distance, ColorDistanceMetric::Perceptual);
        QVERIFY(settings.automaticBackground);
        // A value no item has selects the first.
        dialog.setMethodChoice(7);
        QCOMPARE(dialog.methodChoice(), int(ConversionMethod::Classic));
        dialog.setMethodChoice(int(ConversionMethod::CellAware));

        settings.slots = project.colorSlots();
        const ImageConversionResult expected
            = convertImageWithColors(image, project.size(), ImageAdjustment(), settings);
        QCOMPARE(dialog.convertedColormap(), expected.colormap);
        QCOMPARE(dialog.conversionState().slots, expected.slots);

        // A background clicked into the slot bar is the artist's, and stays.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        PaletteWidget* palette = dialog.paletteBar();
        const uchar chosen = expected.slots[HistoryColorSlot::Background] == 13 ? 12 : 13;
        QTest::mouseClick(palette, Qt::LeftButton, {}, palette->swatchRect(chosen).center().toPoint());
        ColorAssignmentWidget* slotBar = dialog.colorSlotBar();
        const QList<ColorAssignmentWidget::Slot> slots = ColorAssignmentWidget::slotsFor(project);
        const int background = int(slots.indexOf(ColorAssignmentWidget::Slot(HistoryColorSlot::Background)));
        QVERIFY(background >= 0);
        QTest::mouseClick(
            slotBar, Qt::LeftButton, {}, slotBar->slotRect(background, int(slots.size())).center().toPoint());
        QVERIFY(!dialog.automaticBackground());
        QVERIFY(!dialog.currentSettings().automaticBackground);
        dialog.convertedColormap();
        QCOMPARE(dialog.conversionState().slots[HistoryColorSlot::Background], chosen);
    }

    // However long a conversion takes, typing on goes on and the preview ends on the
    // latest request; a slow conversion runs on a worker thread.
    void slowConversionsEndOnTheLatestRequest()
    {
        const Project project(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {}, 2);
        const QImage image = rampImage(imageConversionRequiredSize(project.mode(), project.size()));
        ConvertImageDialog dialog(image, &project);
        dialog.setMethodChoice(int(ConversionMethod::CellAware));
        dialog.setAutomaticBackground(true);
        QTRY_VERIFY(!dialog.isThrottling());
        CurvesWidget* curves = dialog.curvesWidget();
        curves->resize(268, 268);
        for (int step = 0; step < 6; ++step) {
            drag(curves, {{106, 112 - step * 10}});
            dialog.setDitherChoice(step % 3);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isThrottling(), 20000);
        ImageConversionSettings settings = dialog.currentSettings();
        settings.slots = project.colorSlots();
        const Colormap latest
            = convertImageWithColors(image, project.size(), curves->adjustment(), settings).colormap;
        QTRY_COMPARE(dialog.previewWidget()->colormap(), latest);
        QCOMPARE(dialog.convertedColormap(), latest);
    }

    void editsStayInTheWorkingCopy()
    {
        const Project project(
            CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {CanvasLayout::TopBottomBorders});
        const QImage image = rampImage(imageConversionRequiredSize(project.mode(), project.size()));
        const ColorSlots originalSlots = project.colorSlots();
        ConvertImageDialog dialog(image, &project);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        auto* top = dialog.findChild<QButtonGroup*>(QStringLiteral("topAlignment"));
        QVERIFY(top);
        QVERIFY(top->button(int(SpriteAlignment::Left))->isChecked());
        top->button(int(SpriteAlignment::Right))->click();
        QCOMPARE(dialog.conversionState().topAlignment, SpriteAlignment::Right);
        QCOMPARE(dialog.conversionState().bottomAlignment, SpriteAlignment::Left);

        // A left click assigns the dialog's primary colour to a slot, a right click its
        // secondary colour.
        PaletteWidget* palette = dialog.paletteBar();
        QTest::mouseClick(palette, Qt::LeftButton, {}, palette->swatchRect(5).center().toPoint());
        QTest::mouseClick(palette, Qt::RightButton, {}, palette->swatchRect(9).center().toPoint());
        ColorAssignmentWidget* slotBar = dialog.colorSlotBar();
        const int slotCount = int(ColorAssignmentWidget::slotsFor(project).size());
        QTest::mouseClick(slotBar, Qt::LeftButton, {}, slotBar->slotRect(0, slotCount).center().toPoint());
        QTest::mouseClick(slotBar, Qt::RightButton, {}, slotBar->slotRect(1, slotCount).center().toPoint());
        const ColorSlots slots = dialog.conversionState().slots;
        QCOMPARE(int(slots[HistoryColorSlot(ColorAssignmentWidget::slotsFor(project).at(0))]), 5);
        QCOMPARE(int(slots[HistoryColorSlot(ColorAssignmentWidget::slotsFor(project).at(1))]), 9);
        QCOMPARE(dialog.currentSettings().slots, slots);

        dialog.reject();
        QCOMPARE(project.layout().topAlignment, SpriteAlignment::Left);
        QCOMPARE(project.colorSlots(), originalSlots);
        QCOMPARE(project.history().count(), 0);
    }
};

QTEST_MAIN(TestConvertImageDialog)
#include "tst_convert_image_dialog.moc"
