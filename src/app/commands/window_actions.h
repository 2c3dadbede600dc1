#pragma once

#include <QList>

class QAction;
class QActionGroup;
class QMenu;

// The window's handles on what the command table builds: one pointer per action, per radio
// group and per menu. MainWindow inherits them privately, the way a form class inherits
// the widgets its designer file declares, so the slots and the table's rows reach them by
// their plain names while the window's header stays about behaviour.
struct WindowActions {
    // File.
    QAction* m_newAction = nullptr;
    QList<QAction*> m_presetActions;
    QAction* m_openAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_importImageAction = nullptr;
    QAction* m_importSpritesAction = nullptr;
    QAction* m_importReferenceAction = nullptr;
    QAction* m_convertImageAction = nullptr;
    QAction* m_exportImageAction = nullptr;
    QAction* m_exportUltimateAction = nullptr;
    QAction* m_exportPrgAction = nullptr;
    QAction* m_runInEmulatorAction = nullptr;
    QAction* m_saveWorkstagesAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_exitAction = nullptr;

    // Edit.
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_clearHistoryAction = nullptr;
    QAction* m_cutAction = nullptr;
    QAction* m_copyAction = nullptr;
    QAction* m_pasteAction = nullptr;
    QAction* m_pasteTransparentAction = nullptr;
    QAction* m_selectAllAction = nullptr;
    QAction* m_deselectAction = nullptr;
    QAction* m_invertSelectionAction = nullptr;
    QAction* m_colorSwapAction = nullptr;
    QAction* m_colorReplaceAction = nullptr;
    QAction* m_flipHorizontalAction = nullptr;
    QAction* m_flipVerticalAction = nullptr;
    QAction* m_commitShapesAction = nullptr;
    QAction* m_discardShapesAction = nullptr;
    QAction* m_settingsAction = nullptr;

    // Options: the pen, the tools, symmetry, border sprites and the link to a device.
    QAction* m_penWidthAction = nullptr;
    QAction* m_pixelPerfectAction = nullptr;
    QAction* m_antialiasedAction = nullptr;
    QAction* m_pressureWideningAction = nullptr;
    QAction* m_disableFillPreviewAction = nullptr;
    QAction* m_penToolAction = nullptr;
    QAction* m_eraserToolAction = nullptr;
    QAction* m_fillToolAction = nullptr;
    QAction* m_shapeToolAction = nullptr;
    QAction* m_filledShapesAction = nullptr;
    QAction* m_eyedropperToolAction = nullptr;
    QAction* m_panToolAction = nullptr;
    QAction* m_rectSelectToolAction = nullptr;
    QAction* m_lassoSelectToolAction = nullptr;
    QAction* m_moveAxesAction = nullptr;
    QAction* m_resetAxesAction = nullptr;
    QAction* m_symmetricFillAction = nullptr;
    QAction* m_symmetricShapesAction = nullptr;
    QAction* m_reduceBorderSpritesAction = nullptr;
    QAction* m_clearScreenAction = nullptr;
    QAction* m_liveLinkAction = nullptr;

    // View.
    QAction* m_zoomInAction = nullptr;
    QAction* m_zoomOutAction = nullptr;
    QAction* m_actualSizeAction = nullptr;
    QAction* m_bestFitAction = nullptr;
    QAction* m_resetRotationAction = nullptr;
    QAction* m_resetRotationBestFitAction = nullptr;
    QAction* m_showDashboardsAction = nullptr;
    QAction* m_referenceGridsAction = nullptr;
    QAction* m_pixelGridsAction = nullptr;
    QAction* m_safeFramesAction = nullptr;
    QAction* m_referenceLayerAction = nullptr;
    QAction* m_referenceOpacityAction = nullptr;
    QAction* m_bilinearAction = nullptr;
    QAction* m_showPreviewAction = nullptr;
    QAction* m_previewOnTopAction = nullptr;
    QAction* m_mirrorPreviewAction = nullptr;
    QAction* m_crtFilterAction = nullptr;

    // Help.
    QAction* m_userManualAction = nullptr;
    QAction* m_onlineManualAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_aboutQtAction = nullptr;

    // The radio groups; each group slot reads the value back from the triggered action's data.
    QActionGroup* m_brushShapeGroup = nullptr;
    QActionGroup* m_textureModeGroup = nullptr;
    QActionGroup* m_symmetryGroup = nullptr;
    QActionGroup* m_shapeKindGroup = nullptr;
    QActionGroup* m_contourGroup = nullptr;
    QActionGroup* m_pixelAspectGroup = nullptr;
    QActionGroup* m_hiresClashGroup = nullptr;
    QActionGroup* m_topAlignmentGroup = nullptr;
    QActionGroup* m_bottomAlignmentGroup = nullptr;
    QActionGroup* m_spriteCountGroup = nullptr;
    QActionGroup* m_paletteGroup = nullptr;
    QActionGroup* m_toolGroup = nullptr;

    // The menus, and the submenus whose state follows the document.
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_optionsMenu = nullptr;
    QMenu* m_paletteMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QMenu* m_contourMenu = nullptr;
    QMenu* m_hiresClashMenu = nullptr;
    QMenu* m_borderSpritesMenu = nullptr;
};
