#include "formats/native/native_image_import.h"

#include "document/project.h"
#include "formats/native/native_image.h"
#include "formats/native/native_image_placement.h"

QString nativeImageModeMismatch(NativeImageFormat format, CanvasMode canvasMode)
{
    const CanvasMode formatMode = nativeImageFormatMode(format);
    if (isMulticolor(formatMode) == isMulticolor(canvasMode))
        return {};
    const QString text = isMulticolor(formatMode)
        ? QStringLiteral("%1 is a multicolor format; this canvas is hires.")
        : QStringLiteral("%1 is a hires format; this canvas is multicolor.");
    return text.arg(nativeImageFormatName(format));
}

NativeImageImportResult importNativeImage(Project& project, const NativeImage& image, int targetScreen)
{
    const QString mismatch = nativeImageModeMismatch(image.format, project.mode());
    if (!mismatch.isEmpty())
        return {false, mismatch, {}};
    if (targetScreen < 0 || targetScreen >= project.screensAcross())
        return {false, QStringLiteral("The canvas has no screen %1.").arg(targetScreen + 1), {}};

    Colormap canvas = project.colormap();
    placeNativeImage(image, canvas, project.mode(), project.layout(), targetScreen);
    // A hires picture's 0 bits come from screen RAM like its 1 bits, so the file's
    // background byte (if any) shows nowhere; only multicolor pictures bring one.
    const uchar background
        = isMulticolor(project.mode()) ? image.background : project.slotIndex(HistoryColorSlot::Background);
    const uchar border = image.hasBorder ? image.border : project.slotIndex(HistoryColorSlot::Border);
    // The sweep only runs when the picture joins artwork on another screen and keeps that
    // artwork's colours: then its own background pixels compete as a fourth colour.
    const QRect changed = project.applyImageImport(canvas, background, border, targetScreen, true);
    return {true, {}, changed};
}
