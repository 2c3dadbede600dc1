#pragma once

#include <QRect>
#include <QStringList>

class FootprintMask;

// A mask as rows of characters: '#' for a covered pixel, '.' for an uncovered one.
QStringList maskPicture(const FootprintMask& mask, const QRect& area);
