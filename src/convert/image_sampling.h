#pragma once

#include "convert/image_adjustment.h"

#include <QImage>

#include <array>
#include <vector>

// The curves folded into one table per component, so a pixel costs three lookups.
struct ComponentTables {
    std::array<AdjustmentLookup, 3> tables {};

    explicit ComponentTables(const ImageAdjustment& adjustment);
};

// One canvas row of the source as red, green, blue work values: the display pixel, or in
// multicolor (`pairs`) the integer mean of the pair that makes one wide pixel, through
// the curves. `source` is 32-bit RGB.
void sampleRow(
    const QImage& source, int y, bool pairs, const ComponentTables& curves, double* out, int width);

// The whole canvas the same way, row after row.
std::vector<double> sampleImage(
    const QImage& source, bool pairs, const ComponentTables& curves, int width, int height);
