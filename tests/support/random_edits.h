#pragma once

#include "document/project.h"

#include <QRandomGenerator>

// Edits of every kind a document has, chosen at random from a seed, for the properties
// that must hold whatever was done: undo and redo, saving and loading, replaying.
class RandomEdits {
public:
    explicit RandomEdits(quint32 seed)
        : m_random(seed)
    {
    }

    int below(int n) { return int(m_random.bounded(n)); }
    uchar color() { return uchar(below(16)); }
    bool coin() { return below(2) == 1; }

    // A rectangle that may reach past the canvas, as a selection dragged off its edge can.
    QRect rectIn(const QSize& size)
    {
        const int left = below(size.width() + 8) - 8;
        const int top = below(size.height() + 8) - 8;
        return QRect(left, top, 1 + below(size.width() / 2 + 1), 1 + below(size.height() / 2 + 1));
    }

    // Blocks of a few colours, so that cells and sprites start out over their limits.
    void scribble(Colormap& map, const QRect& area)
    {
        const QRect clip = area.intersected(map.rect());
        for (int y = clip.top(); y <= clip.bottom(); y += 3) {
            for (int x = clip.left(); x <= clip.right(); x += 2)
                map.fillRect(QRect(x, y, 2, 3).intersected(clip), uchar(below(6)));
        }
    }

    // One edit of a randomly chosen kind.
    void edit(Project& project)
    {
        const QSize size = project.size();
        switch (below(14)) {
        case 0: {
            const QRect rect = rectIn(size);
            const Colormap before = project.colormap().snapshotRegion(rect);
            for (int i = below(6); i >= 0; --i) {
                project.colormap().setPixel(
                    rect.left() + below(rect.width()), rect.top() + below(rect.height()), color());
            }
            HistoryEntry entry(HistoryEntryKind::Stroke);
            entry.strokeAnchor = rect.center();
            project.appendRegionChange(entry, rect, before);
            project.history().push(std::move(entry));
            break;
        }
        case 1:
            project.clearCanvas(color());
            break;
        case 2:
            project.resolveAllClashes();
            break;
        case 3:
            project.swapColors(color(), color(), coin());
            break;
        case 4:
            project.replaceColor(color(), color(), coin());
            break;
        case 5:
        case 6: {
            QRegion region;
            for (int i = below(3); i >= 0; --i)
                region += rectIn(size);
            if (below(4) == 0)
                region = QRegion(project.rect());
            if (below(2) == 0)
                project.swapColorsInRegion(color(), color(), region, coin());
            else
                project.replaceColorInRegion(color(), color(), region, coin());
            break;
        }
        case 7:
            project.setBorderAlignment(
                coin() ? SpriteStripSide::Top : SpriteStripSide::Bottom, SpriteAlignment(below(2)), coin());
            break;
        case 8:
            assignSlot(project, below(colorSlotCount), color());
            break;
        case 9:
            project.flipCanvas(coin() ? Qt::Horizontal : Qt::Vertical, coin());
            break;
        case 10: {
            Colormap image = project.colormap();
            scribble(image, rectIn(size));
            project.applyImageImport(image, color(), color(), below(project.screensAcross()), coin());
            break;
        }
        case 11: {
            Colormap image = project.colormap();
            scribble(image, image.rect());
            project.applySpriteImport(image);
            break;
        }
        case 12: {
            Colormap image = project.colormap();
            scribble(image, rectIn(size));
            Project::ImageConversionState state {
                project.colorSlots(), project.layout().topAlignment, project.layout().bottomAlignment};
            for (int i = below(4); i > 0; --i)
                state.slots.values[std::size_t(below(colorSlotCount))] = color();
            if (coin())
                state.topAlignment = SpriteAlignment(below(2));
            project.applyImageConversion(image, state);
            break;
        }
        case 13:
            project.reduceBorderSpritesToBudget();
            break;
        }
    }

private:
    // The assignment of each slot, in the order of HistoryColorSlot.
    static void assignSlot(Project& project, int slot, uchar index)
    {
        using Assign = QRect (Project::*)(uchar);
        static constexpr Assign assign[colorSlotCount] {&Project::assignBackgroundIndex,
            &Project::assignBorderIndex, &Project::assignSpriteMc0Index, &Project::assignSpriteMc1Index,
            &Project::assignTopBorderBackgroundIndex, &Project::assignTopBorderMc0Index,
            &Project::assignTopBorderMc1Index, &Project::assignBottomBorderBackgroundIndex,
            &Project::assignBottomBorderMc0Index, &Project::assignBottomBorderMc1Index};
        (project.*assign[slot])(index);
    }

    QRandomGenerator m_random;
};
