// Random edits of every kind on canvases of every shape: undoing them all gives back the
// first document byte for byte, redoing them all gives back the last, and so does the
// same document saved to a project file and loaded again.
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "support/canvas_shape_rows.h"
#include "support/document_state.h"
#include "support/random_edits.h"

#include <QBuffer>
#include <QTest>

namespace {

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
    void undoAllAndRedoAllRestoreEveryByte_data() { addEveryCanvasShape(); }

    void undoAllAndRedoAllRestoreEveryByte()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayoutSpec, layout);
        QFETCH(int, screens);

        RandomEdits random(
            quint32(int(mode) * 31 + int(layout.layout) * 7 + int(layout.topAlignment) * 3 + screens));
        Project project(mode, 0, 0, layout, screens);
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
        for (int step = 0; step < 130; ++step) {
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
