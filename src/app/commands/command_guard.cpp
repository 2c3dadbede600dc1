#include "app/commands/command_guard.h"

#include "view/canvas_area.h"
#include "view/tools/canvas_tool.h"

CommandGuard::BusyScope::BusyScope(bool& busy)
    : m_busy(busy)
{
    m_busy = true;
}

CommandGuard::BusyScope::~BusyScope()
{
    m_busy = false;
}

// A stroke in progress has painted pixels its history entry does not hold yet; saving or
// replacing the document then would lose or tear it.
bool CommandGuard::canvasIdle() const
{
    return !m_canvas->strokeInProgress() && !m_canvas->recordedEditOpen();
}

bool CommandGuard::mayExport() const
{
    return !m_busy && canvasIdle();
}

bool CommandGuard::mayTouchDocument() const
{
    return mayExport() && !m_canvas->activeTool()->gestureOpen();
}

bool CommandGuard::mayEditDocument()
{
    if (!mayTouchDocument())
        return false;
    m_canvas->commitStagedEdits();
    return true;
}
