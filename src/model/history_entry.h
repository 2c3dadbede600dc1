#pragma once

#include "model/history_change_list.h"

#include <QPoint>

#include <optional>

// What made an edit. Stored in project files; the order is fixed.
enum class HistoryEntryKind : quint8 {
    Stroke = 0,
    ColorAssignment = 1,
    ClearScreen = 2,
    ResolveClashes = 3,
    Fill = 4,
    Shape = 5,
    Cut = 6,
    FloatingSelection = 7,
    ImageConversion = 8,
    BorderAlignment = 9,
    ReduceBorderSprites = 10,
    ImageImport = 11,
    SpriteImport = 12,
    Flip = 13,
    ColorSwap = 14,
    ColorReplace = 15,
};

inline constexpr int historyEntryKindCount = 16;

// One undoable edit: its changes are applied first to last on redo and last to first on
// undo. Entries hold values only, never references into the document, so they are saved
// and loaded as they are.
struct HistoryEntry {
    HistoryEntry() = default;
    explicit HistoryEntry(HistoryEntryKind entryKind)
        : kind(entryKind)
    {
    }

    // The fields are ordered so that an entry packs into 32 bytes.
    HistoryEntryKind kind = HistoryEntryKind::Stroke;
    // Where a Shift-connected line drawn after this edit starts; set by tools that end a
    // stroke.
    std::optional<QPoint> strokeAnchor;
    HistoryChangeList changes;
};

static_assert(sizeof(void*) != 8 || sizeof(HistoryEntry) == 32, "a history entry is 32 bytes");
Q_DECLARE_TYPEINFO(HistoryEntry, Q_RELOCATABLE_TYPE);

// Edits after which a Shift-connected line would start from a point that no longer means
// anything: the canvas was replaced or mirrored as a whole.
bool historyEntryKindEndsStrokeChain(HistoryEntryKind kind);
