// The Options and Palette menus: pen and brush settings, the tools, symmetry, the shape
// kind, the hires clash choice and the border sprites. Tools are exclusive through their
// action group; each toggled slot switches the canvas's tool.

#include "app/main_window.h"

#include "document/project.h"
#include "model/palette.h"
#include "model/policies.h"
#include "paint/brush.h"
#include "paint/texture_mode.h"
#include "view/canvas_area.h"
#include "view/tools/select_tool.h"
#include "widgets/palette_widget.h"

#include <QAction>
#include <QInputDialog>

#include <algorithm>

namespace {

constexpr int minPenWidth = 1;
constexpr int maxPenWidth = 32;

} // namespace

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
    refreshPaletteDependentViews();
}

void MainWindow::refreshPaletteDependentViews()
{
    m_paletteBar->update();
    m_colorSlotBar->update();
}

void MainWindow::setDisplayPixelAspect(QAction* action)
{
    m_canvas->setDisplayPixelAspect(action->data().toDouble());
}

void MainWindow::setHiresClashResolution(QAction* action)
{
    if (!m_guard.mayEditDocument()) {
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
    if (!m_guard.mayEditDocument()) {
        syncBorderSpritesMenu();
        return;
    }
    finishDocumentEdit(m_project->setBorderAlignment(side, SpriteAlignment(action->data().toInt()), true));
    syncBorderSpritesMenu();
}

void MainWindow::setSpriteCountPolicy(QAction* action)
{
    if (!m_guard.mayEditDocument()) {
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
    if (mode == SymmetryMode::None && m_moveAxesAction->isChecked())
        m_penToolAction->setChecked(true);
    refreshCommandStates();
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

void MainWindow::setShapeKind(QAction* action)
{
    m_canvas->setShapeKind(ShapeKind(action->data().toInt()));
    updateShapeToolButtonFace();
}

// The three names the commands use for "the document changed under the menus": all states
// come from the one rule set, so each refreshes everything.
void MainWindow::syncHiresClashMenu()
{
    refreshCommandStates();
}

void MainWindow::syncAntialiasedStrokesAction()
{
    refreshCommandStates();
}

void MainWindow::syncBorderSpritesMenu()
{
    refreshCommandStates();
}
