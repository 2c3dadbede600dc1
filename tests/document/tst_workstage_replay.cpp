// The time-lapse replay: which stages a subset picks, that every replayed stage is exactly
// what undoing back to it shows, and that the written frames carry each stage's colours.
#include "document/project.h"
#include "formats/image/workstage_frames.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "model/workstage_replayer.h"
#include "support/random_edits.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(WorkstageReduction)
Q_DECLARE_METATYPE(CanvasMode)
Q_DECLARE_METATYPE(CanvasLayout)

namespace {

// Edits of every kind, with background and border changes more often than chance would
// give them, so the replay has pixels and both tracked colours to get right.
Project recordedProject(CanvasMode mode, CanvasLayout layout, int edits, quint32 seed)
{
    CanvasLayoutSpec spec;
    spec.layout = layout;
    Project project(mode, 0, 0, spec);
    RandomEdits random(seed);
    while (project.history().index() < edits) {
        const int pick = random.below(4);
        if (pick == 0)
            project.assignBackgroundIndex(random.color());
        else if (pick == 1)
            project.assignBorderIndex(random.color());
        else
            random.edit(project);
    }
    return project;
}

struct Stage {
    Colormap colormap;
    WorkstageColors colors;
};

// What undo shows at every stage, read by undoing from the end and redoing back.
QList<Stage> stagesByUndo(Project& project)
{
    QList<Stage> stages;
    const int index = project.history().index();
    for (int i = 0; i <= index; ++i) {
        stages.prepend({project.colormap(), workstageColorsOf(project)});
        project.undo();
    }
    for (int i = 0; i < index; ++i)
        project.redo();
    return stages;
}

} // namespace

class TestWorkstageReplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void indicesPickTheStages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("total");
        QTest::addColumn<WorkstageReduction>("reduction");
        QTest::addColumn<QList<int>>("expected");
        const auto uniform = WorkstageReduction::Uniform;
        const auto smart = WorkstageReduction::Smart;
        QTest::newRow("all of 5") << 5 << 5 << uniform << QList<int> {0, 1, 2, 3, 4};
        QTest::newRow("3 of 5 uniform") << 3 << 5 << uniform << QList<int> {1, 2, 4};
        QTest::newRow("3 of 5 smart") << 3 << 5 << smart << QList<int> {0, 1, 4};
        QTest::newRow("4 of 10 smart") << 4 << 10 << smart << QList<int> {0, 1, 4, 9};
        QTest::newRow("one frame is the last stage") << 1 << 7 << uniform << QList<int> {6};
        QTest::newRow("smart repeats early stages") << 4 << 3 << smart << QList<int> {0, 0, 0, 2};
        QTest::newRow("a single stage") << 3 << 1 << uniform << QList<int> {0, 0, 0};
        QTest::newRow("no frames") << 0 << 5 << uniform << QList<int> {};
        QTest::newRow("no stages") << 3 << 0 << smart << QList<int> {};
    }
    void indicesPickTheStages()
    {
        QFETCH(int, count);
        QFETCH(int, total);
        QFETCH(WorkstageReduction, reduction);
        QFETCH(QList<int>, expected);
        QCOMPARE(workstageIndices(count, total, reduction), expected);
    }

    // Replaying must show at every stage exactly what undoing back to it shows, with the
    // redo tail left out.
    void replayMatchesUndo_data()
    {
        QTest::addColumn<CanvasMode>("mode");
        QTest::addColumn<CanvasLayout>("layout");
        QTest::addColumn<int>("undone");
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("reloaded");
        QTest::newRow("hires bitmap") << CanvasMode::Hires << CanvasLayout::BitmapOnly << 0 << 1u << false;
        QTest::newRow("multicolor bitmap, redo tail")
            << CanvasMode::Multicolor << CanvasLayout::BitmapOnly << 7 << 2u << false;
        QTest::newRow("multicolor side borders")
            << CanvasMode::Multicolor << CanvasLayout::SideBorders << 3 << 3u << false;
        QTest::newRow("hires top and bottom borders")
            << CanvasMode::Hires << CanvasLayout::TopBottomBorders << 1 << 4u << false;
        QTest::newRow("loaded from a file")
            << CanvasMode::Multicolor << CanvasLayout::BitmapOnly << 2 << 5u << true;
    }
    void replayMatchesUndo()
    {
        QFETCH(CanvasMode, mode);
        QFETCH(CanvasLayout, layout);
        QFETCH(int, undone);
        QFETCH(quint32, seed);
        QFETCH(bool, reloaded);
        Project project = recordedProject(mode, layout, 60, seed);
        for (int i = 0; i < undone; ++i)
            project.undo();
        const QList<Stage> expected = stagesByUndo(project);
        // Crops read from a file stay compressed until something needs them.
        Project loaded(mode);
        if (reloaded) {
            QBuffer file;
            file.open(QIODevice::ReadWrite);
            QVERIFY(saveProjectFile(project, &file, {}).ok);
            file.seek(0);
            QVERIFY(loadProjectFile(&file, &loaded, {}).ok);
        }
        const Project& source = reloaded ? loaded : project;

        WorkstageReplayer replayer(source.colormap(), source.history(), workstageColorsOf(source));
        QCOMPARE(replayer.stageCount(), 61 - undone);
        for (int stage = 0; stage < replayer.stageCount(); ++stage) {
            QVERIFY2(replayer.colormapAt(stage) == expected.at(stage).colormap,
                qPrintable(QString::number(stage)));
            QCOMPARE(replayer.colorsAt(stage), expected.at(stage).colors);
        }
        // Asking past the end stays on the current canvas.
        QVERIFY(replayer.colormapAt(1000) == project.colormap());

        // Asked first for a later stage, a replayer rewinds only that far and goes on from
        // there; asked first for the last, it has nothing to rewind.
        for (int first : {replayer.stageCount() / 2, replayer.stageCount() - 1}) {
            WorkstageReplayer later(source.colormap(), source.history(), workstageColorsOf(source));
            for (int stage = first; stage < later.stageCount(); ++stage) {
                QVERIFY2(later.colormapAt(stage) == expected.at(stage).colormap,
                    qPrintable(QString::number(stage)));
                QCOMPARE(later.colorsAt(stage), expected.at(stage).colors);
            }
        }
    }

    // Frames are numbered in writing order, framed in each stage's border colour, and a
    // cancelled run (here of the same replayer, rewound from the last stage) keeps what it
    // wrote.
    void framesCarryEachStagesBorder()
    {
        Project project(CanvasMode::Hires);
        project.assignBorderIndex(2);
        project.colormap().setPixel(0, 0, 1);
        HistoryEntry entry(HistoryEntryKind::Stroke);
        project.appendRegionChange(entry, QRect(0, 0, 1, 1), Colormap(1, 1));
        project.history().push(std::move(entry));
        project.assignBorderIndex(5);

        QTemporaryDir folder;
        const WorkstageFrameJob job
            = workstageFrameJob(project, 4, WorkstageReduction::Uniform, true, folder.path(), "lapse");
        WorkstageReplayer replayer(project.colormap(), project.history(), workstageColorsOf(project));
        const WorkstageFramesResult result = writeWorkstageFrames(replayer, job, {});
        QVERIFY(result.ok());
        QCOMPARE(result.written, 4);

        const QList<uchar> borders {0, 2, 2, 5};
        for (int frame = 0; frame < 4; ++frame) {
            const QImage image(folder.filePath(QStringLiteral("lapse-00000%1.png").arg(frame)));
            QVERIFY(image.width() > project.size().width());
            QCOMPARE(image.pixel(0, 0), project.palette().colorAt(borders.at(frame)));
        }

        QTemporaryDir cancelled;
        WorkstageFrameJob plain = job;
        plain.folder = cancelled.path();
        plain.includeBorders = false;
        const WorkstageFramesResult stopped
            = writeWorkstageFrames(replayer, plain, [](int done, int) { return done < 2; });
        QVERIFY(stopped.cancelled);
        QCOMPARE(stopped.written, 2);
        QCOMPARE(QDir(cancelled.path()).entryList(QDir::Files),
            (QStringList {"lapse-000000.png", "lapse-000001.png"}));
        QCOMPARE(QImage(cancelled.filePath("lapse-000001.png")).size(), project.size());
    }
};

QTEST_GUILESS_MAIN(TestWorkstageReplay)
#include "tst_workstage_replay.moc"
