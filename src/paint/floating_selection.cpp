#include "paint/floating_selection.h"

#include "document/project.h"
#include "paint/selection_pixels.h"
#include "rules/clash_sweep.h"

QRect floatingSourceRect(const FloatingSelection& floating, const QRect& canvas)
{
    return floating.vacated.boundingRect() & canvas;
}

QRect floatingDestinationRect(const FloatingSelection& floating, const QRect& canvas)
{
    return floating.region.boundingRect().translated(floating.offset) & canvas;
}

QRect applyFloatingSelection(Colormap& colormap, const FloatingSelection& floating, const PaintRules& rules,
    const BeforeFillPaint& before)
{
    const QRect source = floatingSourceRect(floating, colormap.rect());
    const QRect destination = floatingDestinationRect(floating, colormap.rect());
    if (before) {
        // The sweep afterwards may recolour whole cells and sprite units around both.
        if (!source.isEmpty())
            before(source, true);
        if (!destination.isEmpty())
            before(destination, true);
    }
    QRect changed;
    if (floating.lifted())
        changed = fillSelectionPixels(colormap, floating.vacated, floating.blank, rules.lockedRects);
    changed |= pasteSelectionPixels(colormap, floating.region, floating.pixels, floating.offset,
        floating.transparent, floating.blank, rules.lockedRects);
    if (changed.isEmpty())
        return {};
    // Moved content brings its own colours into cells that hold others; the sweep merges
    // each clashing cell and sprite down to what the machine can show, as any paste must.
    ClashContext context = rules.context;
    context.paintIndex = floating.blank;
    for (const QRect& rect : {source, destination}) {
        if (!rect.isEmpty())
            changed |= resolveExistingClashes(context, colormap, rect);
    }
    return changed;
}

QRect simulateFloatingSelection(
    const Project& project, Colormap& simulation, const FloatingSelection& floating)
{
    const Colormap& document = project.colormap();
    if (simulation.size() != document.size()) {
        simulation = document;
    } else {
        // Whatever an earlier preview left elsewhere is never read, and never shown: the
        // preview only draws where this one changed pixels.
        for (const QRect& rect : {floatingSourceRect(floating, document.rect()),
                 floatingDestinationRect(floating, document.rect())}) {
            if (!rect.isEmpty())
                simulation.copyArea(document, paintReachExtent(project, rect, true));
        }
    }
    return applyFloatingSelection(simulation, floating, paintRulesFor(project), {});
}
