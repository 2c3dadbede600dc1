#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"
#include "model/canvas_region.h"
#include "model/color_slots.h"
#include "model/colormap.h"
#include "model/history.h"
#include "model/palette.h"
#include "model/policies.h"
#include "model/transform.h"
#include "rules/clash_context.h"

#include <QRect>
#include <QRegion>

#include <optional>

// The document: the artwork, its shared colours and geometry, the policies, the view
// transform and the undo history. Mode, layout kind, screens across and canvas size are
// fixed for the project's life; a different canvas is a different project.
//
// Every edit method changes pixels, slots or alignments, records what it did as exactly
// one history entry (none when nothing changed) and returns the rectangle of canvas pixels
// that changed, or a null rectangle. An argument an edit cannot use (a colormap of another
// size, a colour swapped with itself, an empty selection) leaves the document untouched.
class Project {
public:
    // What the image converter hands over besides the pixels.
    struct ImageConversionState {
        ColorSlots slots;
        SpriteAlignment topAlignment = SpriteAlignment::Left;
        SpriteAlignment bottomAlignment = SpriteAlignment::Left;
    };

    // A width or height below 1 takes the mode's default for the layout; screensAcross
    // only counts for a bitmap-only canvas.
    explicit Project(CanvasMode mode = CanvasMode::Hires, int width = 0, int height = 0,
        const CanvasLayoutSpec& layout = {}, int screensAcross = 1);

    CanvasMode mode() const { return m_mode; }
    const CanvasLayoutSpec& layout() const { return m_layout; }
    int screensAcross() const { return m_screensAcross; }
    QSize size() const { return m_colormap.size(); }
    QRect rect() const { return m_colormap.rect(); }

    // The paint path writes pixels directly and records its own entries.
    const Colormap& colormap() const { return m_colormap; }
    Colormap& colormap() { return m_colormap; }

    const Palette& palette() const { return m_palette; }
    void setPaletteVariant(PaletteVariant variant) { m_palette.setVariant(variant); }

    const Transform& transform() const { return m_transform; }
    Transform& transform() { return m_transform; }

    const ColorSlots& colorSlots() const { return m_slots; }
    uchar slotIndex(HistoryColorSlot slot) const { return m_slots[slot]; }
    // For the file loader: takes slots as stored, without history or recolouring.
    void setColorSlots(const ColorSlots& slots) { m_slots = slots; }

    SpriteCountPolicy spriteCountPolicy() const { return m_spriteCountPolicy; }
    void setSpriteCountPolicy(SpriteCountPolicy policy) { m_spriteCountPolicy = policy; }
    HiresClashResolution hiresClashResolution() const { return m_hiresClashResolution; }
    void setHiresClashResolution(HiresClashResolution resolution) { m_hiresClashResolution = resolution; }

    const History& history() const { return m_history; }
    History& history() { return m_history; }

    // The document is modified when its history has moved away from the position it had
    // when it was created, opened or last saved.
    bool isModified() const;
    void markClean();
    // Unsaved until the next save, whatever the history says: a document brought back from
    // a recovery copy.
    void markModified();

    // Color Swap (swap) and Color Replace (the secondary colour retires into the primary).
    static uchar mappedIndex(bool swap, uchar primary, uchar secondary, uchar index);

    QRect screenRect(int screen) const;
    // Whether a screen other than `screen` shows more than one flat colour.
    bool otherScreensHoldArtwork(int screen) const;
    // Locked border pixels always show the border colour. Records nothing.
    void fillLockedBorderRects();
    // The context of the project's own operations: nothing is being painted.
    ClashContext makeClashContext() const;

    QRect undo();
    QRect redo();
    QRect applyHistoryEntry(const HistoryEntry& entry, bool undo);

    // Recording. `before` is the snapshot of `rect` taken before the edit; the colormap
    // already holds the result. Appends the bounding box of the differing pixels and
    // returns it, or appends nothing and returns a null rectangle.
    QRect appendRegionChange(HistoryEntry& entry, const QRect& rect, const Colormap& before) const;
    // The same with `beforeCanvas` holding the whole canvas as it was, which spares a
    // caller that kept such a copy cutting the area out of it first.
    QRect appendCanvasChange(HistoryEntry& entry, const QRect& rect, const Colormap& beforeCanvas) const;
    // Applies mappedIndex to a slot, recording the change if there is one.
    void adoptSlotUnderMapping(
        HistoryEntry& entry, HistoryColorSlot slot, bool swap, uchar primary, uchar secondary);
    QRect recolorRect(HistoryEntry& entry, const QRect& rect, uchar from, uchar to);
    // Every sprite strip, or only those on `side`; returns the union of the strips changed.
    QRect recolorSpriteStrips(
        HistoryEntry& entry, uchar from, uchar to, std::optional<SpriteStripSide> side = std::nullopt);

    // Edits.
    QRect clearCanvas(uchar index);
    QRect resolveAllClashes();
    // Erases the sprites of a top or bottom border beyond the 8 the hardware can show.
    QRect reduceBorderSpritesToBudget();
    QRect swapColors(uchar primary, uchar secondary, bool resolve);
    QRect replaceColor(uchar primary, uchar secondary, bool resolve);
    QRect swapColorsInRegion(uchar primary, uchar secondary, const QRegion& region, bool resolve);
    QRect replaceColorInRegion(uchar primary, uchar secondary, const QRegion& region, bool resolve);
    QRect setBorderAlignment(SpriteStripSide side, SpriteAlignment alignment, bool resolve);
    QRect assignBackgroundIndex(uchar index);
    QRect assignBorderIndex(uchar index);
    QRect assignSpriteMc0Index(uchar index);
    QRect assignSpriteMc1Index(uchar index);
    QRect assignTopBorderBackgroundIndex(uchar index);
    QRect assignTopBorderMc0Index(uchar index);
    QRect assignTopBorderMc1Index(uchar index);
    QRect assignBottomBorderBackgroundIndex(uchar index);
    QRect assignBottomBorderMc0Index(uchar index);
    QRect assignBottomBorderMc1Index(uchar index);
    QRect flipCanvas(Qt::Orientation orientation, bool resolve);
    // `image` is the whole canvas as it should look after the import.
    QRect applyImageImport(
        const Colormap& image, uchar background, uchar border, int targetScreen, bool resolve);
    QRect applySpriteImport(const Colormap& image);
    QRect applyImageConversion(const Colormap& converted, const ImageConversionState& state);

private:
    QRect appendChange(
        HistoryEntry& entry, const QRect& clip, const Colormap& before, const QPoint& beforeOrigin) const;
    struct CleanPoint {
        int revision = 0;
        int index = 0;
    };

    // Restores the locked pixels, sweeps when asked, records the whole canvas against
    // `before` and pushes the entry; returns the changed rectangle.
    QRect finishWholeCanvasEdit(HistoryEntry& entry, const Colormap& before, bool resolve);
    QRect recolorCanvasIndices(HistoryEntryKind kind, uchar primary, uchar secondary, bool resolve);
    QRect recolorRegionIndices(
        HistoryEntryKind kind, uchar primary, uchar secondary, const QRegion& region, bool resolve);
    QRect assignSpriteCommon(HistoryColorSlot slot, uchar index);
    QRect assignBorderSpriteColor(HistoryColorSlot slot, SpriteStripSide side, uchar index);
    // Records the change of a slot and stores the new value.
    void recordSlotChange(HistoryEntry& entry, HistoryColorSlot slot, uchar index);
    void recordAlignmentChange(HistoryEntry& entry, bool bottomBorder, SpriteAlignment alignment);
    void fillLockedBorderRectsWithin(const QRect& area);
    QList<CanvasRegion> regions() const;

    CanvasMode m_mode = CanvasMode::Hires;
    Colormap m_colormap;
    Palette m_palette;
    Transform m_transform;
    CanvasLayoutSpec m_layout;
    int m_screensAcross = 1;
    ColorSlots m_slots;
    SpriteCountPolicy m_spriteCountPolicy = SpriteCountPolicy::Flag;
    HiresClashResolution m_hiresClashResolution = HiresClashResolution::ReplaceOverwritten;
    History m_history;
    CleanPoint m_cleanPoint;
};

// The area the view fits and the exporters frame.
QRectF canvasContentRect(const Project& project);

// The union of the rectangles of an entry's region changes.
QRect historyEntryRegionBounds(const HistoryEntry& entry);
