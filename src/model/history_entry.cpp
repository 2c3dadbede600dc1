#include "model/history_entry.h"

bool historyEntryKindEndsStrokeChain(HistoryEntryKind kind)
{
    switch (kind) {
    case HistoryEntryKind::ClearScreen:
    case HistoryEntryKind::ImageConversion:
    case HistoryEntryKind::ImageImport:
    case HistoryEntryKind::SpriteImport:
    case HistoryEntryKind::Flip:
        return true;
    default:
        return false;
    }
}
