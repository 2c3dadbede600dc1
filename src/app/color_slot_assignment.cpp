#include "app/color_slot_assignment.h"

#include "document/project.h"
#include "model/palette.h"

QRect assignColorSlot(Project& project, ColorAssignmentWidget::Slot slot, uchar index)
{
    using Slot = ColorAssignmentWidget::Slot;
    if (index >= c64ColorCount)
        return {};
    switch (slot) {
    case Slot::Background:
        return project.assignBackgroundIndex(index);
    case Slot::Border:
        return project.assignBorderIndex(index);
    case Slot::SpriteMc0:
        return project.assignSpriteMc0Index(index);
    case Slot::SpriteMc1:
        return project.assignSpriteMc1Index(index);
    case Slot::TopBorderBackground:
        return project.assignTopBorderBackgroundIndex(index);
    case Slot::TopBorderMc0:
        return project.assignTopBorderMc0Index(index);
    case Slot::TopBorderMc1:
        return project.assignTopBorderMc1Index(index);
    case Slot::BottomBorderBackground:
        return project.assignBottomBorderBackgroundIndex(index);
    case Slot::BottomBorderMc0:
        return project.assignBottomBorderMc0Index(index);
    case Slot::BottomBorderMc1:
        return project.assignBottomBorderMc1Index(index);
    }
    return {};
}
