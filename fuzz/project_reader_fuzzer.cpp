// Feeds arbitrary bytes to the project reader and the preview reader. Besides crashes and
// memory errors it checks what must hold for every file the reader accepts: the preview
// shows the canvas the project opens with, saving it and reading that back gives a file
// that saves to the same bytes, and undoing and redoing its whole history stays inside
// the canvas.
//
// Inflating the canvas is most of the cost of an input, so it happens once per input
// where that can be helped. The preview reader runs on its own for files the project
// reader refuses, where a broken history behind a sound state record leaves it work to
// do; but every mutation of such a history would inflate the same canvas again, so a hash
// of the input lets one refused file in four through. For accepted files the hash picks
// which of the preview comparison and the save round trip run, so each is reached evenly
// without every run paying for both.
#include "document/project.h"
#include "formats/project/project_file_reader.h"
#include "formats/project/project_file_writer.h"
#include "formats/project/project_preview.h"

#include "fuzz_checks.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

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

    while (project.history().canUndo())
        project.undo();
    while (project.history().canRedo())
        project.redo();
    return 0;
}
