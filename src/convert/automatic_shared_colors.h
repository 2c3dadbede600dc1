#pragma once

#include "convert/image_conversion.h"

#include <vector>

// The shared colours that serve the picture best, chosen from the picture's positions in
// the match space (see matchSpacePoints):
// - multicolor: the background that, with the best three colours of every cell, leaves
//   the least total error over the bitmap;
// - top and bottom border strips: their background (and in multicolor their two sprite
//   multicolours) with each unit's best own colour;
// - multicolor side strips: the two sprite multicolours beside the chosen background.
// The border colour also paints the frame around the picture and stays as it is.
ColorSlots automaticSharedColors(
    const std::vector<float>& points, const QSize& canvasSize, const ImageConversionSettings& settings);
