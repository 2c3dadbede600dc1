// Measures how close converted pictures stay to their source: for three drawn test
// pictures and any photographs named after the folder, each method, canvas mode and
// dither, the PSNR of the finished conversion after a 3 x 3 box blur (the eye mixes
// dithered pixels much as the blur does), with the classic method's plain nearest
// colours before the clash sweep beside it. Prints a Markdown table and writes the test
// pictures as PNGs into the folder given, for trying them in the editor.
//
//   kromel-conversion-quality FOLDER [PHOTO...]
#include "synthetic_images.h"

#include "convert/image_adjustment.h"
#include "convert/image_conversion.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
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
    const QStringList arguments = app.arguments();
    const QString folder = arguments.value(1, QStringLiteral("."));
    QDir().mkpath(folder);
    struct Picture {
        QString name;
        QImage image;
        bool drawn = true;
    };
    const QSize displaySize(320, 200);
    QList<Picture> pictures {{QStringLiteral("gradient"), smoothGradientImage(displaySize)},
        {QStringLiteral("color-wheel"), colorWheelImage(displaySize)},
        {QStringLiteral("scene"), detailedSceneImage(displaySize)}};
    for (const QString& path : arguments.mid(2)) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage photo = reader.read();
        if (photo.isNull()) {
            QTextStream(stderr) << "Could not load " << path << ": " << reader.errorString() << "\n";
            return 1;
        }
        // Photographs fill the screen, cropped rather than letter-boxed, as an artist would.
        const QImage scaled
            = photo.scaled(displaySize, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        const QRect crop(
            QPoint((scaled.width() - displaySize.width()) / 2, (scaled.height() - displaySize.height()) / 2),
            displaySize);
        pictures.append({QFileInfo(path).completeBaseName(),
            scaled.copy(crop).convertToFormat(QImage::Format_RGB32), false});
    }
    const QList<QPair<DitherMethod, const char*>> dithers {{DitherMethod::None, "None"},
        {DitherMethod::Ordered, "Ordered"}, {DitherMethod::ErrorDiffusion, "Error Diffusion"}};
    const QList<QPair<ConversionMethod, const char*>> methods {
        {ConversionMethod::Classic, "Classic"}, {ConversionMethod::CellAware, "Cell-aware"}};

    out << "| Picture | Mode | Dither | Classic (dB) | Cell-aware (dB) | Cell-aware, automatic background "
           "(dB) "
           "| Gain (dB) | Classic nearest colours, no sweep (dB) |\n"
        << "|---|---|---|---|---|---|---|---|\n";
    for (const Picture& picture : pictures) {
        if (picture.drawn)
            picture.image.save(QDir(folder).filePath(picture.name + ".png"));
        const QImage reference = boxBlurred(picture.image);
        for (CanvasMode mode : {CanvasMode::Hires, CanvasMode::Multicolor}) {
            const QSize canvasSize(canvasModeScreenWidth(mode), 200);
            for (const auto& [dither, ditherName] : dithers) {
                ImageConversionSettings settings;
                settings.mode = mode;
                settings.dither = dither;
                const ImageAdjustment identity;
                const auto measured = [&](const ImageConversionSettings& chosen) {
                    const Colormap converted = convertImage(picture.image, canvasSize, identity, chosen);
                    return psnr(reference, boxBlurred(displayed(converted, chosen, displaySize)));
                };
                double results[2] = {};
                for (int m = 0; m < 2; ++m) {
                    settings.method = methods[m].first;
                    results[m] = measured(settings);
                }
                // A hires bitmap has no background to search.
                QString automatic = QStringLiteral("-");
                if (isMulticolor(mode)) {
                    settings.automaticBackground = true;
                    automatic = QString::number(measured(settings), 'f', 2);
                    settings.automaticBackground = false;
                }
                settings.method = ConversionMethod::Classic;
                const Colormap nearest = convertImageUnswept(picture.image, canvasSize, identity, settings);
                out << "| " << picture.name << " | " << (isMulticolor(mode) ? "multicolor" : "hires") << " | "
                    << ditherName << " | " << QString::number(results[0], 'f', 2) << " | "
                    << QString::number(results[1], 'f', 2) << " | " << automatic << " | "
                    << QString::number(results[1] - results[0], 'f', 2) << " | "
                    << QString::number(
                           psnr(reference, boxBlurred(displayed(nearest, settings, displaySize))), 'f', 2)
                    << " |\n";
            }
        }
    }
    return 0;
}
