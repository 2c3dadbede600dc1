// Feeds arbitrary bytes to the project reader and the preview reader. Besides crashes and
// memory errors it checks what must hold for every file the reader accepts: the preview
// shows the canvas the project opens with, saving it and reading that back gives a file
// that saves to the same bytes, undoing and redoing its whole history stays inside the
// canvas, and the time-lapse replay starts from what undoing everything shows and ends
// on the pixels that redoing it gives.
//
// Inflating the canvas is most of the cost of an input, so it happens once per input
// where that can be helped. The preview reader runs on its own for files the project
// reader refuses, where a broken history behind a sound state record leaves it work to
// do; but every mutation of such a history would inflate the same canvas again, so a hash
// of the input lets one refused file in four through. For accepted files the hash picks
// which of the preview comparison and the save round trip run, so each is reached evenly
// without every run paying for both.
#include "document/project.h"
#include "formats/image/workstage_frames.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "formats/project/project_preview.h"
#include "model/workstage_replayer.h"

#include "fuzz_checks.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Damaged crops are logged as warnings; a fuzzer makes thousands of them.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

bool preview(const QByteArray& bytes, ProjectFilePreview* preview)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const bool read = readProjectFilePreview(&buffer, preview, &error);
    require(read == error.isEmpty());
    return read;
}

QByteArray saved(const Project& project)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    require(saveProjectFile(project, &buffer, {}).ok);
    return buffer.data();
}

bool load(const QByteArray& bytes, Project* project)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return loadProjectFile(&buffer, project, {}).ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        qInstallMessageHandler(quietMessages);
        return true;
    }();
    (void)installed;

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const quint32 selector = fuzzInputHash(data, size);
    Project project;
    if (!load(bytes, &project)) {
        if (selector % 4 == 0) {
            ProjectFilePreview ignored;
            preview(bytes, &ignored);
        }
        return 0;
    }

    if ((selector >> 16) % 4 == 0) {
        ProjectFilePreview shown;
        require(preview(bytes, &shown));
        require(shown.mode == project.mode() && shown.colormap == project.colormap());
    }
    if ((selector >> 24) % 4 == 0) {
        const QByteArray first = saved(project);
        Project reloaded;
        require(load(first, &reloaded) && saved(reloaded) == first);
    }

    // The replayer reads the history in place, so it runs before the undo below moves
    // it. Its first stage must be what undoing everything gives. On the way forward it
    // writes the after crops as redo does but restores the colours the rewind found, so
    // its last stage has the pixels of redoing up to the loaded entry and the loaded
    // colours. The two tell apart only a file whose history disagrees with its canvas.
    struct Stage {
        Colormap colormap;
        WorkstageColors colors;
    };
    std::optional<Stage> firstStage;
    std::optional<Stage> lastStage;
    if ((selector >> 8) % 4 == 0) {
        const WorkstageColors loadedColors = workstageColorsOf(project);
        WorkstageReplayer replayer(project.colormap(), project.history(), loadedColors);
        firstStage = Stage {replayer.colormapAt(0), replayer.colorsAt(0)};
        const int last = replayer.stageCount() - 1;
        lastStage = Stage {replayer.colormapAt(last), replayer.colorsAt(last)};
        require(lastStage->colors == loadedColors);
    }

    // The replay's last stage is the loaded one: the redo tail is not part of it.
    const int loadedIndex = project.history().index();
    while (project.history().canUndo())
        project.undo();
    if (firstStage)
        require(project.colormap() == firstStage->colormap && workstageColorsOf(project) == firstStage->colors);
    while (project.history().index() < loadedIndex && project.history().canRedo())
        project.redo();
    if (lastStage)
        require(project.colormap() == lastStage->colormap);
    while (project.history().canRedo())
        project.redo();
    return 0;
}
