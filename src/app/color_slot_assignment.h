#pragma once

#include "widgets/color_assignment_widget.h"

#include <QRect>

class Project;

// Gives a shared colour slot a colour through the project's edit for that slot: one
// ColorAssignment history entry that also recolours the pixels the slot governs, or
// nothing when the slot already holds the colour or the index is not a C64 colour. Returns the changed canvas
// rectangle.
//
// The window calls it for the colour-slot bar's slotClicked once the canvas is idle and
// staged shapes and a floating selection are committed, with the canvas's secondary pen
// colour for a right click and its primary one otherwise.
QRect assignColorSlot(Project& project, ColorAssignmentWidget::Slot slot, uchar index);
