// Every file the editor and kromel-cli write, written where the disk takes only part of
// it (a file-size limit stands in for a full disk or a quota): the write must fail with
// the system's reason, keep the old file byte for byte and leave no temporary file.
#include "document/project.h"
#include "formats/atomic_file_write.h"
#include "formats/image/canvas_export_image.h"
#include "formats/image/workstage_frames.h"
#include "formats/native/native_image_export.h"
#include "formats/project/project_file_writer.h"

#include "support/file_size_limit.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Writes into the folder it is given; names the file it writes there.
struct Writer {
    QString target;
    std::function<WriteOutcome(const QString& folder)> write;
};

// A canvas of random colours: its files do not compress, so their size is known to be
// large (beyond the file's write buffer) or small as a row needs.
Project noisyProject(CanvasMode mode)
{
    Project project(mode);
    QRandomGenerator random(24);
    Colormap& pixels = project.colormap();
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x)
            pixels.setPixel(x, y, uchar(random.bounded(16)));
    }
    return project;
}

} // namespace

Q_DECLARE_METATYPE(Writer)

class TestAtomicFileWrite : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutShortWritesFailAndKeepTheOldFile_data()
    {
        QTest::addColumn<Writer>("writer");
        const auto project = [](const QString& folder, const Project& document) {
            const ProjectFileResult result = saveProjectFile(document, folder + "/art.krm", {});
            return WriteOutcome {result.ok, result.error};
        };
        // All but the last block stays in the file's buffer until the commit.
        QTest::newRow("small project")
            << Writer {"art.krm", [project](const QString& folder) { return project(folder, Project()); }};
        QTest::newRow("large project") << Writer {"art.krm",
            [project](const QString& folder) { return project(folder, noisyProject(CanvasMode::Hires)); }};
        QTest::newRow("Koala Painter picture")
            << Writer {"art.koa", [](const QString& folder) {
                           const NativeImageExportResult result = writeNativeImageFiles(
                               noisyProject(CanvasMode::Multicolor), folder + "/art.koa");
                           return WriteOutcome {result.ok, result.error};
                       }};
        const auto program = [](qsizetype size) {
            return Writer {"art.prg", [size](const QString& folder) {
                               QString error;
                               const bool ok
                                   = writeFileAtomically(folder + "/art.prg", QByteArray(size, 'p'), &error);
                               return WriteOutcome {ok, error};
                           }};
        };
        QTest::newRow("program") << program(15874);
        QTest::newRow("large program") << program(100000);
        const auto image = [](const Project& project, bool frame, const QByteArray& format) {
            const QString name = QStringLiteral("art.") + QString::fromLatin1(format);
            return Writer {
                name, [=](const QString& folder) {
                    QString error;
                    const QImage canvas = canvasExportImage(project, Palette(), frame);
                    return WriteOutcome {writeImageFile(canvas, folder + '/' + name, format, &error), error};
                }};
        };
        QTest::newRow("modern image") << image(noisyProject(CanvasMode::Hires), true, "png");
        QTest::newRow("small modern image") << image(Project(CanvasMode::Hires, 16, 8), false, "bmp");
        QTest::newRow("workstage frames") << Writer {
            "art-000000.png", [](const QString& folder) {
                Project project = noisyProject(CanvasMode::Multicolor);
                project.clearCanvas(3);
                WorkstageReplayer replayer(project.colormap(), project.history(), workstageColorsOf(project));
                const WorkstageFramesResult result = writeWorkstageFrames(replayer,
                    workstageFrameJob(project, 2, WorkstageReduction::Uniform, true, folder, "art"), {});
                return WriteOutcome {result.ok(), result.error};
            }};
    }

    void cutShortWritesFailAndKeepTheOldFile()
    {
        QFETCH(Writer, writer);
        // Written once unhindered, to learn the new file's size; the limit then cuts the
        // write at half of it.
        QTemporaryDir scratch;
        const WriteOutcome unhindered = writer.write(scratch.path());
        QVERIFY2(unhindered.ok, qPrintable(unhindered.message));
        const qint64 newSize = QFile(scratch.filePath(writer.target)).size();
        QVERIFY(newSize > 64);

        QTemporaryDir dir;
        const QString target = dir.filePath(writer.target);
        const QByteArray old = QByteArray("the picture saved yesterday\n").repeated(8);
        QFile oldFile(target);
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == old.size());
        oldFile.close();

        const WriteOutcome outcome
            = runWithFileSizeLimit(newSize / 2, [&] { return writer.write(dir.path()); });
        QVERIFY2(!outcome.ok, "a write cut short was reported as a success");
        QVERIFY2(outcome.message.contains(fileTooLargeText()), qPrintable(outcome.message));
        QCOMPARE(fileBytes(target), old);
        QCOMPARE(folderEntries(dir.path()), QStringList {writer.target});
    }
};

QTEST_GUILESS_MAIN(TestAtomicFileWrite)
#include "tst_atomic_file_write.moc"
