#include "convert/image_sampling.h"

ComponentTables::ComponentTables(const ImageAdjustment& adjustment)
{
    constexpr std::array<AdjustmentChannel, 3> channels {
        AdjustmentChannel::Red, AdjustmentChannel::Green, AdjustmentChannel::Blue};
    for (std::size_t c = 0; c < channels.size(); ++c) {
        for (int v = 0; v < 256; ++v)
            tables[c][std::size_t(v)] = adjustment.adjustComponent(channels[c], uchar(v));
    }
}

void sampleRow(const QImage& source, int y, bool pairs, const ComponentTables& curves, double* out, int width)
{
    const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    const AdjustmentLookup& red = curves.tables[0];
    const AdjustmentLookup& green = curves.tables[1];
    const AdjustmentLookup& blue = curves.tables[2];
    for (int x = 0; x < width; ++x) {
        int r, g, b;
        if (pairs) {
            const QRgb left = row[2 * x];
            const QRgb right = row[2 * x + 1];
            r = (qRed(left) + qRed(right)) / 2;
            g = (qGreen(left) + qGreen(right)) / 2;
            b = (qBlue(left) + qBlue(right)) / 2;
        } else {
            r = qRed(row[x]);
            g = qGreen(row[x]);
            b = qBlue(row[x]);
        }
        out[3 * x] = red[std::size_t(r)];
        out[3 * x + 1] = green[std::size_t(g)];
        out[3 * x + 2] = blue[std::size_t(b)];
    }
}

std::vector<double> sampleImage(
    const QImage& source, bool pairs, const ComponentTables& curves, int width, int height)
{
    std::vector<double> work(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        sampleRow(source, y, pairs, curves, work.data() + std::size_t(y) * std::size_t(width) * 3, width);
    return work;
}
