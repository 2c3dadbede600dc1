// The one rule set for enabled and checked states. Every trigger that may change one
// (a history change, a tool switch, a new document, a selection) lands here, and the
// states are derived afresh from the document and the canvas.

#include "app/commands/command_state.h"

#include "app/commands/command_table.h"
#include "app/main_window.h"
#include "document/project.h"
#include "formats/prg/executable_prg.h"
#include "model/canvas_region.h"
#include "model/palette.h"
#include "view/canvas_area.h"
#include "view/tools/canvas_tool.h"
#include "view/tools/select_tool.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

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

bool MainWindow::commandEnabled(CommandEnable rule) const
{
    const History& history = m_project->history();
    const CanvasLayout layout = m_project->layout().layout;
    switch (rule) {
    case CommandEnable::Always:
        return true;
    case CommandEnable::UndoAvailable:
        return history.index() >= 1 || m_canvas->activeTool()->canUndoStage();
    case CommandEnable::RedoAvailable:
        return history.index() < history.count();
    case CommandEnable::HistoryHoldsEntries:
        return history.count() >= 1;
    case CommandEnable::HistoryPositionPastStart:
        return history.index() >= 1;
    case CommandEnable::SelectionPresent:
        return m_canvas->hasSelection();
    case CommandEnable::ClipboardHoldsPixels:
        return !m_canvas->selectTool().clipboard().isEmpty();
    case CommandEnable::ShapeToolActive:
        return m_canvas->shapeToolActive();
    case CommandEnable::SymmetryOn:
        return m_canvas->symmetryMode() != SymmetryMode::None;
    // Anti-aliasing blends between neighbouring colours, which needs the in-between shades a
    // multicolor cell can hold; a one-pixel line has no edge to soften unless pressure widens it.
    case CommandEnable::AntialiasApplies:
        return isMulticolor(m_project->mode())
            && (m_canvas->brush().width() >= 2 || m_pressureWideningAction->isChecked());
    case CommandEnable::LayoutHasSprites:
        return layout != CanvasLayout::BitmapOnly;
    case CommandEnable::PrgExportSupported:
        return prgExportSupported(
            m_project->mode(), m_project->size(), m_project->layout(), m_project->screensAcross());
    case CommandEnable::ReferenceImagePresent:
        return !m_canvas->referenceImage().isNull();
    case CommandEnable::HiresCanvas:
        return m_project->mode() == CanvasMode::Hires;
    case CommandEnable::ContourApplies:
        return m_canvas->contourApplies();
    case CommandEnable::TopBottomBorders:
        return layout == CanvasLayout::TopBottomBorders;
    case CommandEnable::LiveLinkAvailable:
        return commandEnabled(CommandEnable::PrgExportSupported)
            || (m_liveLinkAction && m_liveLinkAction->isChecked());
    }
    return true;
}

void MainWindow::refreshCommandStates()
{
    for (const auto& [action, rule] : m_actionRules)
        action->setEnabled(commandEnabled(rule));
    for (const auto& [menu, rule] : m_menuRules)
        menu->setEnabled(commandEnabled(rule));
    const CanvasLayoutSpec& layout = m_project->layout();
    for (const CommandGroupRow& row : commandGroupTable()) {
        QActionGroup* group = this->*row.group;
        if (!group)
            continue;
        switch (row.follows) {
        case GroupFollows::Nothing:
            break;
        case GroupFollows::HiresClashResolution:
            checkActionWithData(group, int(m_project->hiresClashResolution()));
            break;
        case GroupFollows::TopBorderAlignment:
            checkActionWithData(group, int(layout.topAlignment));
            break;
        case GroupFollows::BottomBorderAlignment:
            checkActionWithData(group, int(layout.bottomAlignment));
            break;
        case GroupFollows::SpriteCountPolicy:
            checkActionWithData(group, int(m_project->spriteCountPolicy()));
            break;
        case GroupFollows::PaletteVariant:
            checkActionWithData(group, int(m_project->palette().variant()));
            break;
        }
    }
}
