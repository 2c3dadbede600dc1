#pragma once

#include "model/colormap.h"

#include <random>

// A canvas of uniformly random colour indices: the worst case for every colour rule,
// since nearly every cell holds far more colours than it may.
inline Colormap noiseCanvas(int width, int height, unsigned seed)
{
    Colormap map(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        uchar* row = map.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = uchar(random() & 15);
    }
    return map;
}
