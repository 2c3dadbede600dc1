#pragma once

#include "view/tools/canvas_tool.h"

// A tool that holds edits on a stage of its own (staged shapes, a floating selection)
// before they reach the document. The stage is not history: before a document command
// or a replacement of the document, the stage is committed so it lands as an entry of
// its own and the command never paints under it.
class StagedEditTool : public CanvasTool {
public:
    using CanvasTool::CanvasTool;

    virtual void commitStage() = 0;
    virtual void discardStage() = 0;
};
