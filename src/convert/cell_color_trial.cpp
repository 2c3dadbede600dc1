#include "convert/cell_color_trial.h"

#include "convert/dither_kernel.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int maxCell = 8;
// The cell with two pixels of its surroundings on every side: a 3 x 3 blur centred on
// the ring around the cell reaches that far.
constexpr int gridSize = maxCell + 4;

// Per pixel of the cell and its surroundings, the shown colour minus the picture in the
// match space; zero where nothing is decided yet.
struct ErrorGrid {
    std::array<float, gridSize * gridSize * 3> values {};

    float* at(int gx, int gy) { return values.data() + (gy * gridSize + gx) * 3; }
    const float* at(int gx, int gy) const { return values.data() + (gy * gridSize + gx) * 3; }
};

// The surroundings that are decided already: rows above the cell and, beside the cell,
// columns of the same region to its left.
ErrorGrid surroundingErrors(const CellTrialCanvas& canvas, const QRect& cell)
{
    ErrorGrid grid;
    const int width = canvas.canvas.width();
    const int height = canvas.canvas.height();
    for (int gy = 0; gy < cell.height() + 4; ++gy) {
        const int y = cell.top() - 2 + gy;
        if (y < 0 || y >= height || y > cell.bottom())
            continue;
        for (int gx = 0; gx < cell.width() + 4; ++gx) {
            const int x = cell.left() - 2 + gx;
            if (x < 0 || x >= width)
                continue;
            const bool decided = y < cell.top() || (x < cell.left() && x >= canvas.regionLeft);
            if (!decided)
                continue;
            const MatchSpace::Point& shown = canvas.space.color(canvas.canvas.pixel(x, y));
            const float* picture
                = canvas.points.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
            float* error = grid.at(gx, gy);
            for (int c = 0; c < 3; ++c)
                error[c] = shown[std::size_t(c)] - picture[c];
        }
    }
    return grid;
}

// What the eye sees of the errors: the squared 3 x 3 box sums over the windows centred on
// the cell and on the decided ring above and left of it. A multicolor pixel is two display
// pixels wide, so there a window centred on a pixel is two windows on the display, each
// taking the pixel twice and one neighbour.
template <bool Multicolor> float blurredError(const ErrorGrid& grid, const QRect& cell)
{
    const int columns = cell.width() + 4;
    const int rows = cell.height() + 4;
    // Vertical sums for the window rows, over every column.
    std::array<float, gridSize * gridSize * 3> vertical;
    for (int gy = 1; gy < rows - 1; ++gy) {
        for (int gx = 0; gx < columns; ++gx) {
            const float* above = grid.at(gx, gy - 1);
            const float* middle = grid.at(gx, gy);
            const float* below = grid.at(gx, gy + 1);
            float* sum = vertical.data() + (gy * gridSize + gx) * 3;
            for (int c = 0; c < 3; ++c)
                sum[c] = above[c] + middle[c] + below[c];
        }
    }
    float total = 0.0f;
    // Windows centred below or right of the cell would mostly see pixels not decided yet.
    for (int gy = 1; gy < rows - 2; ++gy) {
        const float* line = vertical.data() + gy * gridSize * 3;
        for (int gx = 1; gx < columns - 2; ++gx) {
            const float* left = line + (gx - 1) * 3;
            const float* middle = line + gx * 3;
            const float* right = line + (gx + 1) * 3;
            for (int c = 0; c < 3; ++c) {
                if constexpr (Multicolor) {
                    const float first = left[c] + 2.0f * middle[c];
                    const float second = 2.0f * middle[c] + right[c];
                    total += first * first + second * second;
                } else {
                    const float sum = left[c] + middle[c] + right[c];
                    total += sum * sum;
                }
            }
        }
    }
    return total;
}

using CellValues = std::array<float, maxCell * maxCell * 3>;

// The cell's work values with what the cell on its left passed on, read once for all trials.
CellValues startingValues(const CellTrialCanvas& canvas, const QRect& cell, const CellCarry& carryIn)
{
    const int width = canvas.canvas.width();
    CellValues values {};
    for (int i = 0; i < cell.height(); ++i) {
        const double* source = canvas.work.data()
            + (std::size_t(cell.top() + i) * std::size_t(width) + std::size_t(cell.left())) * 3;
        float* row = values.data() + i * maxCell * 3;
        for (int k = 0; k < cell.width() * 3; ++k)
            row[k] = float(source[k]);
        for (int c = 0; c < 3; ++c)
            row[c] += carryIn.error[std::size_t(i * 3 + c)];
    }
    return values;
}

template <DitherMethod Dither>
void ditherCell(const CellTrialCanvas& canvas, const QRect& cell, CellValues values, const CellColorSet& set,
    std::array<uchar, 64>& pixels, CellCarry& carryOut)
{
    const int w = cell.width();
    const int h = cell.height();
    carryOut = CellCarry();
    for (int i = 0; i < h; ++i) {
        const int y = cell.top() + i;
        for (int j = 0; j < w; ++j) {
            const int x = cell.left() + j;
            float* pixel = values.data() + (i * maxCell + j) * 3;
            float r = pixel[0];
            float g = pixel[1];
            float b = pixel[2];
            ditherInput<Dither == DitherMethod::Ordered>(r, g, b, x, y);
            const MatchSpace::Point point = canvas.space.point(r, g, b);
            int index = set.colors[0];
            float best = MatchSpace::distanceSq(point, canvas.space.color(index));
            for (int s = 1; s < set.count; ++s) {
                const int color = set.colors[std::size_t(s)];
                const float distance = MatchSpace::distanceSq(point, canvas.space.color(color));
                if (distance < best) {
                    best = distance;
                    index = color;
                }
            }
            pixels[std::size_t(i * maxCell + j)] = uchar(index);
            if constexpr (Dither == DitherMethod::ErrorDiffusion) {
                const QRgb chosen = canvas.space.rgb(index);
                const float error[3]
                    = {r - float(qRed(chosen)), g - float(qGreen(chosen)), b - float(qBlue(chosen))};
                const bool lastRow = i + 1 == h;
                for (int c = 0; c < 3; ++c) {
                    if (j + 1 < w)
                        pixel[3 + c] += error[c] * float(diffuseRight);
                    else
                        carryOut.error[std::size_t(i * 3 + c)] += error[c] * float(diffuseRight);
                    if (lastRow)
                        continue;
                    float* under = pixel + maxCell * 3 + c;
                    if (j > 0)
                        under[-3] += error[c] * float(diffuseBelowLeft);
                    under[0] += error[c] * float(diffuseBelow);
                    if (j + 1 < w)
                        under[3] += error[c] * float(diffuseBelowRight);
                    else
                        carryOut.error[std::size_t((i + 1) * 3 + c)] += error[c] * float(diffuseBelowRight);
                }
            }
        }
    }
}

} // namespace

CellTrialResult tryCellColorSets(const CellTrialCanvas& canvas, const QRect& cell, const CellCarry& carry,
    const std::vector<CellColorSet>& sets)
{
    const int width = canvas.canvas.width();
    ErrorGrid grid = surroundingErrors(canvas, cell);
    const CellValues start = startingValues(canvas, cell, carry);
    CellTrialResult best;
    float bestError = std::numeric_limits<float>::max();
    CellTrialResult trial;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        switch (canvas.dither) {
        case DitherMethod::ErrorDiffusion:
            ditherCell<DitherMethod::ErrorDiffusion>(canvas, cell, start, sets[s], trial.pixels, trial.carry);
            break;
        case DitherMethod::Ordered:
            ditherCell<DitherMethod::Ordered>(canvas, cell, start, sets[s], trial.pixels, trial.carry);
            break;
        case DitherMethod::None:
            ditherCell<DitherMethod::None>(canvas, cell, start, sets[s], trial.pixels, trial.carry);
            break;
        }
        if (sets.size() == 1)
            return {0, trial.pixels, trial.carry};
        for (int i = 0; i < cell.height(); ++i) {
            const int y = cell.top() + i;
            for (int j = 0; j < cell.width(); ++j) {
                const MatchSpace::Point& shown
                    = canvas.space.color(trial.pixels[std::size_t(i * maxCell + j)]);
                const float* picture = canvas.points.data()
                    + (std::size_t(y) * std::size_t(width) + std::size_t(cell.left() + j)) * 3;
                float* error = grid.at(j + 2, i + 2);
                for (int c = 0; c < 3; ++c)
                    error[c] = shown[std::size_t(c)] - picture[c];
            }
        }
        const float error
            = canvas.multicolor ? blurredError<true>(grid, cell) : blurredError<false>(grid, cell);
        if (error < bestError) {
            bestError = error;
            best = trial;
            best.chosen = int(s);
        }
    }
    return best;
}
