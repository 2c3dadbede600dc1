#include "formats/prg/live_memory_image.h"

#include "formats/prg/assembled_routines.h"
#include "formats/prg/executable_prg.h"

#include <algorithm>

namespace {

constexpr int screenBytes = 1000;
constexpr int colorRamBytes = 1000;
constexpr int vicBorder = 0xD020;
constexpr int vicBackground = 0xD021;
constexpr int vicSpriteMc0 = 0xD025;
constexpr int vicSpriteMc1 = 0xD026;
constexpr int colorRam = 0xD800;

// A byte or bytes the routine copies once from the program to another address.
struct Copy {
    int to;
    int from;
    int size;
};

std::vector<Copy> startUpCopies(CanvasMode mode, CanvasLayout layout)
{
    const ExecutablePrgMemoryMap& map = executablePrgMemoryMap(CanvasLayoutSpec {layout});
    const bool multicolor = isMulticolor(mode);
    std::vector<Copy> copies;
    switch (layout) {
    case CanvasLayout::BitmapOnly:
        copies.push_back({0x0400, map.screen, screenBytes});
        if (multicolor) {
            copies.push_back({vicBorder, int(assembled::bitmap_only_multicolor::param_border), 1});
            copies.push_back({vicBackground, map.background, 1});
        } else {
            copies.push_back({vicBorder, map.colorRam, 1});
        }
        break;
    case CanvasLayout::SideBorders: {
        // Both screens carry the same colours; they differ in their sprite pointers only.
        copies.push_back({0x7400, map.screen, screenBytes});
        copies.push_back({0x7800, map.screen, screenBytes});
        const auto registers = [&](auto routine) {
            copies.push_back({vicBorder, routine.param_border, 1});
            copies.push_back({vicBackground, routine.param_background, 1});
            copies.push_back({vicSpriteMc0, routine.param_mc0, 1});
            copies.push_back({vicSpriteMc1, routine.param_mc1, 1});
        };
        if (multicolor)
            registers(assembled::side_borders_multicolor {});
        else
            registers(assembled::side_borders_hires {});
        break;
    }
    case CanvasLayout::TopBottomBorders:
        copies.push_back({0x7400, map.screen, screenBytes});
        copies.push_back({0x7800, map.screen, screenBytes});
        // $D021 and the sprite registers are reloaded from the parameters every frame, so
        // writing the parameters is enough; a direct store would only flash the border.
        copies.push_back({vicBorder,
            multicolor ? int(assembled::top_bottom_borders_multicolor::param_border)
                       : int(assembled::top_bottom_borders_hires::param_border),
            1});
        break;
    }
    if (multicolor)
        copies.push_back({colorRam, map.colorRam, colorRamBytes});
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) { return a.to < b.to; });
    return copies;
}

} // namespace

LiveMemoryImage liveMemoryImageOfProgram(const QByteArray& program, CanvasMode mode, CanvasLayout layout)
{
    LiveMemoryImage image;
    if (program.size() < 3)
        return image;
    image.mode = mode;
    image.layout = layout;
    image.program = program;
    const int load = uchar(program[0]) | uchar(program[1]) << 8;
    image.spans.reserve(8);
    image.spans.push_back({load, program.mid(2)});
    const auto byteAt = [&](int address) { return program.mid(address - load + 2, 1); };
    for (const Copy& copy : startUpCopies(mode, layout)) {
        if (copy.size == 1)
            image.spans.push_back({copy.to, byteAt(copy.from)});
        else
            image.spans.push_back({copy.to, program.mid(copy.from - load + 2, copy.size)});
    }
    return image;
}

LiveMemoryImage encodeLiveMemoryImage(const Colormap& colormap, CanvasMode mode,
    const CanvasLayoutSpec& layout, const PrgExportColors& colors, QString* error)
{
    const QByteArray program = encodeExecutablePrg(colormap, mode, layout, colors, error);
    if (program.isEmpty())
        return {};
    return liveMemoryImageOfProgram(program, mode, layout.layout);
}

bool liveMemoryWritable(const LiveMemoryImage& shown, const LiveMemoryImage& next)
{
    if (shown.isEmpty() || next.isEmpty() || shown.mode != next.mode || shown.layout != next.layout
        || shown.spans.size() != next.spans.size())
        return false;
    for (std::size_t i = 0; i < shown.spans.size(); ++i) {
        if (shown.spans[i].address != next.spans[i].address
            || shown.spans[i].bytes.size() != next.spans[i].bytes.size())
            return false;
    }
    return true;
}
