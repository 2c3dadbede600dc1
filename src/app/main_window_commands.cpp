// The main window's actions, menus and shortcuts, and the commands behind them.
//
// Commands whose work belongs to parts of the program still to come (sprite import,
// conversion, selections, shapes, the fill tool, the PRG export and the device
// link) are in the menus with their
// shortcuts but disabled, so nothing in the menus pretends to work.

#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/color_slot_assignment.h"
#include "app/external_url_opener.h"
#include "app/live_link_controller.h"
#include "app/user_manual_window.h"
#include "document/project.h"
#include "formats/prg/executable_prg.h"
#include "model/canvas_region.h"
#include "model/palette.h"
#include "model/policies.h"
#include "paint/brush.h"
#include "paint/texture_mode.h"
#include "view/canvas_area.h"
#include "view/tools/canvas_tool.h"
#include "view/tools/select_tool.h"
#include "view/tools/shape_tool.h"
#include "widgets/palette_widget.h"
#include "widgets/texture_widget.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>

using namespace std::chrono_literals;

namespace {

constexpr int minPenWidth = 1;
constexpr int maxPenWidth = 32;
const QString onlineManualAddress = QStringLiteral("https://kromel.app/manual");

QAction* addRadio(QActionGroup* group, const QString& text, const QVariant& data)
{
    QAction* action = group->addAction(text);
    action->setCheckable(true);
    action->setData(data);
    return action;
}

QAction* addToggle(QObject* parent, const QString& text, bool checked = false)
{
    auto* action = new QAction(text, parent);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

// Checks the group's action carrying `value`; a value no action carries changes nothing.
bool checkActionWithData(QActionGroup* group, const QVariant& value)
{
    for (QAction* action : group->actions()) {
        const bool matches = value.typeId() == QMetaType::Double
            ? qFuzzyCompare(action->data().toDouble(), value.toDouble())
            : action->data().toInt() == value.toInt();
        if (matches) {
            action->setChecked(true);
            return true;
        }
    }
    return false;
}

void addGroup(QMenu* menu, QActionGroup* group)
{
    menu->addActions(group->actions());
}

} // namespace

void MainWindow::createColorBars()
{
    // They live on the palette dashboard over the canvas, which createDashboards builds.
    m_paletteBar = new PaletteWidget(m_project, m_canvas);
    m_colorSlotBar = new ColorAssignmentWidget(m_project, m_canvas);
    m_textureBar = new TextureWidget(m_canvas);
    connect(m_textureBar, &TextureWidget::textureSelected, m_canvas, &CanvasArea::setTexture);

    m_paletteBar->setPrimaryIndex(m_canvas->penIndex());
    m_paletteBar->setSecondaryIndex(m_canvas->secondaryIndex());
    connect(m_paletteBar, &PaletteWidget::primaryIndexSelected, m_canvas, &CanvasArea::setPenIndex);
    connect(m_paletteBar, &PaletteWidget::secondaryIndexSelected, m_canvas, &CanvasArea::setSecondaryIndex);
    connect(m_canvas, &CanvasArea::penColorsChanged, this, [this] {
        m_paletteBar->setPrimaryIndex(m_canvas->penIndex());
        m_paletteBar->setSecondaryIndex(m_canvas->secondaryIndex());
    });
    connect(m_colorSlotBar, &ColorAssignmentWidget::slotClicked, this, &MainWindow::assignColorSlot);
    connect(this, &MainWindow::documentReplaced, this, &MainWindow::followReplacedDocument);
}

void MainWindow::createActions()
{
    createFileActions();
    createEditActions();
    createOptionsActions();
    createViewActions();

    m_userManualAction = new QAction(tr("User Manual"), this);
    m_userManualAction->setShortcuts(QKeySequence::HelpContents);
    connect(m_userManualAction, &QAction::triggered, this, &MainWindow::showUserManual);
    m_onlineManualAction = new QAction(tr("Online User Manual"), this);
    connect(m_onlineManualAction, &QAction::triggered, this, &MainWindow::showOnlineUserManual);
    m_urlOpener = new ExternalUrlOpener(this);
    connect(m_urlOpener, &ExternalUrlOpener::finished, this,
        [this](const QUrl&, bool opened) { onlineUserManualOpened(opened); });
    m_aboutAction = new QAction(tr("About"), this);
    connect(m_aboutAction, &QAction::triggered, this, &MainWindow::about);
    m_aboutQtAction = new QAction(tr("About Qt"), this);
    connect(m_aboutQtAction, &QAction::triggered, qApp, &QApplication::aboutQt);

    createWindowCommands();
}

void MainWindow::createFileActions()
{
    m_newAction = new QAction(tr("New Canvas..."), this);
    m_newAction->setShortcuts(QKeySequence::New);
    connect(m_newAction, &QAction::triggered, this, &MainWindow::newCanvasFromDialog);

    const std::pair<QString, void (MainWindow::*)()> presets[] = {
        {tr("Hires Canvas"), &MainWindow::newHiresCanvas},
        {tr("Hires + Side Sprites Canvas"), &MainWindow::newHiresSpritesCanvas},
        {tr("Hires + Top/Bottom Sprites Canvas"), &MainWindow::newHiresTopBottomSpritesCanvas},
        {tr("Multicolor Canvas"), &MainWindow::newMulticolorCanvas},
        {tr("Multicolor + Side Sprites Canvas"), &MainWindow::newMulticolorSpritesCanvas},
        {tr("Multicolor + Top/Bottom Sprites Canvas"), &MainWindow::newMulticolorTopBottomSpritesCanvas},
        {tr("Dual Hires Canvas"), &MainWindow::newDualHiresCanvas},
        {tr("Dual Multicolor Canvas"), &MainWindow::newDualMulticolorCanvas},
    };
    for (const auto& [text, slot] : presets) {
        auto* action = new QAction(text, this);
        connect(action, &QAction::triggered, this, slot);
        m_presetActions.append(action);
    }

    m_openAction = new QAction(tr("Open..."), this);
    m_openAction->setShortcuts(QKeySequence::Open);
    connect(m_openAction, &QAction::triggered, this, &MainWindow::openProject);
    m_saveAction = new QAction(tr("Save"), this);
    m_saveAction->setShortcuts(QKeySequence::Save);
    connect(m_saveAction, &QAction::triggered, this, &MainWindow::saveProject);
    m_saveAsAction = new QAction(tr("Save As..."), this);
    m_saveAsAction->setShortcut(QKeySequence(tr("Ctrl+Shift+S")));
    connect(m_saveAsAction, &QAction::triggered, this, &MainWindow::saveProjectAs);

    m_importImageAction = new QAction(tr("Import Image..."), this);
    connect(m_importImageAction, &QAction::triggered, this, &MainWindow::importImage);
    m_importSpritesAction = new QAction(tr("Import Sprites..."), this);
    connect(m_importSpritesAction, &QAction::triggered, this, &MainWindow::importSprites);
    m_importReferenceAction = new QAction(tr("Import Reference Image..."), this);
    m_convertImageAction = new QAction(tr("Convert Image..."), this);
    m_convertImageAction->setShortcut(QKeySequence(tr("Ctrl+P")));
    connect(m_convertImageAction, &QAction::triggered, this, &MainWindow::convertImage);
    m_exportImageAction = new QAction(tr("Export to Image As..."), this);
    m_exportImageAction->setShortcut(QKeySequence(tr("Ctrl+Shift+P")));
    connect(m_exportImageAction, &QAction::triggered, this, &MainWindow::exportImage);
    m_exportUltimateAction = new QAction(tr("Export to Ultimate Device"), this);
    m_exportUltimateAction->setShortcut(QKeySequence(tr("Ctrl+E")));
    connect(m_exportUltimateAction, &QAction::triggered, this, &MainWindow::sendToUltimate);
    m_exportPrgAction = new QAction(tr("Export to PRG File As..."), this);
    m_exportPrgAction->setShortcut(QKeySequence(tr("Ctrl+Shift+E")));
    connect(m_exportPrgAction, &QAction::triggered, this, &MainWindow::exportPrg);
    m_saveWorkstagesAction = new QAction(tr("Save Workstages..."), this);
    m_saveWorkstagesAction->setEnabled(false);
    connect(m_saveWorkstagesAction, &QAction::triggered, this, &MainWindow::saveWorkstages);
    m_printAction = new QAction(tr("Print..."), this);
    connect(m_printAction, &QAction::triggered, this, &MainWindow::print);

    m_exitAction = new QAction(tr("Exit"), this);
    m_exitAction->setShortcuts(QKeySequence::Quit);
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::createEditActions()
{
    m_undoAction = new QAction(tr("Undo"), this);
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_undoAction->setEnabled(false);
    connect(m_undoAction, &QAction::triggered, this, &MainWindow::undo);

    m_redoAction = new QAction(tr("Redo"), this);
    // Ctrl+Y as well where the platform's standard binding is only Ctrl+Shift+Z: artists
    // coming from other painting programs reach for it.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    m_redoAction->setShortcuts(redoKeys);
    m_redoAction->setEnabled(false);
    connect(m_redoAction, &QAction::triggered, this, &MainWindow::redo);

    m_clearHistoryAction = new QAction(tr("Clear History"), this);
    m_clearHistoryAction->setEnabled(false);
    connect(m_clearHistoryAction, &QAction::triggered, this, &MainWindow::clearHistory);

    const auto selectionCommand = [this](const QString& text, const QKeySequence& keys) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        action->setEnabled(false);
        return action;
    };
    m_cutAction = selectionCommand(tr("Cut"), QKeySequence::Cut);
    m_copyAction = selectionCommand(tr("Copy"), QKeySequence::Copy);
    m_pasteAction = selectionCommand(tr("Paste"), QKeySequence::Paste);
    m_pasteTransparentAction
        = selectionCommand(tr("Paste with Transparency"), QKeySequence(tr("Ctrl+Shift+V")));
    m_selectAllAction = selectionCommand(tr("Select All"), QKeySequence::SelectAll);
    m_selectAllAction->setEnabled(true);
    m_deselectAction = selectionCommand(tr("Deselect"), QKeySequence(tr("Ctrl+D")));
    m_invertSelectionAction = selectionCommand(tr("Invert Selection"), QKeySequence(tr("Ctrl+Shift+I")));
    connect(m_cutAction, &QAction::triggered, m_canvas, &CanvasArea::cutSelection);
    connect(m_copyAction, &QAction::triggered, m_canvas, &CanvasArea::copySelection);
    connect(m_pasteAction, &QAction::triggered, this, [this] { pasteFromClipboard(false); });
    connect(m_pasteTransparentAction, &QAction::triggered, this, [this] { pasteFromClipboard(true); });
    connect(m_selectAllAction, &QAction::triggered, this, &MainWindow::selectAll);
    connect(m_deselectAction, &QAction::triggered, m_canvas, &CanvasArea::deselect);
    connect(m_invertSelectionAction, &QAction::triggered, m_canvas, &CanvasArea::invertSelection);

    m_colorSwapAction = new QAction(tr("Color Swap"), this);
    m_colorSwapAction->setShortcut(QKeySequence(tr("Alt+X")));
    connect(m_colorSwapAction, &QAction::triggered, this, [this] { swapOrReplaceColors(true); });
    m_colorReplaceAction = new QAction(tr("Color Replace"), this);
    m_colorReplaceAction->setShortcut(QKeySequence(tr("Alt+A")));
    connect(m_colorReplaceAction, &QAction::triggered, this, [this] { swapOrReplaceColors(false); });

    m_flipHorizontalAction = new QAction(tr("Flip Horizontally"), this);
    m_flipHorizontalAction->setShortcut(QKeySequence(tr("Ctrl+J")));
    connect(m_flipHorizontalAction, &QAction::triggered, this, [this] { flipCanvas(Qt::Horizontal); });
    m_flipVerticalAction = new QAction(tr("Flip Vertically"), this);
    m_flipVerticalAction->setShortcut(QKeySequence(tr("Ctrl+K")));
    connect(m_flipVerticalAction, &QAction::triggered, this, [this] { flipCanvas(Qt::Vertical); });

    m_commitShapesAction = selectionCommand(tr("Commit Shapes"), QKeySequence(Qt::Key_Return));
    m_commitShapesAction->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    m_discardShapesAction = selectionCommand(tr("Discard Shapes"), QKeySequence(Qt::Key_Escape));
    connect(m_commitShapesAction, &QAction::triggered, this, [this] {
        m_canvas->commitShapeStage();
        refreshUndoActions();
    });
    connect(m_discardShapesAction, &QAction::triggered, this, &MainWindow::discardShapes);

    m_settingsAction = new QAction(tr("Settings..."), this);
    connect(m_settingsAction, &QAction::triggered, this, &MainWindow::showSettings);
}

void MainWindow::createOptionsActions()
{
    m_penWidthAction = new QAction(tr("Pen Width..."), this);
    connect(m_penWidthAction, &QAction::triggered, this, &MainWindow::penWidth);

    m_brushShapeGroup = new QActionGroup(this);
    addRadio(m_brushShapeGroup, tr("Round Brush"), int(BrushShape::Round));
    addRadio(m_brushShapeGroup, tr("Square Brush"), int(BrushShape::Square));
    checkActionWithData(m_brushShapeGroup, int(m_canvas->brush().shape()));
    connect(m_brushShapeGroup, &QActionGroup::triggered, this, &MainWindow::setBrushShape);

    m_pixelPerfectAction = addToggle(this, tr("Pixel-Perfect Strokes"));
    connect(m_pixelPerfectAction, &QAction::toggled, m_canvas, &CanvasArea::setPixelPerfectStrokes);
    m_antialiasedAction = addToggle(this, tr("Anti-Aliased Strokes"));
    connect(m_antialiasedAction, &QAction::toggled, m_canvas, &CanvasArea::setAntialiasedStrokes);
    m_pressureWideningAction = addToggle(this, tr("Pressure-Widened Strokes"), true);
    connect(m_pressureWideningAction, &QAction::toggled, this, [this](bool on) {
        m_canvas->setPressureWidening(on);
        syncAntialiasedStrokesAction();
    });
    m_disableFillPreviewAction = addToggle(this, tr("Disable Fill Preview"));
    connect(m_disableFillPreviewAction, &QAction::toggled, this,
        [this](bool on) { m_canvas->setFillPreviewEnabled(!on); });

    m_toolGroup = new QActionGroup(this);
    const auto tool = [this](const QString& text, const QString& keys, const QString& icon) {
        QAction* action = m_toolGroup->addAction(text);
        action->setCheckable(true);
        action->setShortcut(QKeySequence(keys));
        if (!icon.isEmpty())
            action->setIcon(QIcon(QStringLiteral(":/dashboard/%1.svg").arg(icon)));
        return action;
    };
    m_penToolAction = tool(tr("Pen Tool"), tr("B"), QStringLiteral("tool_pen"));
    m_penToolAction->setToolTip(tr("Pen (freehand drawing; the default tool)"));
    m_penToolAction->setChecked(true);
    m_eraserToolAction = tool(tr("Eraser Tool"), tr("E"), QStringLiteral("tool_eraser"));
    connect(m_eraserToolAction, &QAction::toggled, this, &MainWindow::eraserToolToggled);
    m_fillToolAction = tool(tr("Fill Tool"), tr("G"), QStringLiteral("tool_fill"));
    connect(m_fillToolAction, &QAction::toggled, this, &MainWindow::fillToolToggled);
    m_shapeToolAction = tool(tr("Shape Tool"), tr("S"), {});
    connect(m_shapeToolAction, &QAction::toggled, this, &MainWindow::shapeToolToggled);
    m_eyedropperToolAction = tool(tr("Eyedropper Tool"), tr("I"), QStringLiteral("tool_eyedrop"));
    connect(m_eyedropperToolAction, &QAction::toggled, this, &MainWindow::eyedropperToolToggled);
    m_panToolAction = tool(tr("Pan Tool"), tr("H"), QStringLiteral("tool_pan"));
    connect(m_panToolAction, &QAction::toggled, this, &MainWindow::panToolToggled);
    m_rectSelectToolAction = tool(tr("Rectangle Select Tool"), tr("M"), QStringLiteral("tool_selection"));
    m_lassoSelectToolAction = tool(tr("Lasso Select Tool"), tr("L"), QStringLiteral("tool_selectionlasso"));
    connect(m_rectSelectToolAction, &QAction::toggled, this, &MainWindow::rectSelectToolToggled);
    connect(m_lassoSelectToolAction, &QAction::toggled, this, &MainWindow::lassoSelectToolToggled);
    m_moveAxesAction = tool(tr("Move Axes"), tr("Y"), {});
    connect(m_moveAxesAction, &QAction::toggled, this, &MainWindow::symmetryToolToggled);
    m_moveAxesAction->setEnabled(false);

    m_contourGroup = new QActionGroup(this);
    addRadio(m_contourGroup, tr("Center"), 0)->setChecked(true);
    addRadio(m_contourGroup, tr("Outside"), 1);
    addRadio(m_contourGroup, tr("Inside"), 2);
    connect(m_contourGroup, &QActionGroup::triggered, this, &MainWindow::setContourPlacement);

    m_shapeKindGroup = new QActionGroup(this);
    addRadio(m_shapeKindGroup, tr("Line"), 0)->setChecked(true);
    addRadio(m_shapeKindGroup, tr("Rectangle"), 1);
    addRadio(m_shapeKindGroup, tr("Circle"), 2);
    addRadio(m_shapeKindGroup, tr("Star"), 3);
    addRadio(m_shapeKindGroup, tr("Path"), 4);
    connect(m_shapeKindGroup, &QActionGroup::triggered, this, &MainWindow::setShapeKind);
    m_filledShapesAction = addToggle(this, tr("Filled Shapes"), true);
    connect(m_filledShapesAction, &QAction::toggled, m_canvas, &CanvasArea::setShapesFilled);

    m_textureModeGroup = new QActionGroup(this);
    addRadio(m_textureModeGroup, tr("Two-Color Texture"), int(TextureMode::TwoColor));
    addRadio(m_textureModeGroup, tr("Texture Stencil"), int(TextureMode::Stencil));
    checkActionWithData(m_textureModeGroup, int(m_canvas->textureMode()));
    connect(m_textureModeGroup, &QActionGroup::triggered, this, &MainWindow::setTextureMode);

    m_symmetryGroup = new QActionGroup(this);
    const QString symmetryModes[] = {
        tr("None"), tr("Horizontal"), tr("Vertical"), tr("Quadrant"), tr("Bi-Quadrant"), tr("Kaleidoscope")};
    for (int i = 0; i < 6; ++i)
        addRadio(m_symmetryGroup, symmetryModes[i], i)->setChecked(i == 0);
    connect(m_symmetryGroup, &QActionGroup::triggered, this, &MainWindow::setSymmetryMode);
    m_resetAxesAction = new QAction(tr("Reset Axes to Center"), this);
    m_resetAxesAction->setEnabled(false);
    connect(m_resetAxesAction, &QAction::triggered, m_canvas, &CanvasArea::resetSymmetryAxes);
    m_symmetricFillAction = addToggle(this, tr("Apply to Flood Fill"));
    m_symmetricFillAction->setEnabled(false);
    connect(m_symmetricFillAction, &QAction::toggled, m_canvas, &CanvasArea::setSymmetricFill);
    m_symmetricShapesAction = addToggle(this, tr("Apply to Shapes"));
    m_symmetricShapesAction->setEnabled(false);
    connect(m_symmetricShapesAction, &QAction::toggled, m_canvas, &CanvasArea::setSymmetricShapes);

    m_hiresClashGroup = new QActionGroup(this);
    addRadio(
        m_hiresClashGroup, tr("Replace Overwritten Color"), int(HiresClashResolution::ReplaceOverwritten))
        ->setChecked(true);
    addRadio(m_hiresClashGroup, tr("Preserve Border Color"), int(HiresClashResolution::PreserveBorder));
    addRadio(m_hiresClashGroup, tr("Preserve Most-Used Color"), int(HiresClashResolution::PreserveMostUsed));
    connect(m_hiresClashGroup, &QActionGroup::triggered, this, &MainWindow::setHiresClashResolution);

    m_topAlignmentGroup = new QActionGroup(this);
    addRadio(m_topAlignmentGroup, tr("Top Sprites Align Left"), int(SpriteAlignment::Left))->setChecked(true);
    addRadio(m_topAlignmentGroup, tr("Top Sprites Align Right"), int(SpriteAlignment::Right));
    connect(m_topAlignmentGroup, &QActionGroup::triggered, this, &MainWindow::setTopBorderAlignment);
    m_bottomAlignmentGroup = new QActionGroup(this);
    addRadio(m_bottomAlignmentGroup, tr("Bottom Sprites Align Left"), int(SpriteAlignment::Left))
        ->setChecked(true);
    addRadio(m_bottomAlignmentGroup, tr("Bottom Sprites Align Right"), int(SpriteAlignment::Right));
    connect(m_bottomAlignmentGroup, &QActionGroup::triggered, this, &MainWindow::setBottomBorderAlignment);
    m_spriteCountGroup = new QActionGroup(this);
    addRadio(m_spriteCountGroup, tr("Enforce 8-Sprite Border Limit"), int(SpriteCountPolicy::Enforce));
    addRadio(m_spriteCountGroup, tr("Flag Sprites over the Border Limit"), int(SpriteCountPolicy::Flag))
        ->setChecked(true);
    connect(m_spriteCountGroup, &QActionGroup::triggered, this, &MainWindow::setSpriteCountPolicy);
    m_reduceBorderSpritesAction = new QAction(tr("Reduce Borders to 8 Sprites"), this);
    connect(m_reduceBorderSpritesAction, &QAction::triggered, this, &MainWindow::reduceBorderSprites);

    m_liveLink = new LiveLinkController([this]() -> const Project& { return *m_project; }, this);
    m_liveLink->followCanvas(m_canvas);
    m_liveLinkAction = new QAction(tr("Live Link to Ultimate Device"), this);
    m_liveLinkAction->setCheckable(true);
    connect(m_liveLinkAction, &QAction::toggled, this, &MainWindow::toggleLiveLink);
    connect(m_liveLink, &LiveLinkController::stopped, this, &MainWindow::liveLinkStopped);

    m_clearScreenAction = new QAction(tr("Clear Screen"), this);
    m_clearScreenAction->setShortcut(QKeySequence(tr("Ctrl+L")));
    connect(m_clearScreenAction, &QAction::triggered, this, &MainWindow::clearScreen);

    m_paletteGroup = new QActionGroup(this);
    for (PaletteVariant variant : allPaletteVariants())
        addRadio(m_paletteGroup, paletteVariantName(variant), int(variant));
    syncPaletteMenu();
    connect(m_paletteGroup, &QActionGroup::triggered, this, &MainWindow::setPaletteVariant);
}

void MainWindow::createViewActions()
{
    // The zoom commands also reach the preview window when it is the active one, so they
    // listen application-wide and act on whichever window is active.
    const auto zoom = [this](const QString& text, const QKeySequence& keys, void (CanvasArea::*step)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, [this, step] { zoomCommand(step); });
        return action;
    };
    m_zoomInAction = zoom(tr("Zoom In"), QKeySequence::ZoomIn, &CanvasArea::zoomIn);
    // "+" shares its key with "=" on most layouts, so Ctrl+= is what the hand presses.
    m_zoomInAction->setShortcuts(
        QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(tr("Ctrl+=")));
    m_zoomOutAction = zoom(tr("Zoom Out"), QKeySequence::ZoomOut, &CanvasArea::zoomOut);
    m_actualSizeAction = zoom(tr("Actual Size"), QKeySequence(tr("Ctrl+0")), &CanvasArea::zoomActualSize);
    m_bestFitAction = zoom(tr("Best Fit"), QKeySequence(tr("Ctrl+Shift+0")), &CanvasArea::zoomBestFit);
    m_resetRotationAction = new QAction(tr("Reset Rotation"), this);
    m_resetRotationAction->setShortcut(QKeySequence(tr("Ctrl+R")));
    connect(m_resetRotationAction, &QAction::triggered, m_canvas, &CanvasArea::resetRotation);
    m_resetRotationBestFitAction = zoom(tr("Reset Rotation && Best Fit"), QKeySequence(tr("Ctrl+Home")),
        &CanvasArea::resetRotationAndBestFit);

    m_showDashboardsAction = addToggle(this, tr("Show Dashboards"), true);
    m_showDashboardsAction->setShortcut(QKeySequence(Qt::Key_Tab));
    connect(m_showDashboardsAction, &QAction::toggled, this, &MainWindow::setDashboardsVisible);

    m_referenceGridsAction = addToggle(this, tr("Show Reference Grids"));
    m_referenceGridsAction->setShortcut(QKeySequence(tr("Shift+H")));
    m_pixelGridsAction = addToggle(this, tr("Show Pixel Grids"));
    m_pixelGridsAction->setShortcut(QKeySequence(tr("Shift+Z")));
    m_safeFramesAction = addToggle(this, tr("Show Safe Frames"));
    connect(m_referenceGridsAction, &QAction::toggled, m_canvas, &CanvasArea::setGridVisible);
    connect(m_pixelGridsAction, &QAction::toggled, m_canvas, &CanvasArea::setPixelGridVisible);
    connect(m_safeFramesAction, &QAction::toggled, m_canvas, &CanvasArea::setSafeFramesVisible);
    m_referenceLayerAction = addToggle(this, tr("Show Reference Layer"));
    m_referenceOpacityAction = new QAction(tr("Reference Layer Opacity..."), this);
    for (QAction* later : {m_referenceLayerAction, m_referenceOpacityAction})
        later->setEnabled(false);

    m_pixelAspectGroup = new QActionGroup(this);
    addRadio(m_pixelAspectGroup, tr("Square Pixels"), 1.0);
    addRadio(m_pixelAspectGroup, tr("PAL Pixels"), 0.9375);
    addRadio(m_pixelAspectGroup, tr("NTSC Pixels"), 0.75);
    checkActionWithData(m_pixelAspectGroup, 1.0);
    connect(m_pixelAspectGroup, &QActionGroup::triggered, this, &MainWindow::setDisplayPixelAspect);
    m_bilinearAction = addToggle(this, tr("Bilinear Filtering"));
    connect(m_bilinearAction, &QAction::toggled, m_canvas, &CanvasArea::setBilinearFiltering);

    m_showPreviewAction = addToggle(this, tr("Show Preview Window"));
    m_showPreviewAction->setShortcut(QKeySequence(tr("F8")));
    m_previewOnTopAction = addToggle(this, tr("Preview Stays on Top"));
    m_mirrorPreviewAction = addToggle(this, tr("Mirror Preview Horizontally"));
    m_mirrorPreviewAction->setShortcut(QKeySequence(tr("W")));
    m_crtFilterAction = addToggle(this, tr("Enable CRT Filter in Preview Window"));
    m_crtFilterAction->setShortcut(QKeySequence(tr("Alt+F8")));
    connectPreviewActions();
    connectReferenceLayerActions();
}

// Commands in no menu, added to the window so their keys work whenever it is active.
void MainWindow::createWindowCommands()
{
    const auto command = [this](const QString& text, const QList<QKeySequence>& keys) {
        auto* action = new QAction(text, this);
        action->setShortcuts(keys);
        addAction(action);
        return action;
    };
    connect(
        command(tr("Decrease Pen Width"), {QKeySequence(Qt::Key_Comma), QKeySequence(Qt::Key_BracketLeft)}),
        &QAction::triggered, this, [this] { stepPenWidth(-1); });
    connect(
        command(tr("Increase Pen Width"), {QKeySequence(Qt::Key_Period), QKeySequence(Qt::Key_BracketRight)}),
        &QAction::triggered, this, [this] { stepPenWidth(+1); });
    // The digit row holds 1 to 8 with and without Shift: sixteen colours on eight keys.
    for (int index = 0; index < 16; ++index) {
        const auto digit = Qt::Key(Qt::Key_1 + index % 8);
        const QKeySequence keys = index < 8 ? QKeySequence(digit) : QKeySequence(Qt::SHIFT | digit);
        connect(command(tr("Pen Color %1").arg(index), {keys}), &QAction::triggered, this,
            [this, index] { selectPenIndex(uchar(index)); });
    }
}

void MainWindow::createMenus()
{
    m_fileMenu = new QMenu(tr("&File"), this);
    m_fileMenu->addAction(m_newAction);
    QMenu* presets = m_fileMenu->addMenu(tr("Presets"));
    presets->addActions(m_presetActions);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_openAction);
    QMenu* recent = m_fileMenu->addMenu(tr("Open Recent"));
    connect(m_fileMenu, &QMenu::aboutToShow, this, [this, recent] { updateRecentProjectsMenu(recent); });
    updateRecentProjectsMenu(recent);
    m_fileMenu->addAction(m_saveAction);
    m_fileMenu->addAction(m_saveAsAction);
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({m_importImageAction, m_importSpritesAction, m_importReferenceAction});
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_convertImageAction);
    m_fileMenu->addSeparator();
    m_fileMenu->addActions(
        {m_exportImageAction, m_exportUltimateAction, m_exportPrgAction, m_saveWorkstagesAction});
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_printAction);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exitAction);

    m_editMenu = new QMenu(tr("&Edit"), this);
    m_editMenu->addActions({m_undoAction, m_redoAction, m_clearHistoryAction});
    m_editMenu->addSeparator();
    m_editMenu->addActions({m_cutAction, m_copyAction, m_pasteAction, m_pasteTransparentAction});
    m_editMenu->addSeparator();
    m_editMenu->addActions({m_selectAllAction, m_deselectAction, m_invertSelectionAction});
    m_editMenu->addSeparator();
    m_editMenu->addActions({m_colorSwapAction, m_colorReplaceAction});
    m_editMenu->addSeparator();
    m_editMenu->addMenu(tr("Transform"))->addActions({m_flipHorizontalAction, m_flipVerticalAction});
    m_editMenu->addSeparator();
    m_editMenu->addActions({m_commitShapesAction, m_discardShapesAction});
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_settingsAction);

    m_optionsMenu = new QMenu(tr("&Options"), this);
    m_optionsMenu->addAction(m_penWidthAction);
    addGroup(m_optionsMenu, m_brushShapeGroup);
    m_optionsMenu->addActions(
        {m_pixelPerfectAction, m_antialiasedAction, m_pressureWideningAction, m_disableFillPreviewAction});
    m_optionsMenu->addSeparator();
    m_optionsMenu->addActions({m_penToolAction, m_eraserToolAction, m_fillToolAction});
    m_contourMenu = m_optionsMenu->addMenu(tr("Fill Contour Placement"));
    addGroup(m_contourMenu, m_contourGroup);
    m_contourMenu->setEnabled(false);
    m_optionsMenu->addAction(m_shapeToolAction);
    QMenu* shapeMenu = m_optionsMenu->addMenu(tr("Shape"));
    addGroup(shapeMenu, m_shapeKindGroup);
    shapeMenu->addSeparator();
    shapeMenu->addAction(m_filledShapesAction);
    m_optionsMenu->addActions(
        {m_eyedropperToolAction, m_panToolAction, m_rectSelectToolAction, m_lassoSelectToolAction});
    m_optionsMenu->addSeparator();
    addGroup(m_optionsMenu, m_textureModeGroup);
    QMenu* symmetryMenu = m_optionsMenu->addMenu(tr("Symmetry"));
    addGroup(symmetryMenu, m_symmetryGroup);
    symmetryMenu->addSeparator();
    symmetryMenu->addActions({m_moveAxesAction, m_resetAxesAction});
    symmetryMenu->addSeparator();
    symmetryMenu->addActions({m_symmetricFillAction, m_symmetricShapesAction});
    m_hiresClashMenu = m_optionsMenu->addMenu(tr("Hires Clash Resolution"));
    addGroup(m_hiresClashMenu, m_hiresClashGroup);
    m_borderSpritesMenu = m_optionsMenu->addMenu(tr("Border Sprites"));
    addGroup(m_borderSpritesMenu, m_topAlignmentGroup);
    m_borderSpritesMenu->addSeparator();
    addGroup(m_borderSpritesMenu, m_bottomAlignmentGroup);
    m_borderSpritesMenu->addSeparator();
    addGroup(m_borderSpritesMenu, m_spriteCountGroup);
    m_borderSpritesMenu->addSeparator();
    m_borderSpritesMenu->addAction(m_reduceBorderSpritesAction);
    m_optionsMenu->addSeparator();
    m_optionsMenu->addAction(m_clearScreenAction);
    m_optionsMenu->addSeparator();
    m_optionsMenu->addAction(m_liveLinkAction);
    syncHiresClashMenu();
    syncBorderSpritesMenu();

    m_paletteMenu = new QMenu(tr("&Palette"), this);
    addGroup(m_paletteMenu, m_paletteGroup);

    m_viewMenu = new QMenu(tr("&View"), this);
    m_viewMenu->addActions({m_zoomInAction, m_zoomOutAction, m_actualSizeAction, m_bestFitAction,
        m_resetRotationAction, m_resetRotationBestFitAction});
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(m_showDashboardsAction);
    m_viewMenu->addSeparator();
    m_viewMenu->addActions({m_referenceGridsAction, m_pixelGridsAction, m_safeFramesAction,
        m_referenceLayerAction, m_referenceOpacityAction});
    m_viewMenu->addSeparator();
    addGroup(m_viewMenu, m_pixelAspectGroup);
    m_viewMenu->addAction(m_bilinearAction);
    m_viewMenu->addSeparator();
    m_viewMenu->addActions(
        {m_showPreviewAction, m_previewOnTopAction, m_mirrorPreviewAction, m_crtFilterAction});

    m_helpMenu = new QMenu(tr("&Help"), this);
    m_helpMenu->addActions({m_userManualAction, m_onlineManualAction});
    m_helpMenu->addSeparator();
    m_helpMenu->addActions({m_aboutAction, m_aboutQtAction});

    populateMenuBar(menuBar());
}

void MainWindow::populateMenuBar(QMenuBar* menuBar)
{
    for (QMenu* menu : {m_fileMenu, m_editMenu, m_optionsMenu, m_paletteMenu, m_viewMenu, m_helpMenu})
        menuBar->addMenu(menu);
}

// A document command must not cut into a file task or a gesture that is still collecting
// its history entry.
// Every document command asks here first, so a command that may run lands the staged
// shapes before it, as an entry of their own, and never paints under them.
bool MainWindow::documentCommandMayRun() const
{
    if (m_fileTaskRunning || !canvasIdle() || m_canvas->activeTool()->gestureOpen())
        return false;
    m_canvas->commitShapeStage();
    m_canvas->selectTool().commitFloatingSelection();
    return true;
}

void MainWindow::finishDocumentEdit(const QRect& changed)
{
    if (changed.isValid())
        m_canvas->refreshCanvasImage(changed);
    else
        m_canvas->update();
    m_canvas->refreshHoverPreview();
    m_colorSlotBar->update();
    m_canvas->notifyHistoryChanged();
    refreshUndoActions();
}

// A tool holding steps of its own (staged shapes, a selection) takes them back first.
void MainWindow::undo()
{
    if (m_canvas->activeTool()->handleUndo()) {
        refreshUndoActions();
        return;
    }
    if (!documentCommandMayRun())
        return;
    m_canvas->undo();
    m_colorSlotBar->update();
    syncBorderSpritesMenu();
    refreshUndoActions();
}

void MainWindow::redo()
{
    if (!documentCommandMayRun())
        return;
    m_canvas->redo();
    m_colorSlotBar->update();
    syncBorderSpritesMenu();
    refreshUndoActions();
}

void MainWindow::clearHistory()
{
    if (!documentCommandMayRun() || m_project->history().count() == 0)
        return;
    const auto answer = QMessageBox::warning(this, tr("KROMEL"),
        tr("Clear the whole history of changes?\n\nThe canvas keeps its current content, but every "
           "workstage behind it is discarded and this cannot be undone."),
        QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Yes)
        return;
    m_project->history().clear();
    m_canvas->forgetPendingAnchor();
    refreshUndoActions();
}

void MainWindow::refreshUndoActions()
{
    updateWindowTitle();
    const History& history = m_project->history();
    m_undoAction->setEnabled(history.index() >= 1 || m_canvas->activeTool()->canUndoStage());
    m_redoAction->setEnabled(history.index() < history.count());
    m_clearHistoryAction->setEnabled(history.count() >= 1);
    m_saveWorkstagesAction->setEnabled(history.index() >= 1);
    if (m_liveLink)
        m_liveLink->documentChanged();
}

void MainWindow::penWidth()
{
    bool ok = false;
    const int width = QInputDialog::getInt(this, tr("KROMEL"), tr("Select pen width:"),
        m_canvas->brush().width(), minPenWidth, maxPenWidth, 1, &ok);
    if (!ok)
        return;
    m_canvas->setPenWidth(width);
    syncAntialiasedStrokesAction();
}

void MainWindow::stepPenWidth(int delta)
{
    m_canvas->setPenWidth(std::clamp(m_canvas->brush().width() + delta, minPenWidth, maxPenWidth));
    syncAntialiasedStrokesAction();
}

void MainWindow::selectPenIndex(uchar index)
{
    m_canvas->setPenIndex(index);
    m_paletteBar->setPrimaryIndex(index);
}

void MainWindow::setPaletteVariant(QAction* action)
{
    m_project->setPaletteVariant(PaletteVariant(action->data().toInt()));
    m_canvas->refreshCanvasImage();
    m_paletteBar->update();
    m_colorSlotBar->update();
}

void MainWindow::setDisplayPixelAspect(QAction* action)
{
    m_canvas->setDisplayPixelAspect(action->data().toDouble());
}

void MainWindow::setHiresClashResolution(QAction* action)
{
    if (!documentCommandMayRun()) {
        syncHiresClashMenu();
        return;
    }
    m_project->setHiresClashResolution(HiresClashResolution(action->data().toInt()));
}

void MainWindow::setTopBorderAlignment(QAction* action)
{
    setBorderAlignmentFromMenu(SpriteStripSide::Top, action);
}

void MainWindow::setBottomBorderAlignment(QAction* action)
{
    setBorderAlignmentFromMenu(SpriteStripSide::Bottom, action);
}

void MainWindow::setBorderAlignmentFromMenu(SpriteStripSide side, QAction* action)
{
    if (!documentCommandMayRun()) {
        syncBorderSpritesMenu();
        return;
    }
    finishDocumentEdit(m_project->setBorderAlignment(side, SpriteAlignment(action->data().toInt()), true));
    syncBorderSpritesMenu();
}

void MainWindow::setSpriteCountPolicy(QAction* action)
{
    if (!documentCommandMayRun()) {
        syncBorderSpritesMenu();
        return;
    }
    m_project->setSpriteCountPolicy(SpriteCountPolicy(action->data().toInt()));
    m_canvas->refreshHoverPreview();
    m_canvas->update();
}

void MainWindow::setBrushShape(QAction* action)
{
    m_canvas->setBrushShape(BrushShape(action->data().toInt()));
}

void MainWindow::setTextureMode(QAction* action)
{
    m_canvas->setTextureMode(TextureMode(action->data().toInt()));
}

void MainWindow::eyedropperToolToggled(bool active)
{
    m_canvas->setEyedropperToolActive(active);
    refreshUndoActions();
}

void MainWindow::eraserToolToggled(bool active)
{
    m_canvas->setEraserToolActive(active);
    refreshUndoActions();
}

void MainWindow::panToolToggled(bool active)
{
    m_canvas->setPanToolActive(active);
    refreshUndoActions();
}

void MainWindow::setSymmetryMode(QAction* action)
{
    const auto mode = SymmetryMode(action->data().toInt());
    m_canvas->setSymmetryMode(mode);
    const bool on = mode != SymmetryMode::None;
    if (!on && m_moveAxesAction->isChecked())
        m_penToolAction->setChecked(true);
    for (QAction* axesAction :
        {m_moveAxesAction, m_resetAxesAction, m_symmetricFillAction, m_symmetricShapesAction})
        axesAction->setEnabled(on);
}

void MainWindow::symmetryToolToggled(bool active)
{
    m_canvas->setSymmetryToolActive(active);
    refreshUndoActions();
}

void MainWindow::fillToolToggled(bool active)
{
    m_canvas->setFillToolActive(active);
    refreshUndoActions();
}

void MainWindow::setContourPlacement(QAction* action)
{
    m_canvas->setContourPlacement(ContourPlacement(action->data().toInt()));
}

void MainWindow::shapeToolToggled(bool active)
{
    m_canvas->setShapeToolActive(active);
    m_commitShapesAction->setEnabled(active);
    m_discardShapesAction->setEnabled(active);
    refreshUndoActions();
}

// Moving from one selection tool to the other never passes through having none.
void MainWindow::rectSelectToolToggled(bool active)
{
    if (active)
        m_canvas->setSelectionTool(SelectionTool::Rectangle);
    else if (!m_lassoSelectToolAction->isChecked())
        m_canvas->setSelectionTool(SelectionTool::None);
    updateWindowTitle();
    refreshUndoActions();
}

void MainWindow::lassoSelectToolToggled(bool active)
{
    if (active)
        m_canvas->setSelectionTool(SelectionTool::Lasso);
    else if (!m_rectSelectToolAction->isChecked())
        m_canvas->setSelectionTool(SelectionTool::None);
    updateWindowTitle();
    refreshUndoActions();
}

void MainWindow::ensureSelectionTool()
{
    if (m_canvas->selectionTool() == SelectionTool::None)
        m_rectSelectToolAction->setChecked(true);
}

void MainWindow::selectAll()
{
    ensureSelectionTool();
    m_canvas->selectAll();
}

void MainWindow::pasteFromClipboard(bool transparent)
{
    ensureSelectionTool();
    m_canvas->selectTool().pasteSelection(transparent);
}

void MainWindow::refreshSelectionActions()
{
    const bool present = m_canvas->selectionPresent();
    m_flipHorizontalAction->setText(present ? tr("Flip Selection Horizontally") : tr("Flip Horizontally"));
    m_flipVerticalAction->setText(present ? tr("Flip Selection Vertically") : tr("Flip Vertically"));
    m_exportImageAction->setText(
        present ? tr("Export Selection to Image As...") : tr("Export to Image As..."));
    const bool selected = m_canvas->hasSelection();
    for (QAction* action : {m_deselectAction, m_invertSelectionAction, m_cutAction, m_copyAction})
        action->setEnabled(selected);
    const bool clipboardHolds = !m_canvas->selectTool().clipboard().isEmpty();
    m_pasteAction->setEnabled(clipboardHolds);
    m_pasteTransparentAction->setEnabled(clipboardHolds);
    refreshUndoActions();
}

void MainWindow::setShapeKind(QAction* action)
{
    m_canvas->setShapeKind(ShapeKind(action->data().toInt()));
    updateShapeButtonFace();
}

void MainWindow::discardShapes()
{
    const ShapeTool& tool = m_canvas->shapeTool();
    if (!m_canvas->shapeToolActive())
        return;
    if (!tool.dragging() && !tool.stage().isEmpty()) {
        QMessageBox box(QMessageBox::Question, tr("KROMEL"),
            tr("Discard %n staged shape(s)?", nullptr, tool.stage().count()), QMessageBox::NoButton, this);
        box.setInformativeText(
            tr("The stage is not part of the undo history, so discarding cannot be undone. "
               "Commit with Enter to keep the shapes."));
        QPushButton* discard = box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() != discard) {
            statusBar()->showMessage(tr("Discard shapes cancelled."), 5000);
            return;
        }
    }
    m_canvas->shapeTool().discardStage();
    refreshUndoActions();
}

void MainWindow::resolveAllClashes()
{
    if (documentCommandMayRun())
        finishDocumentEdit(m_project->resolveAllClashes());
}

void MainWindow::reduceBorderSprites()
{
    if (documentCommandMayRun())
        finishDocumentEdit(m_project->reduceBorderSpritesToBudget());
}

void MainWindow::clearScreen()
{
    if (!documentCommandMayRun())
        return;
    m_canvas->forgetPendingAnchor();
    finishDocumentEdit(m_project->clearCanvas(m_canvas->blankIndex()));
}

void MainWindow::flipCanvas(Qt::Orientation orientation)
{
    // The float is not dropped here: a flip of the selection flips the float itself.
    if (m_fileTaskRunning || !canvasIdle() || m_canvas->activeTool()->gestureOpen())
        return;
    if (m_canvas->selectionPresent()) {
        m_canvas->commitShapeStage();
        ensureSelectionTool();
        m_canvas->flipSelection(orientation);
        refreshSelectionActions();
        return;
    }
    if (!documentCommandMayRun())
        return;
    finishDocumentEdit(m_project->flipCanvas(orientation, true));
    syncBorderSpritesMenu();
}

void MainWindow::swapOrReplaceColors(bool swap)
{
    if (!documentCommandMayRun())
        return;
    const uchar primary = m_canvas->penIndex();
    const uchar secondary = m_canvas->secondaryIndex();
    if (m_canvas->hasSelection()) {
        const QRegion region = m_canvas->selectTool().selection();
        finishDocumentEdit(swap ? m_project->swapColorsInRegion(primary, secondary, region, true)
                                : m_project->replaceColorInRegion(primary, secondary, region, true));
        return;
    }
    finishDocumentEdit(swap ? m_project->swapColors(primary, secondary, true)
                            : m_project->replaceColor(primary, secondary, true));
}

void MainWindow::assignColorSlot(ColorAssignmentWidget::Slot slot, Qt::MouseButton button)
{
    if (!documentCommandMayRun())
        return;
    const uchar index = button == Qt::RightButton ? m_canvas->secondaryIndex() : m_canvas->penIndex();
    finishDocumentEdit(::assignColorSlot(*m_project, slot, index));
}

void MainWindow::syncHiresClashMenu()
{
    m_hiresClashMenu->setEnabled(m_project->mode() == CanvasMode::Hires);
    m_contourMenu->setEnabled(m_canvas->contourApplies());
    syncAntialiasedStrokesAction();
    checkActionWithData(m_hiresClashGroup, int(m_project->hiresClashResolution()));
}

// Anti-aliasing blends between neighbouring colours, which needs the in-between shades a
// multicolor cell can hold; a one-pixel line has no edge to soften unless pressure widens it.
void MainWindow::syncAntialiasedStrokesAction()
{
    m_antialiasedAction->setEnabled(isMulticolor(m_project->mode())
        && (m_canvas->brush().width() >= 2 || m_pressureWideningAction->isChecked()));
}

void MainWindow::syncBorderSpritesMenu()
{
    const CanvasLayoutSpec& layout = m_project->layout();
    m_borderSpritesMenu->setEnabled(layout.layout == CanvasLayout::TopBottomBorders);
    m_importSpritesAction->setEnabled(layout.layout != CanvasLayout::BitmapOnly);
    m_safeFramesAction->setEnabled(layout.layout != CanvasLayout::BitmapOnly);
    const bool runnable
        = prgExportSupported(m_project->mode(), m_project->size(), layout, m_project->screensAcross());
    m_exportPrgAction->setEnabled(runnable);
    m_exportUltimateAction->setEnabled(runnable);
    // A running link may always be switched off.
    if (m_liveLinkAction)
        m_liveLinkAction->setEnabled(runnable || m_liveLinkAction->isChecked());
    checkActionWithData(m_topAlignmentGroup, int(layout.topAlignment));
    checkActionWithData(m_bottomAlignmentGroup, int(layout.bottomAlignment));
    checkActionWithData(m_spriteCountGroup, int(m_project->spriteCountPolicy()));
}

void MainWindow::syncPaletteMenu()
{
    checkActionWithData(m_paletteGroup, int(m_project->palette().variant()));
}

void MainWindow::followReplacedDocument()
{
    m_paletteBar->setProject(m_project);
    m_colorSlotBar->setProject(m_project);
    syncHiresClashMenu();
    syncBorderSpritesMenu();
    syncPaletteMenu();
    // A new document starts with the solid pen and the textures of its own mode.
    refreshTextureBar();
    updateStatusBar();
    refreshUndoActions();
}

void MainWindow::zoomCommand(void (CanvasArea::*step)())
{
    if (zoomPreviewIfActive(step))
        return;
    if (isActiveWindow() || !QApplication::activeWindow())
        (m_canvas->*step)();
}

void MainWindow::showUserManual()
{
    if (!m_userManualWindow)
        m_userManualWindow = new UserManualWindow(this);
    m_userManualWindow->show();
    m_userManualWindow->raise();
    m_userManualWindow->activateWindow();
}

void MainWindow::showOnlineUserManual()
{
    m_urlOpener->open(QUrl(onlineManualAddress));
}

void MainWindow::onlineUserManualOpened(bool opened)
{
    if (opened) {
        showStatusMessage(tr("Opened the online user manual in your web browser."), 5000ms);
        return;
    }
    const QString text = tr("Could not open %1 in a web browser.").arg(onlineManualAddress);
    if (m_prompts.warn) {
        m_prompts.warn(text);
        return;
    }
    QMessageBox::warning(this, tr("Online User Manual"), text);
}

void MainWindow::about()
{
    AboutDialog dialog(this);
    dialog.exec();
}
