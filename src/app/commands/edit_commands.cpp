// The Edit menu's work on the document: undo and redo, the selection commands, flips,
// colour swaps, the clash sweeps and the colour slots. Each document edit asks the guard
// first and ends in finishDocumentEdit, so the canvas, the bars and the menus follow it.

#include "app/main_window.h"

#include "app/color_slot_assignment.h"
#include "app/live_link_controller.h"
#include "document/project.h"
#include "view/canvas_area.h"
#include "view/tools/canvas_tool.h"
#include "view/tools/select_tool.h"
#include "view/tools/shape_tool.h"
#include "widgets/color_assignment_widget.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

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
    if (!m_guard.mayEditDocument())
        return;
    m_canvas->undo();
    m_colorSlotBar->update();
    syncBorderSpritesMenu();
    refreshUndoActions();
}

void MainWindow::redo()
{
    if (!m_guard.mayEditDocument())
        return;
    m_canvas->redo();
    m_colorSlotBar->update();
    syncBorderSpritesMenu();
    refreshUndoActions();
}

void MainWindow::clearHistory()
{
    if (!m_guard.mayEditDocument() || m_project->history().count() == 0)
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
    refreshCommandStates();
    if (m_liveLink)
        m_liveLink->documentChanged();
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
    refreshUndoActions();
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
    if (m_guard.mayEditDocument())
        finishDocumentEdit(m_project->resolveAllClashes());
}

void MainWindow::reduceBorderSprites()
{
    if (m_guard.mayEditDocument())
        finishDocumentEdit(m_project->reduceBorderSpritesToBudget());
}

void MainWindow::flipCanvas(Qt::Orientation orientation)
{
    // The float is not dropped here: a flip of the selection flips the float itself.
    if (!m_guard.mayTouchDocument())
        return;
    if (m_canvas->selectionPresent()) {
        m_canvas->commitShapeStage();
        ensureSelectionTool();
        m_canvas->flipSelection(orientation);
        refreshSelectionActions();
        return;
    }
    if (!m_guard.mayEditDocument())
        return;
    finishDocumentEdit(m_project->flipCanvas(orientation, true));
    syncBorderSpritesMenu();
}

void MainWindow::swapOrReplaceColors(bool swap)
{
    if (!m_guard.mayEditDocument())
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
    if (!m_guard.mayEditDocument())
        return;
    const uchar index = button == Qt::RightButton ? m_canvas->secondaryIndex() : m_canvas->penIndex();
    finishDocumentEdit(::assignColorSlot(*m_project, slot, index));
}
