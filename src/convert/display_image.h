#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include <array>

// An image brought to exactly `size` (premultiplied ARGB32), over `background`: stretched
// over the whole area, or with keepAspect scaled to the largest size that fits and
// centred, the leftover area in the background colour. `smooth` scales bilinearly.
QImage composeImageToDisplaySize(
    const QImage& image, const QSize& size, bool keepAspect, const QColor& background, bool smooth);

// How many pixels have each value of red, green and blue, in that order.
using ChannelHistograms = std::array<std::array<int, 256>, 3>;
ChannelHistograms imageChannelHistograms(const QImage& image);
