#include "app/main_window.h"
#include "app/status_bar_panel.h"
#include "app/status_texts.h"
#include "document/project.h"
#include "paint/brush.h"
#include "widgets/elided_label.h"

#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)
Q_DECLARE_METATYPE(std::optional<QPoint>)

class TestStatusBar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void positionReadouts_data();
    void positionReadouts();
    void viewReadouts();
    void readoutsKeepTheirWholeTextFrom1024Pixels();
};

void TestStatusBar::positionReadouts_data()
{
    QTest::addColumn<CanvasMode>("mode");
    QTest::addColumn<CanvasLayout>("layout");
    QTest::addColumn<int>("screens");
    QTest::addColumn<std::optional<QPoint>>("hover");
    QTest::addColumn<QString>("readouts");

    const auto hires = CanvasMode::Hires;
    const auto multi = CanvasMode::Multicolor;
    const auto bitmap = CanvasLayout::BitmapOnly;
    const auto side = CanvasLayout::SideBorders;
    const auto topBottom = CanvasLayout::TopBottomBorders;
    const auto at = [](int x, int y) { return std::optional<QPoint>(QPoint(x, y)); };

    QTest::newRow("off canvas") << hires << bitmap << 1 << std::optional<QPoint>()
                                << "Mode: Hires | Size: 320×200 | Char: -- | Sprite: --";
    QTest::newRow("dual hires") << hires << bitmap << 2 << at(639, 199)
                                << "Mode: Hires ×2 | Size: 640×200 | Char: (79, 24) | Sprite: --";
    // The bitmap of a hires side-border canvas starts after the 48-pixel left strip.
    QTest::newRow("side bitmap") << hires << side << 1 << at(56, 0)
                                 << "Mode: Hires + Side Sprites | Size: 416×200 | Char: (1, 0) | Sprite: --";
    QTest::newRow("left strip") << hires << side << 1 << at(30, 50)
                                << "Mode: Hires + Side Sprites | Size: 416×200 | Char: -- | Sprite: (1, 2)";
    QTest::newRow("locked column") << hires << side << 1 << at(415, 100)
                                   << "Mode: Hires + Side Sprites | Size: 416×200 | Char: -- | Sprite: --";
    QTest::newRow("top strip") << hires << topBottom << 1 << at(25, 20)
                               << "Mode: Hires + T/B Sprites | Size: 320×284 | Char: -- | Sprite: (1, 0T)";
    QTest::newRow("bottom strip, 21 lines down")
        << multi << topBottom << 1 << at(12, 284 - 42 + 21)
        << "Mode: Multicolor + T/B Sprites | Size: 160×284 | Char: -- | Sprite: (1, 1B)";
}

void TestStatusBar::positionReadouts()
{
    QFETCH(CanvasMode, mode);
    QFETCH(CanvasLayout, layout);
    QFETCH(int, screens);
    QFETCH(std::optional<QPoint>, hover);

    const Project project(mode, 0, 0, CanvasLayoutSpec {layout}, screens);
    const StatusTexts texts = statusTexts(project, BrushShape::Round, 1, hover);
    QTEST(QStringList({texts.mode, texts.size, texts.charCell, texts.sprite}).join(QStringLiteral(" | ")),
        "readouts");
}

void TestStatusBar::viewReadouts()
{
    Project project;
    project.transform().setZoom(0.125);
    project.transform().setRotation(-22.5);
    project.transform().setDisplayPixelAspect(0.9375);
    StatusTexts texts = statusTexts(project, BrushShape::Square, 12, std::nullopt);
    QCOMPARE(texts.zoom, QStringLiteral("Zoom: 13%"));
    QCOMPARE(texts.rotation, QStringLiteral("Rotation: -22.50°"));
    QCOMPARE(texts.aspect, QStringLiteral("Aspect: PAL"));
    QCOMPARE(texts.brush, QStringLiteral("Brush: Square 12"));

    project.transform().setRotation(-0.001);
    project.transform().setDisplayPixelAspect(0.75);
    texts = statusTexts(project, BrushShape::Round, 1, std::nullopt);
    QCOMPARE(texts.rotation, QStringLiteral("Rotation: 0.00°"));
    QCOMPARE(texts.aspect, QStringLiteral("Aspect: NTSC"));
}

// Long readouts of a single screen, in a window 1024 pixels wide: none is cut short. A
// narrower window may elide them, but never has to grow for them.
void TestStatusBar::readoutsKeepTheirWholeTextFrom1024Pixels()
{
    MainWindow window;
    window.resize(1024, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* panel = window.findChild<StatusBarPanel*>();
    QVERIFY(panel);

    Project project(CanvasMode::Multicolor, 0, 0, CanvasLayoutSpec {CanvasLayout::TopBottomBorders}, 1);
    project.transform().setZoom(16.0);
    project.transform().setRotation(-135.25);
    project.transform().setDisplayPixelAspect(0.9375);
    StatusTexts texts = statusTexts(project, BrushShape::Square, 16, QPoint(150, 280));
    texts.charCell = statusTexts(project, BrushShape::Square, 16, QPoint(150, 150)).charCell;
    panel->setTexts(texts);
    const auto elided = [&] {
        QStringList cut;
        for (const ElidedLabel* label : panel->findChildren<ElidedLabel*>()) {
            if (label != panel->messageLabel() && label->text() != label->fullText())
                cut << label->text();
        }
        return cut;
    };
    QTRY_COMPARE(elided(), QStringList());

    window.resize(640, 700);
    QTRY_VERIFY(!elided().isEmpty());
    QCOMPARE(window.width(), 640);
}

QTEST_MAIN(TestStatusBar)
#include "tst_status_bar.moc"
