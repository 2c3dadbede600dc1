#include "widgets/new_canvas_dialog.h"

#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)

class TestNewCanvasDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choicesGiveTheCanvas_data();
    void choicesGiveTheCanvas();
};

namespace {

void choose(NewCanvasDialog& dialog, CanvasMode mode, CanvasLayout layout, int screens)
{
    (mode == CanvasMode::Multicolor ? dialog.multicolorButton() : dialog.hiresButton())->setChecked(true);
    QRadioButton* const layouts[]
        = {dialog.bitmapOnlyButton(), dialog.sideBordersButton(), dialog.topBottomBordersButton()};
    layouts[int(layout)]->setChecked(true);
    if (dialog.screensAcrossSpinBox()->isEnabled())
        dialog.screensAcrossSpinBox()->setValue(screens);
}

} // namespace

void TestNewCanvasDialog::choicesGiveTheCanvas_data()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayout>("layout");
    QTest::addColumn<int>("screens");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("screensAcross");
    // Which of screens, width and height the user may still change.
    QTest::addColumn<QString>("editable");
    QTest::addColumn<QString>("onScreen");

    const auto hires = CanvasMode::Hires;
    const auto multi = CanvasMode::Multicolor;
    const auto bitmap = CanvasLayout::BitmapOnly;
    const auto side = CanvasLayout::SideBorders;
    const auto topBottom = CanvasLayout::TopBottomBorders;
    QTest::newRow("hires bitmap") << hires << bitmap << 1 << QSize(320, 200) << 1 << "swh"
                                  << "320 × 200";
    QTest::newRow("multicolor bitmap") << multi << bitmap << 1 << QSize(160, 200) << 1 << "swh"
                                       << "320 × 200";
    QTest::newRow("hires side sprites") << hires << side << 1 << QSize(416, 200) << 1 << ""
                                        << "416 × 200";
    QTest::newRow("hires top/bottom") << hires << topBottom << 1 << QSize(320, 284) << 1 << ""
                                      << "320 × 284";
    QTest::newRow("three hires screens") << hires << bitmap << 3 << QSize(960, 200) << 3 << "sh"
                                         << "960 × 200";
    QTest::newRow("two multicolor screens") << multi << bitmap << 2 << QSize(320, 200) << 2 << "sh"
                                            << "640 × 200";
}

void TestNewCanvasDialog::choicesGiveTheCanvas()
{
    QFETCH(CanvasMode, mode);
    QFETCH(CanvasLayout, layout);
    QFETCH(int, screens);
    QFETCH(QSize, size);
    QFETCH(int, screensAcross);
    QFETCH(QString, editable);
    QFETCH(QString, onScreen);

    // Start from somewhere else, so what was chosen before must not leak into the result.
    NewCanvasDialog dialog;
    choose(dialog, CanvasMode::Multicolor, CanvasLayout::BitmapOnly, 4);
    choose(dialog, CanvasMode::Hires, CanvasLayout::TopBottomBorders, 1);
    choose(dialog, mode, layout, screens);

    QCOMPARE(dialog.mode(), mode);
    QCOMPARE(dialog.layout(), layout);
    QCOMPARE(dialog.screensAcross(), screensAcross);
    QCOMPARE(dialog.canvasSize(), size);
    QCOMPARE(dialog.screensAcrossSpinBox()->isEnabled(), editable.contains(QLatin1Char('s')));
    QCOMPARE(dialog.widthSpinBox()->isEnabled(), editable.contains(QLatin1Char('w')));
    QCOMPARE(dialog.heightSpinBox()->isEnabled(), editable.contains(QLatin1Char('h')));
    QCOMPARE(dialog.displaySizeText(), onScreen + QStringLiteral(" pixels on screen"));
}

QTEST_MAIN(TestNewCanvasDialog)
#include "tst_new_canvas_dialog.moc"
