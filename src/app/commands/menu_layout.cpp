// The menu bar as data, top to bottom. Each action appears in exactly one place; radio
// groups appear whole, in the order of their rows in the command table.

#include "app/commands/menu_layout.h"

#include "app/main_window.h"

namespace {

using K = MenuRow::Kind;
using W = MainWindow;

MenuRow menu(
    const QString& title, QMenu* MainWindow::*keep = nullptr, CommandEnable enable = CommandEnable::Always)
{
    return {.kind = K::Menu, .title = title, .menu = keep, .enable = enable};
}

MenuRow end()
{
    return {.kind = K::End};
}

MenuRow separator()
{
    return {.kind = K::Separator};
}

MenuRow item(QAction* MainWindow::*action)
{
    return {.kind = K::Action, .action = action};
}

MenuRow group(QActionGroup* MainWindow::*group)
{
    return {.kind = K::Group, .group = group};
}

} // namespace

std::vector<MenuRow> menuLayout()
{
    return {
        menu(W::tr("&File"), &W::m_fileMenu),
        item(&W::m_newAction),
        menu(W::tr("Presets")),
        {.kind = K::ActionList, .list = &W::m_presetActions},
        end(),
        separator(),
        item(&W::m_openAction),
        {.kind = K::RecentProjects, .title = W::tr("Open Recent")},
        item(&W::m_saveAction),
        item(&W::m_saveAsAction),
        separator(),
        item(&W::m_importImageAction),
        item(&W::m_importSpritesAction),
        item(&W::m_importReferenceAction),
        separator(),
        item(&W::m_convertImageAction),
        separator(),
        item(&W::m_exportImageAction),
        item(&W::m_exportUltimateAction),
        item(&W::m_exportPrgAction),
        item(&W::m_runInEmulatorAction),
        item(&W::m_saveWorkstagesAction),
        separator(),
        item(&W::m_printAction),
        separator(),
        item(&W::m_exitAction),
        end(),

        menu(W::tr("&Edit"), &W::m_editMenu),
        item(&W::m_undoAction),
        item(&W::m_redoAction),
        item(&W::m_clearHistoryAction),
        separator(),
        item(&W::m_cutAction),
        item(&W::m_copyAction),
        item(&W::m_pasteAction),
        item(&W::m_pasteTransparentAction),
        separator(),
        item(&W::m_selectAllAction),
        item(&W::m_deselectAction),
        item(&W::m_invertSelectionAction),
        separator(),
        item(&W::m_colorSwapAction),
        item(&W::m_colorReplaceAction),
        separator(),
        menu(W::tr("Transform")),
        item(&W::m_flipHorizontalAction),
        item(&W::m_flipVerticalAction),
        end(),
        separator(),
        item(&W::m_commitShapesAction),
        item(&W::m_discardShapesAction),
        separator(),
        item(&W::m_settingsAction),
        end(),

        menu(W::tr("&Options"), &W::m_optionsMenu),
        item(&W::m_penWidthAction),
        group(&W::m_brushShapeGroup),
        item(&W::m_pixelPerfectAction),
        item(&W::m_antialiasedAction),
        item(&W::m_pressureWideningAction),
        item(&W::m_disableFillPreviewAction),
        separator(),
        item(&W::m_penToolAction),
        item(&W::m_eraserToolAction),
        item(&W::m_fillToolAction),
        menu(W::tr("Fill Contour Placement"), &W::m_contourMenu, CommandEnable::ContourApplies),
        group(&W::m_contourGroup),
        end(),
        item(&W::m_shapeToolAction),
        menu(W::tr("Shape")),
        group(&W::m_shapeKindGroup),
        separator(),
        item(&W::m_filledShapesAction),
        end(),
        item(&W::m_eyedropperToolAction),
        item(&W::m_panToolAction),
        item(&W::m_rectSelectToolAction),
        item(&W::m_lassoSelectToolAction),
        separator(),
        group(&W::m_textureModeGroup),
        menu(W::tr("Symmetry")),
        group(&W::m_symmetryGroup),
        separator(),
        item(&W::m_moveAxesAction),
        item(&W::m_resetAxesAction),
        separator(),
        item(&W::m_symmetricFillAction),
        item(&W::m_symmetricShapesAction),
        end(),
        menu(W::tr("Hires Clash Resolution"), &W::m_hiresClashMenu, CommandEnable::HiresCanvas),
        group(&W::m_hiresClashGroup),
        end(),
        menu(W::tr("Border Sprites"), &W::m_borderSpritesMenu, CommandEnable::TopBottomBorders),
        group(&W::m_topAlignmentGroup),
        separator(),
        group(&W::m_bottomAlignmentGroup),
        separator(),
        group(&W::m_spriteCountGroup),
        separator(),
        item(&W::m_reduceBorderSpritesAction),
        end(),
        separator(),
        item(&W::m_clearScreenAction),
        separator(),
        item(&W::m_liveLinkAction),
        end(),

        menu(W::tr("&Palette"), &W::m_paletteMenu),
        group(&W::m_paletteGroup),
        end(),

        menu(W::tr("&View"), &W::m_viewMenu),
        item(&W::m_zoomInAction),
        item(&W::m_zoomOutAction),
        item(&W::m_actualSizeAction),
        item(&W::m_bestFitAction),
        item(&W::m_resetRotationAction),
        item(&W::m_resetRotationBestFitAction),
        separator(),
        item(&W::m_showDashboardsAction),
        separator(),
        item(&W::m_referenceGridsAction),
        item(&W::m_pixelGridsAction),
        item(&W::m_safeFramesAction),
        item(&W::m_referenceLayerAction),
        item(&W::m_referenceOpacityAction),
        separator(),
        group(&W::m_pixelAspectGroup),
        item(&W::m_bilinearAction),
        separator(),
        item(&W::m_showPreviewAction),
        item(&W::m_previewOnTopAction),
        item(&W::m_mirrorPreviewAction),
        item(&W::m_crtFilterAction),
        end(),

        menu(W::tr("&Help"), &W::m_helpMenu),
        item(&W::m_userManualAction),
        item(&W::m_onlineManualAction),
        separator(),
        item(&W::m_aboutAction),
        item(&W::m_aboutQtAction),
        end(),
    };
}
