#pragma once

#include "document/project.h"

// What undo and redo must restore: the pixels, the shared colours and the alignments.
struct DocumentState {
    Colormap colormap;
    ColorSlots slots;
    CanvasLayoutSpec layout;

    friend bool operator==(const DocumentState&, const DocumentState&) = default;
};

inline DocumentState stateOf(const Project& project)
{
    return {project.colormap(), project.colorSlots(), project.layout()};
}
