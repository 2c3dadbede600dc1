// Feeds arbitrary text to the tone curves reader. Besides crashes and memory errors it
// checks what must hold for every file the reader accepts: each curve keeps the points
// it was given, the table passes through them, and writing the curves out again in the
// file's own form reads back to the same curves.
#include "convert/adjustment_curves_file.h"

#include "fuzz_checks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace {

QString curvesText(const ImageAdjustment& adjustment)
{
    static const char* const names[adjustmentChannelCount] = {"rgb", "r", "g", "b"};
    QStringList lines;
    for (int channel = 0; channel < adjustmentChannelCount; ++channel) {
        QStringList words {QString::fromLatin1(names[channel])};
        for (const QPoint& knot : adjustment.curve(AdjustmentChannel(channel)).knots)
            words << QStringLiteral("%1,%2").arg(knot.x()).arg(knot.y());
        lines << words.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const AdjustmentCurvesResult parsed = parseAdjustmentCurves(text);
    if (!parsed.ok) {
        require(parsed.error.startsWith(QLatin1String("line ")));
        return 0;
    }
    require(parsed.error.isEmpty());
    for (int channel = 0; channel < adjustmentChannelCount; ++channel) {
        const AdjustmentCurve& curve = parsed.adjustment.curve(AdjustmentChannel(channel));
        require(curve.knots.size() >= 2 && curve.knots.size() <= adjustmentCurveMaxKnots);
        require(curve.knots.constFirst().x() == 0 && curve.knots.constLast().x() == 255);
        // The spline meets every point exactly; only between them may it overshoot.
        for (const QPoint& knot : curve.knots)
            require(curve.lookup[std::size_t(knot.x())] == knot.y());
    }

    const AdjustmentCurvesResult reread = parseAdjustmentCurves(curvesText(parsed.adjustment));
    require(reread.ok);
    for (int channel = 0; channel < adjustmentChannelCount; ++channel) {
        const AdjustmentChannel c = AdjustmentChannel(channel);
        require(reread.adjustment.curve(c).knots == parsed.adjustment.curve(c).knots);
        require(reread.adjustment.lookup(c) == parsed.adjustment.lookup(c));
    }
    return 0;
}
