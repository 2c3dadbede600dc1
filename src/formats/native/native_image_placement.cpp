#include "formats/native/native_image_placement.h"

#include "formats/native/native_image_colormap.h"
#include "model/canvas_region.h"

#include <algorithm>

QRect placeNativeImage(const NativeImage& image, Colormap& target, CanvasMode mode,
    const CanvasLayoutSpec& layout, int screenIndex)
{
    // A negative screen would start left of the bitmap, over a sprite strip.
    if (screenIndex < 0)
        return {};
    const QRect bitmap = canvasBitmapRect(mode, target.size(), layout) & target.rect();
    if (bitmap.isEmpty())
        return {};
    const Colormap picture = nativeImageToColormap(image);
    const int offset = screenIndex * canvasModeScreenWidth(mode);
    const QRect area(bitmap.left() + offset, bitmap.top(), std::min(bitmap.width() - offset, picture.width()),
        std::min(bitmap.height(), picture.height()));
    if (area.width() < 1 || area.height() < 1)
        return {};
    for (int y = 0; y < area.height(); ++y)
        std::copy_n(picture.scanLine(y), area.width(), target.scanLine(area.top() + y) + area.left());
    return area;
}
