// Measures how close converted pictures stay to their source: for three drawn test
// pictures, each canvas mode and each dither, the PSNR of the finished conversion and of
// the plain nearest colours before the clash sweep, both after a 3 x 3 box blur (the eye
// mixes dithered pixels much as the blur does). Prints a Markdown table and writes the
// test pictures as PNGs into the folder given, for trying them in the editor.
#include "synthetic_images.h"

#include "convert/image_adjustment.h"
#include "convert/image_conversion.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <cmath>

namespace {

QImage boxBlurred(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QImage blurred(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int sum[3] = {};
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb p = image.pixel(
                        std::clamp(x + dx, 0, image.width() - 1), std::clamp(y + dy, 0, image.height() - 1));
                    sum[0] += qRed(p);
                    sum[1] += qGreen(p);
                    sum[2] += qBlue(p);
                }
            }
            blurred.setPixel(x, y, qRgb((sum[0] + 4) / 9, (sum[1] + 4) / 9, (sum[2] + 4) / 9));
        }
    }
    return blurred;
}

double psnr(const QImage& a, const QImage& b)
{
    double squared = 0.0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                squared += double(d) * d;
        }
    }
    const double mse = squared / (3.0 * a.width() * a.height());
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// The canvas as the C64 shows it, at the display size of the source.
QImage displayed(const Colormap& canvas, const ImageConversionSettings& settings, const QSize& displaySize)
{
    return canvas.toImage(Palette(settings.paletteVariant)).scaled(displaySize);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QString folder = app.arguments().value(1, QStringLiteral("."));
    QDir().mkpath(folder);
    struct Picture {
        const char* name;
        QImage image;
    };
    const QSize displaySize(320, 200);
    const QList<Picture> pictures {{"gradient", smoothGradientImage(displaySize)},
        {"color-wheel", colorWheelImage(displaySize)}, {"scene", detailedSceneImage(displaySize)}};
    const QList<QPair<DitherMethod, const char*>> dithers {{DitherMethod::None, "None"},
        {DitherMethod::Ordered, "Ordered"}, {DitherMethod::ErrorDiffusion, "Error Diffusion"}};

    out << "| Picture | Mode | Dither | PSNR converted (dB) | PSNR nearest colours, no sweep (dB) |\n"
        << "|---|---|---|---|---|\n";
    for (const Picture& picture : pictures) {
        picture.image.save(QDir(folder).filePath(QString::fromLatin1(picture.name) + ".png"));
        const QImage reference = boxBlurred(picture.image);
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            const QSize canvasSize(canvasModeScreenWidth(mode), 200);
            for (const auto& [dither, ditherName] : dithers) {
                ImageConversionSettings settings;
                settings.mode = mode;
                settings.dither = dither;
                const ImageAdjustment identity;
                const Colormap converted = convertImage(picture.image, canvasSize, identity, settings);
                const Colormap nearest = convertImageUnswept(picture.image, canvasSize, identity, settings);
                out << "| " << picture.name << " | " << (isMulticolor(mode) ? "multicolor" : "hires") << " | "
                    << ditherName << " | "
                    << QString::number(
                           psnr(reference, boxBlurred(displayed(converted, settings, displaySize))), 'f', 2)
                    << " | "
                    << QString::number(
                           psnr(reference, boxBlurred(displayed(nearest, settings, displaySize))), 'f', 2)
                    << " |\n";
            }
        }
    }
    return 0;
}
