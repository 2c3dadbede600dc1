#include "app/external_url_opener.h"
#include "document/project.h"
#include "model/canvas_region.h"
#include "support/window_actions.h"
#include "view/canvas_area.h"
#include "view/tools/select_tool.h"
#include "widgets/palette_widget.h"
#include "window_test_kit.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QMenu* findMenu(const MainWindow& window, const QString& title)
{
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        if (QString(menu->title()).remove(QLatin1Char('&')) == title)
            return menu;
    }
    qFatal("no menu %s", qPrintable(title));
}

// The colour the window shows at a canvas point, read from what was really painted: a
// fresh grab would repaint everything and hide a region that was never updated.
QRgb shownColourAt(MainWindow& window, QPointF canvasPoint)
{
    CanvasArea* canvas = window.canvasArea();
    const QPointF view = window.project().transform().canvasToView(canvasPoint);
    const QPoint inWindow = canvas->mapTo(&window, view.toPoint());
    const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
    return shown.pixel(inWindow) | 0xff000000;
}

} // namespace

class TestMainWindowCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void shortcutKeys();
    void radioCommandRefusedDuringAStrokeRestoresItsCheck();
    void undoAndModeChangesDriveTheEnabling();
    void colorSlotClickRecordsOneAssignment();
    void frameFollowsItsColourThroughAssignUndoAndRedo();
    void onlineManualReportsWhatReallyHappened();
    void selectionCommandsRelabelUndoAndExport();
    void symmetryModeDrivesTheAxesCommands();

private:
    std::unique_ptr<MainWindow> m_window;
    QStringList m_warnings;
};

void TestMainWindowCommands::initTestCase()
{
    useOwnSettings(QStringLiteral("KROMEL-commands"));
}

void TestMainWindowCommands::init()
{
    m_warnings.clear();
    m_window = quietWindow(&m_warnings);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestMainWindowCommands::cleanup()
{
    m_window.reset();
}

// The axes commands exist only while a mode is on; leaving the mode while holding Move
// Axes goes back to the pen.
void TestMainWindowCommands::symmetryModeDrivesTheAxesCommands()
{
    MainWindow& window = *m_window;
    QAction* moveAxes = findAction(window, "Move Axes");
    const QList<QAction*> axesCommands {moveAxes, findAction(window, "Reset Axes to Center"),
        findAction(window, "Apply to Flood Fill"), findAction(window, "Apply to Shapes")};
    for (QAction* action : axesCommands)
        QVERIFY(!action->isEnabled());
    findAction(window, "Quadrant")->trigger();
    QCOMPARE(window.canvasArea()->symmetryMode(), SymmetryMode::Quadrant);
    for (QAction* action : axesCommands)
        QVERIFY(action->isEnabled());
    QTest::keyClick(&window, Qt::Key_Y);
    QVERIFY(moveAxes->isChecked() && window.canvasArea()->symmetryToolActive());

    findAction(window, "None")->trigger();
    QVERIFY(findAction(window, "Pen Tool")->isChecked());
    QVERIFY(!window.canvasArea()->symmetryToolActive());
    for (QAction* action : axesCommands)
        QVERIFY(!action->isEnabled());
}

void TestMainWindowCommands::shortcutKeys()
{
    QTest::keyClick(m_window.get(), Qt::Key_1);
    QCOMPARE(int(m_window->canvasArea()->penIndex()), 0);
    QTest::keyClick(m_window.get(), Qt::Key_8, Qt::ShiftModifier);
    QCOMPARE(int(m_window->canvasArea()->penIndex()), 15);
    QCOMPARE(int(m_window->paletteBar()->primaryIndex()), 15);
    m_window->canvasArea()->setPenWidth(32);
    QTest::keyClick(m_window.get(), Qt::Key_Period);
    QCOMPARE(m_window->canvasArea()->brush().width(), 32);
}

void TestMainWindowCommands::radioCommandRefusedDuringAStrokeRestoresItsCheck()
{
    m_window->newMulticolorTopBottomSpritesCanvas();
    CanvasArea* canvas = m_window->canvasArea();
    QAction* right = findAction(*m_window, "Top Sprites Align Right");
    QAction* left = findAction(*m_window, "Top Sprites Align Left");

    QTest::mousePress(canvas, Qt::LeftButton);
    QVERIFY(canvas->strokeInProgress());
    right->trigger();
    QCOMPARE(m_window->project().layout().topAlignment, SpriteAlignment::Left);
    QVERIFY(left->isChecked());
    QTest::mouseRelease(canvas, Qt::LeftButton);

    const int entries = m_window->project().history().count();
    right->trigger();
    QCOMPARE(m_window->project().layout().topAlignment, SpriteAlignment::Right);
    QVERIFY(right->isChecked());
    QCOMPARE(m_window->project().history().count(), entries + 1);
}

void TestMainWindowCommands::undoAndModeChangesDriveTheEnabling()
{
    MainWindow& window = *m_window;
    QAction* undo = findAction(window, "Undo");
    QAction* redo = findAction(window, "Redo");
    QAction* clearHistory = findAction(window, "Clear History");
    QAction* antialiased = findAction(window, "Anti-Aliased Strokes");
    QAction* pressure = findAction(window, "Pressure-Widened Strokes");

    QVERIFY(!undo->isEnabled() && !redo->isEnabled() && !clearHistory->isEnabled());
    QTest::mouseClick(window.canvasArea(), Qt::LeftButton);
    QVERIFY(undo->isEnabled() && !redo->isEnabled() && clearHistory->isEnabled());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!undo->isEnabled() && redo->isEnabled() && clearHistory->isEnabled());
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(undo->isEnabled() && !redo->isEnabled());

    // Hires: no anti-aliasing whatever the width; the hires clash choice applies.
    window.canvasArea()->setPenWidth(8);
    QTest::keyClick(&window, Qt::Key_Period);
    QVERIFY(!antialiased->isEnabled());
    QVERIFY(findMenu(window, "Hires Clash Resolution")->isEnabled());
    QVERIFY(!findMenu(window, "Border Sprites")->isEnabled());

    window.newMulticolorTopBottomSpritesCanvas();
    QVERIFY(!undo->isEnabled() && !clearHistory->isEnabled());
    QVERIFY(!findMenu(window, "Hires Clash Resolution")->isEnabled());
    QVERIFY(findMenu(window, "Border Sprites")->isEnabled());
    window.canvasArea()->setPenWidth(2);
    QTest::keyClick(&window, Qt::Key_Comma);
    QVERIFY(pressure->isChecked() && antialiased->isEnabled());
    pressure->setChecked(false);
    QVERIFY(!antialiased->isEnabled());
    QTest::keyClick(&window, Qt::Key_Period);
    QVERIFY(antialiased->isEnabled());
}

void TestMainWindowCommands::colorSlotClickRecordsOneAssignment()
{
    m_window->newMulticolorCanvas();
    m_window->canvasArea()->setPenIndex(5);
    m_window->canvasArea()->setSecondaryIndex(9);
    ColorAssignmentWidget* bar = m_window->colorSlotBar();
    const QList<ColorAssignmentWidget::Slot> slots = ColorAssignmentWidget::slotsFor(m_window->project());
    const int position = int(slots.indexOf(ColorAssignmentWidget::Slot::Background));
    QVERIFY(position >= 0);

    QTest::mouseClick(
        bar, Qt::RightButton, {}, bar->slotRect(position, int(slots.size())).center().toPoint());
    const History& history = m_window->project().history();
    QCOMPARE(history.count(), 1);
    QCOMPARE(history.entries().constFirst().kind, HistoryEntryKind::ColorAssignment);
    QCOMPARE(int(m_window->project().slotIndex(HistoryColorSlot::Background)), 9);
    QVERIFY(findAction(*m_window, "Undo")->isEnabled());
}

void TestMainWindowCommands::frameFollowsItsColourThroughAssignUndoAndRedo()
{
    // On a multicolor side-border canvas the border frame shows the background colour.
    m_window->newMulticolorSpritesCanvas();
    const Project& project = m_window->project();
    const QRect frame = canvasBorderFrameRect(project.mode(), project.size(), project.layout());
    // The band above the canvas: the side borders lie inside this canvas.
    const QPointF band(project.size().width() / 2.0, frame.top() + 2);
    const auto colourOf = [&](uchar index) { return project.palette().colorAt(index); };
    const uchar before = project.slotIndex(HistoryColorSlot::Background);
    const uchar after = before == 6 ? 2 : 6;
    // A first edit settles the title and status bar, whose changes could repaint it all.
    QTest::mouseClick(m_window->canvasArea(), Qt::LeftButton);
    QTest::qWait(50);
    QTRY_COMPARE(shownColourAt(*m_window, band), colourOf(before));

    m_window->canvasArea()->setPenIndex(after);
    m_window->assignColorSlot(ColorAssignmentWidget::Slot::Background, Qt::LeftButton);
    QTRY_COMPARE(shownColourAt(*m_window, band), colourOf(after));
    m_window->undo();
    QTRY_COMPARE(shownColourAt(*m_window, band), colourOf(before));
    m_window->redo();
    QTRY_COMPARE(shownColourAt(*m_window, band), colourOf(after));
}

void TestMainWindowCommands::onlineManualReportsWhatReallyHappened()
{
    auto* opener = m_window->findChild<ExternalUrlOpener*>();
    QVERIFY(opener);

    // An opener that fails (no browser set up) is a failure, not "Opened ...".
    opener->setProgram(QStandardPaths::findExecutable(QStringLiteral("false")));
    findAction(*m_window, "Online User Manual")->trigger();
    QTRY_COMPARE(m_warnings.size(), 1);
    QVERIFY(m_warnings.constFirst().startsWith(QStringLiteral("Could not open ")));
    QVERIFY(!statusMessage(*m_window).startsWith(QStringLiteral("Opened")));

    opener->setProgram(QStringLiteral("/nonexistent/opener"));
    findAction(*m_window, "Online User Manual")->trigger();
    QTRY_COMPARE(m_warnings.size(), 2);

    opener->setProgram(QStandardPaths::findExecutable(QStringLiteral("true")));
    findAction(*m_window, "Online User Manual")->trigger();
    QTRY_COMPARE(
        statusMessage(*m_window), QStringLiteral("Opened the online user manual in your web browser."));
    QCOMPARE(m_warnings.size(), 2);
}

QTEST_MAIN(TestMainWindowCommands)
#include "tst_main_window_commands.moc"

// Selection commands: the menus follow the selection, Ctrl+Z walks the selection steps
// before the picture's history, and the image export writes only the selection.
void TestMainWindowCommands::selectionCommandsRelabelUndoAndExport()
{
    MainWindow& window = *m_window;
    CanvasArea* canvas = window.canvasArea();
    QAction* undo = findAction(window, "Undo");
    QAction* copy = findAction(window, "Copy");
    QAction* paste = findAction(window, "Paste");
    QTest::mouseClick(canvas, Qt::LeftButton);
    QCOMPARE(window.project().history().index(), 1);
    QVERIFY(!copy->isEnabled() && !paste->isEnabled());

    findAction(window, "Select All")->trigger();
    QVERIFY(findAction(window, "Rectangle Select Tool")->isChecked());
    QVERIFY(copy->isEnabled());
    QCOMPARE(findAction(window, "Flip Selection Horizontally")->shortcut(), QKeySequence("Ctrl+J"));
    QAction* exportAction = findAction(window, "Export Selection to Image As...");
    copy->trigger();
    QVERIFY(paste->isEnabled());
    findAction(window, "Deselect")->trigger();
    QCOMPARE(exportAction->text(), QString("Export to Image As..."));
    QVERIFY(!copy->isEnabled());

    const QRegion everything(window.project().rect());
    QVERIFY(undo->isEnabled());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(canvas->selectTool().selection(), everything);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(canvas->selectTool().selection().isEmpty());
    QCOMPARE(window.project().history().index(), 1);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.project().history().index(), 0);

    // A selection asks nothing about formats or borders.
    canvas->selectTool().setSelectionRegion(QRegion(8, 8, 20, 10));
    QTemporaryDir dir;
    const QString path = dir.filePath("part.png");
    DocumentPrompts& prompts = window.documentPrompts();
    prompts.chooseExportFamily = [](bool) -> std::optional<ExportFamilyChoice> {
        qFatal("the selection export asked for a family");
    };
    prompts.chooseExportPath = [path](const QString&, const QString&) { return path; };
    exportAction->trigger();
    QCOMPARE(QImage(path).size(), QSize(20, 10));
}
