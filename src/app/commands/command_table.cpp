// The window's commands as data: one row per action, in the order the menus show them.
// A row says what the user sees (text, keys, icon, check mark), when the command is
// enabled, where the window keeps the action and what it runs.

#include "app/commands/command_table.h"

#include "app/main_window.h"
#include "model/palette.h"
#include "model/policies.h"
#include "paint/brush.h"
#include "paint/texture_mode.h"
#include "view/canvas_area.h"
#include "view/preview_area.h"
#include "view/preview_window.h"

#include <QApplication>

namespace {

using Run = std::function<void(MainWindow&, bool)>;
using F = CommandFlag;
using E = CommandEnable;

QList<QKeySequence> keys(QKeySequence::StandardKey key)
{
    return QKeySequence::keyBindings(key);
}

QList<QKeySequence> keys(const char* portable)
{
    return {QKeySequence(QString::fromLatin1(portable))};
}

Run onWindow(void (MainWindow::*slot)())
{
    return [slot](MainWindow& window, bool) { (window.*slot)(); };
}

Run onWindowToggle(void (MainWindow::*slot)(bool))
{
    return [slot](MainWindow& window, bool on) { (window.*slot)(on); };
}

Run onCanvas(void (CanvasArea::*slot)())
{
    return [slot](MainWindow& window, bool) { (window.canvasArea()->*slot)(); };
}

Run onCanvasToggle(void (CanvasArea::*slot)(bool))
{
    return [slot](MainWindow& window, bool on) { (window.canvasArea()->*slot)(on); };
}

Run onPreviewToggle(void (PreviewWindow::*slot)(bool))
{
    return [slot](MainWindow& window, bool on) { (window.previewWindow()->*slot)(on); };
}

} // namespace

std::vector<CommandGroupRow> commandGroupTable()
{
    return {
        {&MainWindow::m_brushShapeGroup, &MainWindow::setBrushShape},
        {&MainWindow::m_toolGroup, nullptr},
        {&MainWindow::m_contourGroup, &MainWindow::setContourPlacement},
        {&MainWindow::m_shapeKindGroup, &MainWindow::setShapeKind},
        {&MainWindow::m_textureModeGroup, &MainWindow::setTextureMode},
        {&MainWindow::m_symmetryGroup, &MainWindow::setSymmetryMode},
        {&MainWindow::m_hiresClashGroup, &MainWindow::setHiresClashResolution,
            GroupFollows::HiresClashResolution},
        {&MainWindow::m_topAlignmentGroup, &MainWindow::setTopBorderAlignment,
            GroupFollows::TopBorderAlignment},
        {&MainWindow::m_bottomAlignmentGroup, &MainWindow::setBottomBorderAlignment,
            GroupFollows::BottomBorderAlignment},
        {&MainWindow::m_spriteCountGroup, &MainWindow::setSpriteCountPolicy, GroupFollows::SpriteCountPolicy},
        {&MainWindow::m_paletteGroup, &MainWindow::setPaletteVariant, GroupFollows::PaletteVariant},
        {&MainWindow::m_pixelAspectGroup, &MainWindow::setDisplayPixelAspect},
    };
}

std::vector<CommandRow> commandTable()
{
    using W = MainWindow;
    // Ctrl+Y as well where the platform's standard binding is only Ctrl+Shift+Z: artists
    // coming from other painting programs reach for it.
    QList<QKeySequence> redoKeys = keys(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    // "+" shares its key with "=" on most layouts, so Ctrl+= is what the hand presses.
    const QList<QKeySequence> zoomInKeys = keys(QKeySequence::ZoomIn) << QKeySequence(W::tr("Ctrl+="));
    // The zoom commands also reach the preview window when it is the active one.
    const auto zoom = [](void (CanvasArea::*step)()) {
        return [step](MainWindow& window, bool) { window.zoomCommand(step); };
    };

    std::vector<CommandRow> rows {
        // File.
        {.text = W::tr("New Canvas..."),
            .keys = keys(QKeySequence::New),
            .action = &W::m_newAction,
            .run = onWindow(&W::newCanvasFromDialog)},
        {.text = W::tr("Hires Canvas"), .list = &W::m_presetActions, .run = onWindow(&W::newHiresCanvas)},
        {.text = W::tr("Hires + Side Sprites Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newHiresSpritesCanvas)},
        {.text = W::tr("Hires + Top/Bottom Sprites Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newHiresTopBottomSpritesCanvas)},
        {.text = W::tr("Multicolor Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newMulticolorCanvas)},
        {.text = W::tr("Multicolor + Side Sprites Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newMulticolorSpritesCanvas)},
        {.text = W::tr("Multicolor + Top/Bottom Sprites Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newMulticolorTopBottomSpritesCanvas)},
        {.text = W::tr("Dual Hires Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newDualHiresCanvas)},
        {.text = W::tr("Dual Multicolor Canvas"),
            .list = &W::m_presetActions,
            .run = onWindow(&W::newDualMulticolorCanvas)},
        {.text = W::tr("Open..."),
            .keys = keys(QKeySequence::Open),
            .action = &W::m_openAction,
            .run = onWindow(&W::openProject)},
        {.text = W::tr("Save"),
            .keys = keys(QKeySequence::Save),
            .action = &W::m_saveAction,
            .run = [](MainWindow& window, bool) { window.saveProject(); }},
        {.text = W::tr("Save As..."),
            .keys = keys("Ctrl+Shift+S"),
            .action = &W::m_saveAsAction,
            .run = [](MainWindow& window, bool) { window.saveProjectAs(); }},
        {.text = W::tr("Import Image..."),
            .action = &W::m_importImageAction,
            .run = onWindow(&W::importImage)},
        {.text = W::tr("Import Sprites..."),
            .enable = E::LayoutHasSprites,
            .action = &W::m_importSpritesAction,
            .run = onWindow(&W::importSprites)},
        {.text = W::tr("Import Reference Image..."),
            .action = &W::m_importReferenceAction,
            .run = onWindow(&W::importReferenceImage)},
        {.text = W::tr("Convert Image..."),
            .keys = keys("Ctrl+P"),
            .action = &W::m_convertImageAction,
            .run = onWindow(&W::convertImage)},
        {.text = W::tr("Export to Image As..."),
            .keys = keys("Ctrl+Shift+P"),
            .action = &W::m_exportImageAction,
            .run = onWindow(&W::exportImage)},
        {.text = W::tr("Export to Ultimate Device"),
            .keys = keys("Ctrl+E"),
            .enable = E::PrgExportSupported,
            .action = &W::m_exportUltimateAction,
            .run = onWindow(&W::sendToUltimate)},
        {.text = W::tr("Export to PRG File As..."),
            .keys = keys("Ctrl+Shift+E"),
            .enable = E::PrgExportSupported,
            .action = &W::m_exportPrgAction,
            .run = onWindow(&W::exportPrg)},
        {.text = W::tr("Run in Emulator"),
            .keys = keys("F5"),
            .enable = E::PrgExportSupported,
            .action = &W::m_runInEmulatorAction,
            .run = onWindow(&W::runInEmulator)},
        {.text = W::tr("Save Workstages..."),
            .enable = E::HistoryPositionPastStart,
            .action = &W::m_saveWorkstagesAction,
            .run = onWindow(&W::saveWorkstages)},
        {.text = W::tr("Print..."), .action = &W::m_printAction, .run = onWindow(&W::print)},
        {.text = W::tr("Exit"),
            .keys = keys(QKeySequence::Quit),
            .action = &W::m_exitAction,
            .run = [](MainWindow& window, bool) { window.close(); }},

        // Edit.
        {.text = W::tr("Undo"),
            .keys = keys(QKeySequence::Undo),
            .enable = E::UndoAvailable,
            .action = &W::m_undoAction,
            .run = onWindow(&W::undo)},
        {.text = W::tr("Redo"),
            .keys = redoKeys,
            .enable = E::RedoAvailable,
            .action = &W::m_redoAction,
            .run = onWindow(&W::redo)},
        {.text = W::tr("Clear History"),
            .enable = E::HistoryHoldsEntries,
            .action = &W::m_clearHistoryAction,
            .run = onWindow(&W::clearHistory)},
        {.text = W::tr("Cut"),
            .keys = keys(QKeySequence::Cut),
            .enable = E::SelectionPresent,
            .action = &W::m_cutAction,
            .run = onCanvas(&CanvasArea::cutSelection)},
        {.text = W::tr("Copy"),
            .keys = keys(QKeySequence::Copy),
            .enable = E::SelectionPresent,
            .action = &W::m_copyAction,
            .run = onCanvas(&CanvasArea::copySelection)},
        {.text = W::tr("Paste"),
            .keys = keys(QKeySequence::Paste),
            .enable = E::ClipboardHoldsPixels,
            .action = &W::m_pasteAction,
            .run = [](MainWindow& window, bool) { window.pasteFromClipboard(false); }},
        {.text = W::tr("Paste with Transparency"),
            .keys = keys("Ctrl+Shift+V"),
            .enable = E::ClipboardHoldsPixels,
            .action = &W::m_pasteTransparentAction,
            .run = [](MainWindow& window, bool) { window.pasteFromClipboard(true); }},
        {.text = W::tr("Select All"),
            .keys = keys(QKeySequence::SelectAll),
            .action = &W::m_selectAllAction,
            .run = onWindow(&W::selectAll)},
        {.text = W::tr("Deselect"),
            .keys = keys("Ctrl+D"),
            .enable = E::SelectionPresent,
            .action = &W::m_deselectAction,
            .run = onCanvas(&CanvasArea::deselect)},
        {.text = W::tr("Invert Selection"),
            .keys = keys("Ctrl+Shift+I"),
            .enable = E::SelectionPresent,
            .action = &W::m_invertSelectionAction,
            .run = onCanvas(&CanvasArea::invertSelection)},
        {.text = W::tr("Color Swap"),
            .keys = keys("Alt+X"),
            .action = &W::m_colorSwapAction,
            .run = [](MainWindow& window, bool) { window.swapOrReplaceColors(true); }},
        {.text = W::tr("Color Replace"),
            .keys = keys("Alt+A"),
            .action = &W::m_colorReplaceAction,
            .run = [](MainWindow& window, bool) { window.swapOrReplaceColors(false); }},
        {.text = W::tr("Flip Horizontally"),
            .keys = keys("Ctrl+J"),
            .action = &W::m_flipHorizontalAction,
            .run = [](MainWindow& window, bool) { window.flipCanvas(Qt::Horizontal); }},
        {.text = W::tr("Flip Vertically"),
            .keys = keys("Ctrl+K"),
            .action = &W::m_flipVerticalAction,
            .run = [](MainWindow& window, bool) { window.flipCanvas(Qt::Vertical); }},
        {.text = W::tr("Commit Shapes"),
            .keys = {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
            .enable = E::ShapeToolActive,
            .action = &W::m_commitShapesAction,
            .run =
                [](MainWindow& window, bool) {
                    window.canvasArea()->commitShapeStage();
                    window.refreshUndoActions();
                }},
        {.text = W::tr("Discard Shapes"),
            .keys = {QKeySequence(Qt::Key_Escape)},
            .enable = E::ShapeToolActive,
            .action = &W::m_discardShapesAction,
            .run = onWindow(&W::discardShapes)},
        {.text = W::tr("Settings..."), .action = &W::m_settingsAction, .run = onWindow(&W::showSettings)},

        // Options.
        {.text = W::tr("Pen Width..."), .action = &W::m_penWidthAction, .run = onWindow(&W::penWidth)},
        {.text = W::tr("Round Brush"),
            .flags = F::Checkable,
            .group = &W::m_brushShapeGroup,
            .data = int(BrushShape::Round)},
        {.text = W::tr("Square Brush"),
            .flags = F::Checkable,
            .group = &W::m_brushShapeGroup,
            .data = int(BrushShape::Square)},
        {.text = W::tr("Pixel-Perfect Strokes"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_pixelPerfectAction,
            .run = onCanvasToggle(&CanvasArea::setPixelPerfectStrokes)},
        {.text = W::tr("Anti-Aliased Strokes"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::AntialiasApplies,
            .action = &W::m_antialiasedAction,
            .run = onCanvasToggle(&CanvasArea::setAntialiasedStrokes)},
        {.text = W::tr("Pressure-Widened Strokes"),
            .flags = F::Checkable | F::Checked | F::OnToggle,
            .action = &W::m_pressureWideningAction,
            .run =
                [](MainWindow& window, bool on) {
                    window.canvasArea()->setPressureWidening(on);
                    window.syncAntialiasedStrokesAction();
                }},
        {.text = W::tr("Disable Fill Preview"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_disableFillPreviewAction,
            .run = [](MainWindow& window, bool on) { window.canvasArea()->setFillPreviewEnabled(!on); }},
        // Checking a tool unchecks the one before; the pen needs no slot, since a tool
        // switched off falls back to it.
        {.text = W::tr("Pen Tool"),
            .keys = keys("B"),
            .flags = F::Checkable | F::Checked,
            .action = &W::m_penToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_pen"),
            .toolTip = W::tr("Pen (freehand drawing; the default tool)")},
        {.text = W::tr("Eraser Tool"),
            .keys = keys("E"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_eraserToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_eraser"),
            .run = onWindowToggle(&W::eraserToolToggled)},
        {.text = W::tr("Fill Tool"),
            .keys = keys("G"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_fillToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_fill"),
            .run = onWindowToggle(&W::fillToolToggled)},
        {.text = W::tr("Center"), .flags = F::Checkable | F::Checked, .group = &W::m_contourGroup, .data = 0},
        {.text = W::tr("Outside"), .flags = F::Checkable, .group = &W::m_contourGroup, .data = 1},
        {.text = W::tr("Inside"), .flags = F::Checkable, .group = &W::m_contourGroup, .data = 2},
        {.text = W::tr("Shape Tool"),
            .keys = keys("S"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_shapeToolAction,
            .group = &W::m_toolGroup,
            .run = onWindowToggle(&W::shapeToolToggled)},
        {.text = W::tr("Line"), .flags = F::Checkable | F::Checked, .group = &W::m_shapeKindGroup, .data = 0},
        {.text = W::tr("Rectangle"), .flags = F::Checkable, .group = &W::m_shapeKindGroup, .data = 1},
        {.text = W::tr("Circle"), .flags = F::Checkable, .group = &W::m_shapeKindGroup, .data = 2},
        {.text = W::tr("Star"), .flags = F::Checkable, .group = &W::m_shapeKindGroup, .data = 3},
        {.text = W::tr("Path"), .flags = F::Checkable, .group = &W::m_shapeKindGroup, .data = 4},
        {.text = W::tr("Filled Shapes"),
            .flags = F::Checkable | F::Checked | F::OnToggle,
            .action = &W::m_filledShapesAction,
            .run = onCanvasToggle(&CanvasArea::setShapesFilled)},
        {.text = W::tr("Eyedropper Tool"),
            .keys = keys("I"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_eyedropperToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_eyedrop"),
            .run = onWindowToggle(&W::eyedropperToolToggled)},
        {.text = W::tr("Pan Tool"),
            .keys = keys("H"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_panToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_pan"),
            .run = onWindowToggle(&W::panToolToggled)},
        {.text = W::tr("Rectangle Select Tool"),
            .keys = keys("M"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_rectSelectToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_selection"),
            .run = onWindowToggle(&W::rectSelectToolToggled)},
        {.text = W::tr("Lasso Select Tool"),
            .keys = keys("L"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_lassoSelectToolAction,
            .group = &W::m_toolGroup,
            .icon = QStringLiteral("tool_selectionlasso"),
            .run = onWindowToggle(&W::lassoSelectToolToggled)},
        {.text = W::tr("Two-Color Texture"),
            .flags = F::Checkable,
            .group = &W::m_textureModeGroup,
            .data = int(TextureMode::TwoColor)},
        {.text = W::tr("Texture Stencil"),
            .flags = F::Checkable,
            .group = &W::m_textureModeGroup,
            .data = int(TextureMode::Stencil)},
        {.text = W::tr("None"), .flags = F::Checkable | F::Checked, .group = &W::m_symmetryGroup, .data = 0},
        {.text = W::tr("Horizontal"), .flags = F::Checkable, .group = &W::m_symmetryGroup, .data = 1},
        {.text = W::tr("Vertical"), .flags = F::Checkable, .group = &W::m_symmetryGroup, .data = 2},
        {.text = W::tr("Quadrant"), .flags = F::Checkable, .group = &W::m_symmetryGroup, .data = 3},
        {.text = W::tr("Bi-Quadrant"), .flags = F::Checkable, .group = &W::m_symmetryGroup, .data = 4},
        {.text = W::tr("Kaleidoscope"), .flags = F::Checkable, .group = &W::m_symmetryGroup, .data = 5},
        {.text = W::tr("Move Axes"),
            .keys = keys("Y"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::SymmetryOn,
            .action = &W::m_moveAxesAction,
            .group = &W::m_toolGroup,
            .run = onWindowToggle(&W::symmetryToolToggled)},
        {.text = W::tr("Reset Axes to Center"),
            .enable = E::SymmetryOn,
            .action = &W::m_resetAxesAction,
            .run = onCanvas(&CanvasArea::resetSymmetryAxes)},
        {.text = W::tr("Apply to Flood Fill"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::SymmetryOn,
            .action = &W::m_symmetricFillAction,
            .run = onCanvasToggle(&CanvasArea::setSymmetricFill)},
        {.text = W::tr("Apply to Shapes"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::SymmetryOn,
            .action = &W::m_symmetricShapesAction,
            .run = onCanvasToggle(&CanvasArea::setSymmetricShapes)},
        {.text = W::tr("Replace Overwritten Color"),
            .flags = F::Checkable | F::Checked,
            .group = &W::m_hiresClashGroup,
            .data = int(HiresClashResolution::ReplaceOverwritten)},
        {.text = W::tr("Preserve Border Color"),
            .flags = F::Checkable,
            .group = &W::m_hiresClashGroup,
            .data = int(HiresClashResolution::PreserveBorder)},
        {.text = W::tr("Preserve Most-Used Color"),
            .flags = F::Checkable,
            .group = &W::m_hiresClashGroup,
            .data = int(HiresClashResolution::PreserveMostUsed)},
        {.text = W::tr("Top Sprites Align Left"),
            .flags = F::Checkable | F::Checked,
            .group = &W::m_topAlignmentGroup,
            .data = int(SpriteAlignment::Left)},
        {.text = W::tr("Top Sprites Align Right"),
            .flags = F::Checkable,
            .group = &W::m_topAlignmentGroup,
            .data = int(SpriteAlignment::Right)},
        {.text = W::tr("Bottom Sprites Align Left"),
            .flags = F::Checkable | F::Checked,
            .group = &W::m_bottomAlignmentGroup,
            .data = int(SpriteAlignment::Left)},
        {.text = W::tr("Bottom Sprites Align Right"),
            .flags = F::Checkable,
            .group = &W::m_bottomAlignmentGroup,
            .data = int(SpriteAlignment::Right)},
        {.text = W::tr("Enforce 8-Sprite Border Limit"),
            .flags = F::Checkable,
            .group = &W::m_spriteCountGroup,
            .data = int(SpriteCountPolicy::Enforce)},
        {.text = W::tr("Flag Sprites over the Border Limit"),
            .flags = F::Checkable | F::Checked,
            .group = &W::m_spriteCountGroup,
            .data = int(SpriteCountPolicy::Flag)},
        {.text = W::tr("Reduce Borders to 8 Sprites"),
            .action = &W::m_reduceBorderSpritesAction,
            .run = onWindow(&W::reduceBorderSprites)},
        {.text = W::tr("Clear Screen"),
            .keys = keys("Ctrl+L"),
            .action = &W::m_clearScreenAction,
            .run =
                [](MainWindow& window, bool) {
                    if (window.m_guard.mayEditDocument())
                        window.finishDocumentEdit(window.canvasArea()->clearImage());
                }},
        {.text = W::tr("Live Link to Ultimate Device"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::LiveLinkAvailable,
            .action = &W::m_liveLinkAction,
            .run = onWindowToggle(&W::toggleLiveLink)},
    };

    // Palette.
    for (PaletteVariant variant : allPaletteVariants()) {
        rows.push_back({.text = paletteVariantName(variant),
            .flags = F::Checkable,
            .group = &W::m_paletteGroup,
            .data = int(variant)});
    }

    // View.
    const std::vector<CommandRow> view {
        {.text = W::tr("Zoom In"),
            .keys = zoomInKeys,
            .flags = F::EitherWindow,
            .action = &W::m_zoomInAction,
            .run = zoom(&CanvasArea::zoomIn)},
        {.text = W::tr("Zoom Out"),
            .keys = keys(QKeySequence::ZoomOut),
            .flags = F::EitherWindow,
            .action = &W::m_zoomOutAction,
            .run = zoom(&CanvasArea::zoomOut)},
        {.text = W::tr("Actual Size"),
            .keys = keys("Ctrl+0"),
            .flags = F::EitherWindow,
            .action = &W::m_actualSizeAction,
            .run = zoom(&CanvasArea::zoomActualSize)},
        {.text = W::tr("Best Fit"),
            .keys = keys("Ctrl+Shift+0"),
            .flags = F::EitherWindow,
            .action = &W::m_bestFitAction,
            .run = zoom(&CanvasArea::zoomBestFit)},
        {.text = W::tr("Reset Rotation"),
            .keys = keys("Ctrl+R"),
            .action = &W::m_resetRotationAction,
            .run = onCanvas(&CanvasArea::resetRotation)},
        {.text = W::tr("Reset Rotation && Best Fit"),
            .keys = keys("Ctrl+Home"),
            .flags = F::EitherWindow,
            .action = &W::m_resetRotationBestFitAction,
            .run = zoom(&CanvasArea::resetRotationAndBestFit)},
        {.text = W::tr("Show Dashboards"),
            .keys = {QKeySequence(Qt::Key_Tab)},
            .flags = F::Checkable | F::Checked | F::OnToggle,
            .action = &W::m_showDashboardsAction,
            .run = onWindowToggle(&W::setDashboardsVisible)},
        {.text = W::tr("Show Reference Grids"),
            .keys = keys("Shift+H"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_referenceGridsAction,
            .run = onCanvasToggle(&CanvasArea::setGridVisible)},
        {.text = W::tr("Show Pixel Grids"),
            .keys = keys("Shift+Z"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_pixelGridsAction,
            .run = onCanvasToggle(&CanvasArea::setPixelGridVisible)},
        {.text = W::tr("Show Safe Frames"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::LayoutHasSprites,
            .action = &W::m_safeFramesAction,
            .run = onCanvasToggle(&CanvasArea::setSafeFramesVisible)},
        {.text = W::tr("Show Reference Layer"),
            .flags = F::Checkable | F::OnToggle,
            .enable = E::ReferenceImagePresent,
            .action = &W::m_referenceLayerAction,
            .run = onCanvasToggle(&CanvasArea::setReferenceLayerVisible)},
        {.text = W::tr("Reference Layer Opacity..."),
            .enable = E::ReferenceImagePresent,
            .action = &W::m_referenceOpacityAction,
            .run = onWindow(&W::showReferenceOpacityDialog)},
        {.text = W::tr("Square Pixels"),
            .flags = F::Checkable | F::Checked,
            .group = &W::m_pixelAspectGroup,
            .data = 1.0},
        {.text = W::tr("PAL Pixels"), .flags = F::Checkable, .group = &W::m_pixelAspectGroup, .data = 0.9375},
        {.text = W::tr("NTSC Pixels"), .flags = F::Checkable, .group = &W::m_pixelAspectGroup, .data = 0.75},
        {.text = W::tr("Bilinear Filtering"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_bilinearAction,
            .run =
                [](MainWindow& window, bool on) {
                    window.canvasArea()->setBilinearFiltering(on);
                    window.previewWindow()->area()->setBilinearFiltering(on);
                }},
        {.text = W::tr("Show Preview Window"),
            .keys = keys("F8"),
            .flags = F::Checkable | F::OnToggle | F::EitherWindow,
            .action = &W::m_showPreviewAction,
            .run = [](MainWindow& window, bool on) { window.previewWindow()->setVisible(on); }},
        {.text = W::tr("Preview Stays on Top"),
            .flags = F::Checkable | F::OnToggle,
            .action = &W::m_previewOnTopAction,
            .run = onPreviewToggle(&PreviewWindow::setStayOnTop)},
        {.text = W::tr("Mirror Preview Horizontally"),
            .keys = keys("W"),
            .flags = F::Checkable | F::OnToggle | F::EitherWindow,
            .action = &W::m_mirrorPreviewAction,
            .run = onPreviewToggle(&PreviewWindow::setMirrorHorizontally)},
        {.text = W::tr("Enable CRT Filter in Preview Window"),
            .keys = keys("Alt+F8"),
            .flags = F::Checkable | F::OnToggle | F::EitherWindow,
            .action = &W::m_crtFilterAction,
            .run = onPreviewToggle(&PreviewWindow::setCrtEmulation)},

        // Help.
        {.text = W::tr("User Manual"),
            .keys = keys(QKeySequence::HelpContents),
            .action = &W::m_userManualAction,
            .run = onWindow(&W::showUserManual)},
        {.text = W::tr("Online User Manual"),
            .action = &W::m_onlineManualAction,
            .run = onWindow(&W::showOnlineUserManual)},
        {.text = W::tr("About"), .action = &W::m_aboutAction, .run = onWindow(&W::about)},
        {.text = W::tr("About Qt"),
            .action = &W::m_aboutQtAction,
            .run = [](MainWindow&, bool) { QApplication::aboutQt(); }},

        // In no menu.
        {.text = W::tr("Decrease Pen Width"),
            .keys = {QKeySequence(Qt::Key_Comma), QKeySequence(Qt::Key_BracketLeft)},
            .flags = F::WindowOnly,
            .run = [](MainWindow& window, bool) { window.stepPenWidth(-1); }},
        {.text = W::tr("Increase Pen Width"),
            .keys = {QKeySequence(Qt::Key_Period), QKeySequence(Qt::Key_BracketRight)},
            .flags = F::WindowOnly,
            .run = [](MainWindow& window, bool) { window.stepPenWidth(+1); }},
    };
    rows.insert(rows.end(), view.begin(), view.end());

    // The digit row holds 1 to 8 with and without Shift: sixteen colours on eight keys.
    for (int index = 0; index < 16; ++index) {
        const auto digit = Qt::Key(Qt::Key_1 + index % 8);
        const QKeySequence key = index < 8 ? QKeySequence(digit) : QKeySequence(Qt::SHIFT | digit);
        rows.push_back({.text = W::tr("Pen Color %1").arg(index),
            .keys = {key},
            .flags = F::WindowOnly,
            .run = [index](MainWindow& window, bool) { window.selectPenIndex(uchar(index)); }});
    }
    return rows;
}
