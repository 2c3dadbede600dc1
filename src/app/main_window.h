#pragma once

#include "app/commands/command_guard.h"
#include "app/commands/command_row.h"
#include "app/commands/window_actions.h"
#include "app/crash_recovery.h"
#include "app/document_prompts.h"
#include "app/project_file_task.h"
#include "app/recent_project_tooltip.h"
#include "app/window_dashboards.h"
#include "widgets/color_assignment_widget.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <utility>
#include <vector>

class CanvasArea;
class DashboardBar;
class EmulatorRuns;
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
class RecoveryWriter;
struct NativeImage;
struct Preferences;
class LiveLinkController;
class StatusBarPanel;
struct MenuRow;
enum class SessionToggle : int;
enum class ShapeKind : qint32;
enum class SpriteStripSide : quint8;

// The one window of the program. It keeps one pointer per action (WindowActions) and the
// slots the commands run; what each command is (text, keys, enabling) is a row of the command table
// in commands/, and the bodies live there too, one file per concern. main_window.cpp
// builds the window, main_window_commands.cpp wires the table and the menus,
// main_window_status.cpp holds the status bar and settings.
class MainWindow : public QMainWindow, private WindowActions {
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
    WindowDashboards& dashboards() const { return *m_dashboards; }
    DashboardBar* toolDashboard() const { return m_dashboards->toolDashboard(); }
    DashboardBar* brushDashboard() const { return m_dashboards->brushDashboard(); }
    DashboardBar* paletteDashboard() const { return m_dashboards->paletteDashboard(); }
    QToolButton* shapePickerButton() const { return m_dashboards->shapePickerButton(); }
    QWidget* shapeFlyout() const { return m_dashboards->shapeFlyout(); }
    TextureWidget* textureBar() const { return m_textureBar; }
    void refreshTextureBar() { m_dashboards->refreshTextureBar(); }
    void setDashboardsVisible(bool visible) { m_dashboards->setVisible(visible); }
    void selectShapeFace(ShapeKind kind, bool filled) { m_dashboards->selectShapeFace(kind, filled); }
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
    bool isFileTaskRunning() const { return m_guard.busy(); }
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

    // Crash recovery (see CrashRecovery).
    void startCrashRecovery(const QString& folderPath) { m_crashRecovery->start(folderPath); }
    void autosaveNow() { m_crashRecovery->autosaveNow(); }
    RecoveryWriter* recoveryWriter() const { return m_crashRecovery->writer(); }
    // Shows what a document command changed and refreshes everything that depends on it.
    void finishDocumentEdit(const QRect& changed);
    // `detail` says why, under the message, where the box has room for it.
    void warnUser(const QString& text, const QString& detail = {});
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
    void runInEmulator();
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
    // Build the actions and menus from the command table and the menu layout.
    void createActions();
    void createMenus();
    // Derives every enabled state, and the radio groups that show document values, from
    // the rules of the command table.
    void refreshCommandStates();
    bool commandEnabled(CommandEnable rule) const;
    friend std::vector<CommandRow> commandTable();
    friend std::vector<CommandGroupRow> commandGroupTable();
    friend std::vector<MenuRow> menuLayout();
    void stepPenWidth(int delta);
    // The zoom commands act on the canvas only while this window is the active one.
    void zoomCommand(void (CanvasArea::*step)());
    // The zoom steps reach the preview window when it is active.
    bool zoomPreviewIfActive(void (CanvasArea::*step)());
    void selectPenIndex(uchar index);
    // Repaints the two colour bars after a palette change.
    void refreshPaletteDependentViews();
    // Selection commands need a selection tool in hand; these take the rectangle one first.
    void ensureSelectionTool();
    void pasteFromClipboard(bool transparent);
    void selectAll();
    void syncHiresClashMenu();
    void syncBorderSpritesMenu();
    void syncAntialiasedStrokesAction();
    // A new or opened document: the bars and the menus follow it.
    void followReplacedDocument();
    void setBorderAlignmentFromMenu(SpriteStripSide side, QAction* action);

    // Dashboards.
    void createDashboards() { m_dashboards->create(); }
    void updateShapeToolButtonFace() { m_dashboards->updateShapeToolButtonFace(); }
    // Guarded: the window still filters its widgets' events while it tears them down.
    QPointer<WindowDashboards> m_dashboards;
    friend class WindowDashboards;

    // Status bar and settings.
    void createStatusBar();
    QAction* sessionToggleAction(SessionToggle toggle) const;
    friend class WindowSessionTarget;

    // Document lifecycle.
    void newPresetCanvas(CanvasMode mode, CanvasLayout layout, int screensAcross);
    // Puts the project in place of the old one everywhere that holds it.
    void adoptProject(std::shared_ptr<Project> project);
    void onlineUserManualOpened(bool opened);
    // Most of the screen, centred: where the window opens when no geometry was saved.
    void placeForFirstStart();

    // The document and its view, and when commands may touch them.
    std::shared_ptr<Project> m_project;
    CommandGuard m_guard;
    CanvasArea* m_canvas = nullptr;
    PreviewWindow* m_preview = nullptr;

    // Commands, menus and shortcuts.
    PaletteWidget* m_paletteBar = nullptr;
    ColorAssignmentWidget* m_colorSlotBar = nullptr;
    EmulatorRuns* m_emulatorRuns = nullptr;
    LiveLinkController* m_liveLink = nullptr;
    // The actions and submenus whose enabled state follows a rule.
    std::vector<std::pair<QAction*, CommandEnable>> m_actionRules;
    std::vector<std::pair<QMenu*, CommandEnable>> m_menuRules;
    QPointer<QWidget> m_userManualWindow;
    ExternalUrlOpener* m_urlOpener = nullptr;

    TextureWidget* m_textureBar = nullptr;

    // Status bar and settings.
    StatusBarPanel* m_statusPanel = nullptr;

    // Document lifecycle.
    QString m_currentFile;
    QString m_pendingName;
    DocumentPrompts m_prompts;
    RecentProjectToolTipCache m_recentToolTips;
    QPointer<QMenu> m_recentProjectsMenu;

    CrashRecovery* m_crashRecovery = nullptr;
    friend class CrashRecovery;
};
