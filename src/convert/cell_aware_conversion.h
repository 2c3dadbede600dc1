#pragma once

#include "convert/cell_color_search.h"
#include "convert/image_conversion.h"
#include "convert/match_space.h"

#include <QRect>

#include <vector>

// The picture as each pixel's position in the match space, computed once: the colour
// choices of cells, units and backgrounds all measure against it.
std::vector<float> matchSpacePoints(const std::vector<double>& work, const MatchSpace& space);

// What a rectangle's pixels cost with each colour and pair of colours, for the colour
// searches; `dithered` weighs pairs as mixes (see UnitCosts). The candidates are the
// colours of `keep` and those among the four nearest of some pixel.
void gatherUnitCosts(const std::vector<float>& points, int canvasWidth, const QRect& unit,
    const MatchSpace& space, bool dithered, quint16 keep, UnitCosts& out);

// The cell-aware method over sampled work values (red, green, blue per canvas pixel, row
// by row): every bitmap cell and sprite unit chooses its colours, then each pixel is
// dithered among its own cell's or unit's colours only. Sprite units choose from the
// picture alone; bitmap cells choose as the dither reaches their row, by trying their best
// few sets with the error already passed into them (see tryCellColorSets). Locked border pixels hold the
// border colour and pass no error on. `settings.slots` are final here; automatic colours
// are chosen before.
Colormap convertCellAware(const std::vector<double>& work, const std::vector<float>& points,
    const QSize& canvasSize, const ImageConversionSettings& settings, const MatchSpace& space);
