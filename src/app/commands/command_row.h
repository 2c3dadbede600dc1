#pragma once

#include <QFlags>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

class MainWindow;
class QAction;
class QActionGroup;

enum class CommandFlag : unsigned {
    Checkable = 1u << 0,
    // Checked when the window is built, before the saved session is restored.
    Checked = 1u << 1,
    // The handler runs on toggled(bool), so checking the action from code runs it too
    // (the session restore relies on that); otherwise on triggered.
    OnToggle = 1u << 2,
    // The shortcut also works while the preview window is the active one.
    EitherWindow = 1u << 3,
    // In no menu: added to the window itself so its keys work whenever it is active.
    WindowOnly = 1u << 4,
};
Q_DECLARE_FLAGS(CommandFlags, CommandFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(CommandFlags)

// When a command is enabled. `Always` commands are enabled once and never touched again;
// every other condition is derived from the document and the canvas in one place
// (refreshCommandStates), so no command sets another's state by hand.
enum class CommandEnable {
    Always,
    // The history position is at least 1, or the active tool holds a step of its own.
    UndoAvailable,
    RedoAvailable,
    HistoryHoldsEntries,
    HistoryPositionPastStart,
    SelectionPresent,
    ClipboardHoldsPixels,
    ShapeToolActive,
    SymmetryOn,
    // Multicolor, and a width of 2 or pressure widening: something for the blend to soften.
    AntialiasApplies,
    LayoutHasSprites,
    PrgExportSupported,
    ReferenceImagePresent,
    HiresCanvas,
    ContourApplies,
    TopBottomBorders,
    // The canvas can become a program, or the live link runs and may always be stopped.
    LiveLinkAvailable,
};

// The document value a radio group shows; refreshed with the enabled states.
enum class GroupFollows {
    Nothing,
    HiresClashResolution,
    TopBorderAlignment,
    BottomBorderAlignment,
    SpriteCountPolicy,
    PaletteVariant,
};

// One radio group (or the tools group) of the window, with the slot its triggered signal
// reaches.
struct CommandGroupRow {
    QActionGroup* MainWindow::*group = nullptr;
    void (MainWindow::*slot)(QAction*) = nullptr;
    GroupFollows follows = GroupFollows::Nothing;
};

// One command of the window: one action with its text, keys and behaviour.
struct CommandRow {
    QString text {};
    QList<QKeySequence> keys {};
    CommandFlags flags {};
    CommandEnable enable = CommandEnable::Always;
    // Where the window keeps the action; null for actions only a group or the window holds.
    QAction* MainWindow::*action = nullptr;
    // The radio group the action belongs to, with its value as the action's data.
    QActionGroup* MainWindow::*group = nullptr;
    QVariant data {};
    // A list the window keeps several actions in (the new-canvas presets).
    QList<QAction*> MainWindow::*list = nullptr;
    // A resource name under ":/dashboard/", for actions the dashboards show.
    QString icon {};
    QString toolTip {};
    // What the command does; null for group members, whose group slot acts.
    std::function<void(MainWindow&, bool)> run {};
};
