// Random edits of every kind on canvases of every shape: undoing them all gives back the
// first document byte for byte, redoing them all gives back the last, and so does the
// same document saved to a project file and loaded again.
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "support/document_state.h"

#include <QBuffer>

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayoutSpec)

namespace {

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
        switch (below(13)) {
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

QByteArray savedBytes(const Project& project)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return saveProjectFile(project, &buffer, {}).ok ? buffer.data() : QByteArray();
}

} // namespace

class TestHistoryRoundTrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void undoAllAndRedoAllRestoreEveryByte_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayoutSpec>("layout");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("screens");
        QTest::addColumn<quint32>("seed");

        const CanvasLayoutSpec bitmapOnly {CanvasLayout::BitmapOnly};
        const CanvasLayoutSpec sideBorders {CanvasLayout::SideBorders};
        const CanvasLayoutSpec topBottom {CanvasLayout::TopBottomBorders, SpriteAlignment::Right};
        for (quint32 seed : {1u, 2u}) {
            for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
                const char* modeName = mode == CanvasMode::Hires ? "hires" : "multicolor";
                QTest::addRow("%s bitmap, seed %u", modeName, seed)
                    << mode << bitmapOnly << QSize() << 1 << seed;
                QTest::addRow("%s side borders, seed %u", modeName, seed)
                    << mode << sideBorders << QSize() << 1 << seed;
                QTest::addRow("%s top and bottom, seed %u", modeName, seed)
                    << mode << topBottom << QSize() << 1 << seed;
                QTest::addRow("%s dual screen, seed %u", modeName, seed)
                    << mode << bitmapOnly << QSize() << 2 << seed;
            }
        }
    }

    void undoAllAndRedoAllRestoreEveryByte()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(QSize, size);
        QFETCH(int, screens);
        QFETCH(quint32, seed);

        RandomEdits random(seed);
        Project project(mode, size.width(), size.height(), layout, screens);
        random.scribble(project.colormap(), project.rect());
        ColorSlots slots;
        for (uchar& slot : slots.values)
            slot = random.color();
        project.setColorSlots(slots);
        project.fillLockedBorderRects();
        project.setSpriteCountPolicy(SpriteCountPolicy(random.below(2)));
        project.setHiresClashResolution(HiresClashResolution(random.below(3)));

        // states[k] is the document with k entries applied.
        QList<DocumentState> states {stateOf(project)};
        for (int step = 0; step < 80; ++step) {
            if (random.below(6) == 0 && project.history().canUndo()) {
                project.undo();
                continue;
            }
            const int index = project.history().index();
            const DocumentState before = stateOf(project);
            random.edit(project);
            if (project.history().index() == index) {
                // An edit that records nothing must have changed nothing.
                QVERIFY(stateOf(project) == before);
                continue;
            }
            states.resize(index + 1);
            states.append(stateOf(project));
        }
        QVERIFY(project.history().count() > 10);
        states.resize(project.history().count() + 1);

        const auto walk = [&](Project& document) {
            while (document.history().canUndo())
                document.undo();
            QVERIFY(stateOf(document) == states.first());
            while (document.history().canRedo()) {
                document.redo();
                QVERIFY(stateOf(document) == states.at(document.history().index()));
            }
        };
        walk(project);

        // Through a project file, whose crops stay compressed until undo needs them: the
        // same document and history come back, and saving again gives the same bytes.
        const QByteArray bytes = savedBytes(project);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        Project loaded;
        QVERIFY(loadProjectFile(&buffer, &loaded, {}).ok);
        QVERIFY(!loaded.isModified());
        QCOMPARE(
            std::tuple(loaded.mode(), loaded.screensAcross(), loaded.spriteCountPolicy(),
                loaded.hiresClashResolution(), loaded.history().index(), loaded.history().strokeAnchor()),
            std::tuple(project.mode(), project.screensAcross(), project.spriteCountPolicy(),
                project.hiresClashResolution(), project.history().index(), project.history().strokeAnchor()));
        QCOMPARE(savedBytes(loaded), bytes);
        walk(loaded);
    }
};

QTEST_GUILESS_MAIN(TestHistoryRoundTrip)
#include "tst_history_round_trip.moc"
