#include "app/main_window.h"
#include "model/project.h"
#include "view/canvas_area.h"
#include "widgets/elided_label.h"
#include "widgets/palette_widget.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {

QAction* findAction(const MainWindow& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no action %s", qPrintable(text));
}

QMenu* findMenu(const MainWindow& window, const QString& title)
{
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        if (menu->title() == title)
            return menu;
    }
    qFatal("no menu %s", qPrintable(title));
}

void sendMouse(QWidget* widget, QEvent::Type type, QPointF position, Qt::MouseButton button)
{
    const Qt::MouseButtons buttons
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A dab of the pen in the middle of the canvas, pressed and released.
void paintDab(CanvasArea* canvas)
{
    const QPointF centre = QRectF(canvas->rect()).center();
    sendMouse(canvas, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseButtonRelease, centre, Qt::LeftButton);
}

} // namespace

class TestMainWindowCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void menuBarOrder();
    void penColorKeys_data();
    void penColorKeys();
    void penWidthKeysStayInRange_data();
    void penWidthKeysStayInRange();
    void toolKeysNeverSwitchAToolOff();
    void radioCommandRefusedDuringAStrokeRestoresItsCheck();
    void undoAndModeChangesDriveTheEnabling();
    void colorSlotClickRecordsOneAssignment_data();
    void colorSlotClickRecordsOneAssignment();
    void documentCommandsRecordOneEntryEach();
    void userManualOpensOnceOnF1();

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindowCommands::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QCoreApplication::setOrganizationName(QStringLiteral("kromelstudio-test"));
    QCoreApplication::setApplicationName(QStringLiteral("KROMEL-commands"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
}

void TestMainWindowCommands::init()
{
    m_window = std::make_unique<MainWindow>();
    m_window->documentPrompts().askToSaveChanges = [] { return SaveChangesAnswer::Discard; };
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestMainWindowCommands::cleanup()
{
    m_window.reset();
}

void TestMainWindowCommands::menuBarOrder()
{
    QStringList titles;
    for (QAction* action : m_window->menuBar()->actions())
        titles.append(action->text());
    QCOMPARE(titles, QStringList({"File", "Edit", "Options", "Palette", "View", "Help"}));
}

void TestMainWindowCommands::penColorKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("index");
    QTest::newRow("1 is colour 0") << int(Qt::Key_1) << false << 0;
    QTest::newRow("8 is colour 7") << int(Qt::Key_8) << false << 7;
    QTest::newRow("Shift+1 is colour 8") << int(Qt::Key_1) << true << 8;
    QTest::newRow("Shift+8 is colour 15") << int(Qt::Key_8) << true << 15;
}

void TestMainWindowCommands::penColorKeys()
{
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(int, index);
    QTest::keyClick(m_window.get(), Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(int(m_window->canvasArea()->penIndex()), index);
    QCOMPARE(int(m_window->paletteBar()->primaryIndex()), index);
}

void TestMainWindowCommands::penWidthKeysStayInRange_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("width");
    QTest::newRow("'.' at 32 stays 32") << 32 << int(Qt::Key_Period) << 32;
    QTest::newRow("',' at 1 stays 1") << 1 << int(Qt::Key_Comma) << 1;
    QTest::newRow("']' widens") << 5 << int(Qt::Key_BracketRight) << 6;
    QTest::newRow("'[' narrows") << 5 << int(Qt::Key_BracketLeft) << 4;
}

void TestMainWindowCommands::penWidthKeysStayInRange()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, width);
    m_window->canvasArea()->setPenWidth(start);
    QTest::keyClick(m_window.get(), Qt::Key(key));
    QCOMPARE(m_window->canvasArea()->brush().width(), width);
    // The status bar follows the canvas.
    QStringList readouts;
    for (const ElidedLabel* label : m_window->findChildren<ElidedLabel*>())
        readouts.append(label->fullText());
    QVERIFY2(readouts.contains(QStringLiteral("Brush: Round %1").arg(width)), qPrintable(readouts.join('|')));
}

void TestMainWindowCommands::toolKeysNeverSwitchAToolOff()
{
    CanvasArea* canvas = m_window->canvasArea();
    QTest::keyClick(m_window.get(), Qt::Key_E);
    QVERIFY(canvas->eraserToolActive());
    QTest::keyClick(m_window.get(), Qt::Key_E);
    QVERIFY(canvas->eraserToolActive());
    QVERIFY(findAction(*m_window, "Eraser Tool")->isChecked());
    QTest::keyClick(m_window.get(), Qt::Key_I);
    QVERIFY(canvas->eyedropperToolActive());
    QVERIFY(!findAction(*m_window, "Eraser Tool")->isChecked());
    QTest::keyClick(m_window.get(), Qt::Key_B);
    QVERIFY(!canvas->eyedropperToolActive() && !canvas->eraserToolActive());
    QVERIFY(findAction(*m_window, "Pen Tool")->isChecked());
}

void TestMainWindowCommands::radioCommandRefusedDuringAStrokeRestoresItsCheck()
{
    m_window->newMulticolorTopBottomSpritesCanvas();
    CanvasArea* canvas = m_window->canvasArea();
    QAction* right = findAction(*m_window, "Top Sprites Align Right");
    QAction* left = findAction(*m_window, "Top Sprites Align Left");
    const QPointF centre = QRectF(canvas->rect()).center();

    sendMouse(canvas, QEvent::MouseButtonPress, centre, Qt::LeftButton);
    QVERIFY(canvas->strokeInProgress());
    right->trigger();
    QCOMPARE(m_window->project().layout().topAlignment, SpriteAlignment::Left);
    QVERIFY(left->isChecked());
    sendMouse(canvas, QEvent::MouseButtonRelease, centre, Qt::LeftButton);

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
    paintDab(window.canvasArea());
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

void TestMainWindowCommands::colorSlotClickRecordsOneAssignment_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("index");
    QTest::newRow("left click gives the primary colour") << int(Qt::LeftButton) << 5;
    QTest::newRow("right click gives the secondary colour") << int(Qt::RightButton) << 9;
}

void TestMainWindowCommands::colorSlotClickRecordsOneAssignment()
{
    QFETCH(int, button);
    QFETCH(int, index);
    m_window->newMulticolorCanvas();
    m_window->canvasArea()->setPenIndex(5);
    m_window->canvasArea()->setSecondaryIndex(9);
    ColorAssignmentWidget* bar = m_window->colorSlotBar();
    const QList<ColorAssignmentWidget::Slot> slots = ColorAssignmentWidget::slotsFor(m_window->project());
    const int position = int(slots.indexOf(ColorAssignmentWidget::Slot::Background));
    QVERIFY(position >= 0);

    QTest::mouseClick(
        bar, Qt::MouseButton(button), {}, bar->slotRect(position, int(slots.size())).center().toPoint());
    const History& history = m_window->project().history();
    QCOMPARE(history.count(), 1);
    QCOMPARE(history.entries().constFirst().kind, HistoryEntryKind::ColorAssignment);
    QCOMPARE(int(m_window->project().slotIndex(HistoryColorSlot::Background)), index);
    QVERIFY(findAction(*m_window, "Undo")->isEnabled());
}

// Each document command goes through the idle guard and leaves exactly one undoable step.
void TestMainWindowCommands::documentCommandsRecordOneEntryEach()
{
    MainWindow& window = *m_window;
    window.newMulticolorCanvas();
    paintDab(window.canvasArea());
    window.canvasArea()->setPenIndex(7);
    const QList<QKeySequence> keys = {QKeySequence("Ctrl+J"), QKeySequence("Ctrl+K"), QKeySequence("Alt+X")};
    for (const QKeySequence& key : keys) {
        const int before = window.project().history().count();
        QTest::keySequence(&window, key);
        QCOMPARE(window.project().history().count(), before + 1);
    }
    const int before = window.project().history().count();
    QTest::keySequence(&window, QKeySequence("Ctrl+L"));
    QCOMPARE(window.project().history().count(), before + 1);
    const Colormap& cleared = window.project().colormap();
    const uchar background = window.project().slotIndex(HistoryColorSlot::Background);
    for (int y = 0; y < cleared.height(); ++y) {
        for (int x = 0; x < cleared.width(); ++x)
            QCOMPARE(cleared.pixel(x, y), background);
    }
}

void TestMainWindowCommands::userManualOpensOnceOnF1()
{
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    QTest::keyClick(m_window.get(), Qt::Key_F1);
    QList<QTextBrowser*> browsers = m_window->findChildren<QTextBrowser*>();
    QCOMPARE(browsers.size(), 1);
    QWidget* manual = browsers.constFirst()->window();
    QCOMPARE(manual->windowTitle(), QStringLiteral("KROMEL User Manual"));
    QVERIFY(manual->isVisible());
    QVERIFY(browsers.constFirst()->toPlainText().contains(QStringLiteral("Menus and keyboard shortcuts")));
}

QTEST_MAIN(TestMainWindowCommands)
#include "tst_main_window_commands.moc"
