#pragma once

#include "rules/clash_context.h"

#include <QRect>

class Colormap;

// How the sweep settles a unit with too many colours. Every caller uses KeepMostUsed.
enum class SweepClashStrategy : qint32 {
    // The most-used colours survive; each other colour becomes the survivor nearest to it.
    KeepMostUsed = 0,
};

// Makes every char cell and sprite unit touched by `rect` legal: a unit with more colours
// of its own than it may show keeps its most-used ones, and every colour that has to go is
// replaced throughout the unit by the surviving colour nearest to it in RGB (in the
// context's palette variant). Only mode, slots, layout and paletteVariant of the context
// count. Units are always swept whole, even where they reach beyond `rect`. Returns the
// union of the units changed, or a null rectangle when nothing was over its limit.
QRect resolveExistingClashes(const ClashContext& ctx, Colormap& canvas, const QRect& rect,
    SweepClashStrategy strategy = SweepClashStrategy::KeepMostUsed);
