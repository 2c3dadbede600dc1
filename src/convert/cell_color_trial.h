#pragma once

#include "convert/image_conversion.h"
#include "convert/match_space.h"

#include <QRect>

#include <array>
#include <vector>

// Choosing a bitmap cell's colours by trying the best few sets the cost model ranks: the
// cell is dithered with each, starting from the error its neighbours have already passed
// into it, and the set whose result, blurred as the eye blurs dithered pixels, stays
// closest to the picture wins. The cost model alone measures every pixel against the
// picture as it was, so it cannot see what the dither does to a cell nor what error
// arrives from the cells before it.

// Error passed on from one cell to the next one on its right: per row of the cell, red,
// green and blue.
struct CellCarry {
    static constexpr int maxRows = 8;
    std::array<float, maxRows * 3> error {};
};

// A colour set one cell may show.
struct CellColorSet {
    std::array<uchar, 4> colors {};
    int count = 0;
};

// What a trial reads: the work values as the dither has left them so far (rows above the
// cell row finished), the picture itself in the match space, and the canvas with every
// pixel above the cell row and every cell to the cell's left (from `regionLeft` on) set.
struct CellTrialCanvas {
    const std::vector<double>& work;
    const std::vector<float>& points;
    const Colormap& canvas;
    const MatchSpace& space;
    DitherMethod dither = DitherMethod::None;
    bool multicolor = false;
    int regionLeft = 0;
};

struct CellTrialResult {
    int chosen = 0;
    std::array<uchar, 64> pixels {};
    CellCarry carry;
};

// Tries every set of `sets` (at least one) on `cell` (at most 8 x 8), `carry` holding what
// the cell on the left passed on, and returns the best with its pixels, row by row, and
// what it passes on. On equal results the earlier set wins.
CellTrialResult tryCellColorSets(const CellTrialCanvas& canvas, const QRect& cell, const CellCarry& carry,
    const std::vector<CellColorSet>& sets);
