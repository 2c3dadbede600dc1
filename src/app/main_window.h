#pragma once

#include "app/document_prompts.h"
#include "app/project_file_task.h"
#include "app/recent_project_tooltip.h"
#include "widgets/color_assignment_widget.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class CanvasArea;
class DashboardBar;
class DashboardButton;
class FlyoutReveal;
class TextureWidget;
class QToolButton;
class ExternalUrlOpener;
class Project;
class PaletteWidget;
class PreviewWindow;
class QAction;
class QActionGroup;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QMenu;
class QMenuBar;
class QProgressDialog;
class QTimer;
class RecoveryWriter;
struct NativeImage;
struct Preferences;
struct RecoveryClaim;
class LiveLinkController;
class StatusBarPanel;
enum class SessionToggle : int;
enum class SpriteStripSide : quint8;

// The one window of the program. Its work is spread over files by concern:
// main_window.cpp builds the window; main_window_commands.cpp holds the actions, menus
// and shortcuts; main_window_status.cpp the status bar and settings;
// main_window_document.cpp the document lifecycle (new, open, save, close).
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    CanvasArea* canvasArea() const { return m_canvas; }
    PreviewWindow* previewWindow() const { return m_preview; }
    Project& project() const { return *m_project; }

    // Commands, menus and shortcuts.
    void populateMenuBar(QMenuBar* menuBar);
    PaletteWidget* paletteBar() const { return m_paletteBar; }
    ColorAssignmentWidget* colorSlotBar() const { return m_colorSlotBar; }

    // The dashboards floating over the canvas, their tool pickers and the texture strip.
    DashboardBar* toolDashboard() const { return m_toolDashboard; }
    DashboardBar* brushDashboard() const { return m_brushDashboard; }
    DashboardBar* paletteDashboard() const { return m_paletteDashboard; }
    QToolButton* shapePickerButton() const;
    QToolButton* selectionPickerButton() const;
    QWidget* shapeFlyout() const { return m_shapeFlyout; }
    QWidget* selectionFlyout() const { return m_selectFlyout; }
    TextureWidget* textureBar() const { return m_textureBar; }
    void layoutDashboards();
    void refreshTextureBar();
    void openPendingFlyout();
    void startFlyoutTileFade(QWidget* popup);
    void setDashboardsVisible(bool visible);
    void selectShapeFace(int kind, bool filled);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Status bar and settings.
    void showStatusMessage(const QString& text, std::chrono::milliseconds duration);
    // Restores the saved session at the end of construction; writeSettings stores it when
    // the window closes and the unsaved-changes question allowed it.
    void readSettings();
    void writeSettings();
    void applySettingsPreferences();
    bool smoothImageScaling() const;
    bool useNativeFileDialogs() const;

    // Document lifecycle.
    // Opens a project handed over from outside (the command line) once the event loop
    // runs, so the window is on screen before anything about the file is shown.
    void openProjectFromDesktop(const QString& path);
    // Set while a project is read or written; commands refuse to start meanwhile.
    bool isFileTaskRunning() const { return m_fileTaskRunning; }
    QString currentFile() const { return m_currentFile; }
    // A document without a file is named after the image an import brought in.
    QString pendingName() const { return m_pendingName; }
    void setPendingName(const QString& name);
    void newCanvas(CanvasMode mode, const CanvasLayoutSpec& layout, int screensAcross, const QSize& size);
    void createCanvas(CanvasMode mode, const CanvasLayoutSpec& layout, int screensAcross, const QSize& size);
    // Commits pending work and asks about unsaved changes; false when the document stays.
    bool prepareForDocumentReplacement();
    ProjectLoadResult loadProjectFromFile(const QString& path);
    bool saveProjectTo(const QString& path);
    // True when the document was stored or may be discarded.
    bool maybeSave();
    ProjectFileResult runProjectFileTask(const QString& label, const ProjectFileTask& task);
    void updateWindowTitle();
    QStringList recentProjects() const;
    void setRecentProjects(const QStringList& list);
    void rememberRecentProject(const QString& path);
    void forgetRecentProject(const QString& path);
    void clearRecentProjects();
    // Fills the Open Recent submenu; run each time the File menu is about to show.
    void updateRecentProjectsMenu(QMenu* menu);
    void prepareRecentProjectToolTip(QAction* action);
    DocumentPrompts& documentPrompts() { return m_prompts; }

    // Crash recovery. Off until started (the program starts it; a test starts it on a
    // folder of its own): then a modified document is copied into `folderPath` at the
    // autosave interval and when the program loses the focus, and the copies of crashed
    // editors are offered once the event loop runs.
    void startCrashRecovery(const QString& folderPath);
    // Writes the copy now if the document changed since the last one.
    void autosaveNow();
    void offerRecoveryCopies();
    RecoveryWriter* recoveryWriter() const { return m_recovery; }
    // Stretch (false) or keep the aspect ratio (true) for an image not of the display size;
    // false when the user cancelled.
    bool askImageScalingChoice(const QString& fileName, const QSize& imageSize, const QSize& displaySize,
        const QString& leftoverText, bool* keepAspect);
    // Reads an ordinary image at the canvas's on-screen size, asking how to fit one of
    // another size; nothing after a warning, or after the status message `cancelled`.
    std::optional<QImage> readImageAtDisplaySize(const QString& path, const char* folderKey,
        const QString& leftoverText, const QColor& leftover, const QString& cancelled);

public Q_SLOTS:
    // Time-lapse frames of the recorded history.
    void saveWorkstages();
    // The reference layer.
    void importReferenceImage();
    void showReferenceOpacityDialog();
    void syncReferenceLayerActions();
    // Commands, menus and shortcuts.
    void undo();
    void redo();
    void clearHistory();
    void refreshUndoActions();
    void penWidth();
    void setPaletteVariant(QAction* action);
    void setDisplayPixelAspect(QAction* action);
    void setHiresClashResolution(QAction* action);
    void setTopBorderAlignment(QAction* action);
    void setBottomBorderAlignment(QAction* action);
    void setSpriteCountPolicy(QAction* action);
    void setBrushShape(QAction* action);
    void setTextureMode(QAction* action);
    void setSymmetryMode(QAction* action);
    void eyedropperToolToggled(bool active);
    void eraserToolToggled(bool active);
    void panToolToggled(bool active);
    void fillToolToggled(bool active);
    void symmetryToolToggled(bool active);
    void setContourPlacement(QAction* action);
    void shapeToolToggled(bool active);
    void rectSelectToolToggled(bool active);
    void lassoSelectToolToggled(bool active);
    void refreshSelectionActions();
    void setShapeKind(QAction* action);
    void discardShapes();
    void resolveAllClashes();
    void reduceBorderSprites();
    void clearScreen();
    void flipCanvas(Qt::Orientation orientation);
    void swapOrReplaceColors(bool swap);
    void assignColorSlot(ColorAssignmentWidget::Slot slot, Qt::MouseButton button);
    void showUserManual();
    void showOnlineUserManual();
    void about();

    // Images in and out.
    void importImage();
    void exportImage();
    void print();

    // Programs for the C64 itself, and sprites back from them.
    void importSprites();
    void exportPrg();
    void sendToUltimate();
    // Options > Live Link to Ultimate Device: keeps the device showing the canvas.
    void toggleLiveLink(bool on);
    void liveLinkStopped(const QString& message);
    void convertImage();

    // Status bar and settings.
    void updateStatusBar();
    void showSettings();

    // Document lifecycle.
    void newHiresCanvas();
    void newHiresSpritesCanvas();
    void newHiresTopBottomSpritesCanvas();
    void newMulticolorCanvas();
    void newMulticolorSpritesCanvas();
    void newMulticolorTopBottomSpritesCanvas();
    void newDualHiresCanvas();
    void newDualMulticolorCanvas();
    void newCanvasFromDialog();
    void openProject();
    void openRecentProject();
    bool saveProject();
    bool saveProjectAs();

Q_SIGNALS:
    // Document lifecycle.
    // A new or opened document took the old one's place; views holding it reload.
    void documentReplaced();

protected:
    // Document lifecycle.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Commands, menus and shortcuts.
    void createColorBars();
    void createActions();
    void createFileActions();
    void createEditActions();
    void createOptionsActions();
    void createViewActions();
    void createWindowCommands();
    void createMenus();
    // No file task runs and no gesture is open: a command may change the document. Staged
    // and floating work is committed before the command's own edit.
    bool documentCommandMayRun() const;
    // Shows what a document command changed and refreshes everything that depends on it.
    void finishDocumentEdit(const QRect& changed);
    void stepPenWidth(int delta);
    // The zoom commands act on the canvas only while this window is the active one.
    void zoomCommand(void (CanvasArea::*step)());
    // The preview window's View commands; the zoom steps reach it when it is active.
    void connectPreviewActions();
    bool zoomPreviewIfActive(void (CanvasArea::*step)());
    void connectReferenceLayerActions();
    void selectPenIndex(uchar index);
    // Selection commands need a selection tool in hand; these take the rectangle one first.
    void ensureSelectionTool();
    void pasteFromClipboard(bool transparent);
    void selectAll();
    void syncHiresClashMenu();
    void syncBorderSpritesMenu();
    void syncAntialiasedStrokesAction();
    void syncPaletteMenu();
    // A new or opened document: the bars and the menus follow it.
    void followReplacedDocument();
    void setBorderAlignmentFromMenu(SpriteStripSide side, QAction* action);

    // Dashboards.
    void createDashboards();
    QWidget* createFlyout();
    void updateShapeButtonFace();
    void updateSelectionButtonFace();
    bool filterFlyoutEvent(QWidget* flyout, QObject* watched, QEvent* event);
    void hideFlyout(QWidget* flyout);

    // Status bar and settings.
    void createStatusBar();
    QAction* sessionToggleAction(SessionToggle toggle) const;
    friend class WindowSessionTarget;

    // Document lifecycle.
    void newPresetCanvas(CanvasMode mode, CanvasLayout layout, int screensAcross);
    // Puts the project in place of the old one everywhere that holds it.
    void adoptProject(std::shared_ptr<Project> project);
    void openDroppedProject(const QString& path);
    bool canvasIdle() const;
    // `detail` says why, under the message, where the box has room for it.
    void warnUser(const QString& text, const QString& detail = {});
    void onlineUserManualOpened(bool opened);
    // Most of the screen, centred: where the window opens when no geometry was saved.
    void placeForFirstStart();
    SaveChangesAnswer askToSaveChanges();
    QString chooseProjectToOpen(const QString& startDir);
    QString chooseProjectSavePath(const QString& proposedPath);
    std::optional<NewCanvasChoice> chooseNewCanvas();

    // Images in and out.
    std::optional<ImageImportChoice> chooseImageToImport(const QString& startDir);
    QString chooseExportPath(const QString& title, const QString& proposedPath, const QString& filter,
        QString* selectedFilter = nullptr);
    // The base name exports propose: the project's file, the imported image's, or "untitled".
    QString suggestedExportBaseName() const;
    // Offers to sweep the clashes a native export cannot hold; true when it must stop.
    bool exportBlockedByClashes(const QString& noun, const QString& cancelMessage);
    // Answered, and whether to include them.
    std::pair<bool, bool> askIncludeBorders(const QString& title, const QString& cancelMessage);
    void exportNativeImageFiles();
    // A C64 picture handed over from outside: a fresh canvas of its mode, the picture
    // imported as one undoable edit, named after the file.
    void openNativeImage(const QString& path, const NativeImage& image);
    void finishNativeImageImport(const QString& path, const NativeImage& image, const QRect& changed);
    void exportModernImageFile(bool includeBorders);
    std::optional<SpriteImportChoice> chooseSpritesToImport(const QString& startDir);
    // The program of the canvas, or empty after a warning that starts with `headline`.
    QByteArray encodeExecutablePrgOrWarn(const QString& headline);
    // Crunches the program at `path` in place, with a progress dialog of its own unless the
    // caller has one; true when the user cancelled. Failures leave the uncrunched program
    // and say how to start it.
    bool postProcessExportedPrg(const QString& path, int sysAddress, QProgressDialog* dialog);

    // The document and its view.
    std::shared_ptr<Project> m_project;
    CanvasArea* m_canvas = nullptr;
    PreviewWindow* m_preview = nullptr;

    // Commands, menus and shortcuts.
    QAction* m_exitAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_aboutQtAction = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    PaletteWidget* m_paletteBar = nullptr;
    ColorAssignmentWidget* m_colorSlotBar = nullptr;
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
    QAction* m_liveLinkAction = nullptr;
    LiveLinkController* m_liveLink = nullptr;
    QAction* m_saveWorkstagesAction = nullptr;
    QAction* m_printAction = nullptr;
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
    QAction* m_userManualAction = nullptr;
    QAction* m_onlineManualAction = nullptr;
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
    QMenu* m_optionsMenu = nullptr;
    QMenu* m_paletteMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_contourMenu = nullptr;
    QMenu* m_hiresClashMenu = nullptr;
    QMenu* m_borderSpritesMenu = nullptr;
    QPointer<QWidget> m_userManualWindow;
    ExternalUrlOpener* m_urlOpener = nullptr;

    // Dashboards.
    DashboardBar* m_toolDashboard = nullptr;
    DashboardBar* m_brushDashboard = nullptr;
    DashboardBar* m_paletteDashboard = nullptr;
    DashboardButton* m_shapeButton = nullptr;
    DashboardButton* m_selectButton = nullptr;
    QWidget* m_shapeFlyout = nullptr;
    QWidget* m_selectFlyout = nullptr;
    TextureWidget* m_textureBar = nullptr;
    FlyoutReveal* m_flyoutReveal = nullptr;
    QTimer* m_flyoutHoverTimer = nullptr;
    QTimer* m_flyoutLeaveTimer = nullptr;
    QPointer<QToolButton> m_pendingFlyoutButton;
    QPointer<QWidget> m_pendingFlyout;
    QPointer<QToolButton> m_openFlyoutButton;
    QAction* m_lastSelectToolAction = nullptr;

    // Status bar and settings.
    StatusBarPanel* m_statusPanel = nullptr;

    // Document lifecycle.
    QString m_currentFile;
    QString m_pendingName;
    bool m_fileTaskRunning = false;
    DocumentPrompts m_prompts;
    RecentProjectToolTipCache m_recentToolTips;
    QPointer<QMenu> m_recentProjectsMenu;

    // Crash recovery.
    void applyAutosavePreferences(const Preferences& preferences);
    void discardRecoveryCopy();
    RecoveryAnswer askAboutRecoveryCopy(const RecoveryCopyInfo& copy);
    bool restoreRecoveryCopy(const RecoveryClaim& claim);
    RecoveryWriter* m_recovery = nullptr;
    QTimer* m_autosaveTimer = nullptr;
    bool m_autosaveEnabled = true;
    // Counts document replacements, so a new document's first state is never taken for
    // one the copy already holds.
    quint64 m_documentGeneration = 0;
};
